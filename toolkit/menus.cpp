// Popup menus shown at the mouse pointer, and items added to a window's system menu.

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

// The window's own copy of the system menu, made on first use; null for a dead id.
HMENU SystemMenuOf(int window) {
  WindowRecord* record = WindowTable().Find(window);
  if (record == nullptr || record->handle == nullptr) return nullptr;
  return GetSystemMenu(record->handle, FALSE);
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

void WindowAddSystemMenuItem(int window, int itemId, const char* text) {
  HMENU menu = SystemMenuOf(window);
  if (menu == nullptr || itemId <= 0 || static_cast<WPARAM>(itemId) >= FirstSystemCommand) return;
  AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(itemId), text != nullptr ? text : "");
}

void WindowAddSystemMenuSeparator(int window) {
  HMENU menu = SystemMenuOf(window);
  if (menu != nullptr) AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
}
