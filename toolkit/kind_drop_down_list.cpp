// DropDownList: a combo box with a fixed list; selection changes are posted as
// DetailChange events.
#include "base/scaling.hpp"
#include "toolkit/control_framework.hpp"
#include "toolkit/events.hpp"

namespace {

constexpr int DroppedHeight = 350;

bool Notify(ControlRecord& control, UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
  if (message != WM_COMMAND) return false;
  *result = 0;
  int code = HIWORD(wParam);
  int window = ContainingWindowId(control.handle);
  DWORD style = static_cast<DWORD>(GetWindowLongPtrA(control.handle, GWL_STYLE));
  DWORD type = style & 3;  // CBS_SIMPLE, CBS_DROPDOWN or CBS_DROPDOWNLIST
  bool editable = type != CBS_SIMPLE && type != CBS_DROPDOWNLIST;
  if (code == CBN_SELCHANGE || (code == CBN_EDITCHANGE && editable)) {
    EventPost(ControlEvent, control.id, window, DetailChange);
  } else if (code == CBN_SETFOCUS && editable) {
    EventPost(ControlEvent, control.id, window, DetailFocusIn);
  } else if (code == CBN_KILLFOCUS && editable) {
    EventPost(ControlEvent, control.id, window, DetailFocusOut);
  }
  return true;
}

// Sizes the selection field so that the closed control is `height` pixels high.
void SetClosedHeight(ControlRecord& control, int height) {
  SendMessageA(control.handle, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 15);
  RECT area;
  GetWindowRect(control.handle, &area);
  int frame = (area.bottom - area.top) - 15;
  SendMessageA(control.handle, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - frame);
}

// The dropped list keeps its designed height at the new DPI; the font just
// given has reset the closed height.
void Rescale(ControlRecord& control, const RECT& pixels, int, int toDpi) {
  SetWindowPos(control.handle, nullptr, 0, 0, pixels.right - pixels.left,
               ScaleToDpi(DroppedHeight, toDpi), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetClosedHeight(control, pixels.bottom - pixels.top);
}

intptr_t Selection(ControlRecord& control) {
  return SendMessageA(control.handle, CB_GETCURSEL, 0, 0);
}

void Select(ControlRecord& control, intptr_t index) {
  SendMessageA(control.handle, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int AddItem(ControlRecord& control, int position, const char* text) {
  if (position < -1) return 0;
  SendMessageA(control.handle, CB_INSERTSTRING, static_cast<WPARAM>(position),
               reinterpret_cast<LPARAM>(text));
  return 1;
}

void Clear(ControlRecord& control) {
  SendMessageA(control.handle, CB_RESETCONTENT, 0, 0);
}

int Count(ControlRecord& control) {
  return static_cast<int>(SendMessageA(control.handle, CB_GETCOUNT, 0, 0));
}

std::string ItemText(ControlRecord& control, int item, int) {
  LRESULT length = SendMessageA(control.handle, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0);
  if (length == CB_ERR || length < 0) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  LRESULT copied = SendMessageA(control.handle, CB_GETLBTEXT, static_cast<WPARAM>(item),
                                reinterpret_cast<LPARAM>(&text[0]));
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

}  // namespace

const KindOperations DropDownListOperations = {
    .notification = Notify,
    .getState = Selection,
    .setState = Select,
    .addItem = AddItem,
    .clearItems = Clear,
    .countItems = Count,
    .itemText = ItemText,
    .finish = SetClosedHeight,
    .rescale = Rescale,
};

intptr_t CreateDropDownList(int id, int x, int y, int w, int h) {
  // Created with the height of the dropped list; the finishing step sets the
  // closed height h.
  return CreateControl(id, x, y, w, h,
                       ControlCreation{ControlKind::DropDownList, "ComboBox",
                                       WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_GROUP |
                                           WS_TABSTOP | CBS_DROPDOWNLIST,
                                       0, nullptr, DroppedHeight});
}
