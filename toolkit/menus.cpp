// Popup menus shown at the mouse pointer.

#include "toolkit/menus.hpp"
#include "toolkit/toolkit_state.hpp"

namespace {

IdTable<MenuHolder>& MenuTable() {
  return Toolkit().menus;
}

// The popup menu created last on this thread; items are added to it.
int& CurrentPopupMenu() {
  return ThisThread().currentPopupMenu;
}

}  // namespace

int NewPopupMenu(int id) {
  if (!FreeForIdResult(MenuTable(), id)) return 0;
  HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return 0;
  const int menuId = AddForIdResult(MenuTable(), id, MenuHolder(menu));
  if (menuId == 0) return 0;
  CurrentPopupMenu() = menuId;
  return menuId;
}

void AddPopupItem(int itemId, const char* text) {
  MenuHolder* menu = MenuTable().Find(CurrentPopupMenu());
  if (menu == nullptr) return;
  AppendMenuA(menu->Get(), MF_STRING, static_cast<UINT_PTR>(static_cast<unsigned>(itemId)),
              text != nullptr ? text : "");
}

void AddPopupSeparator() {
  MenuHolder* menu = MenuTable().Find(CurrentPopupMenu());
  if (menu != nullptr) AppendMenuA(menu->Get(), MF_SEPARATOR, 0, nullptr);
}

void ShowPopupAtCursor(int menu, NativeHandle owner) {
  MenuHolder* popup = MenuTable().Find(menu);
  if (popup == nullptr) return;
  POINT pointer{};
  GetCursorPos(&pointer);
  HWND ownerWindow = static_cast<HWND>(owner);
  SetForegroundWindow(ownerWindow);
  TrackPopupMenu(popup->Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, pointer.x - 1,
                 pointer.y - 1, 0, ownerWindow, nullptr);
}

void ReleasePopupMenu(int menu) {
  MenuTable().Remove(menu);
  if (CurrentPopupMenu() == menu) CurrentPopupMenu() = -1;
}
