// AddressEntry: the IP address control. Its state is an Ipv4Value (first field
// in the lowest byte), while the native control holds the first field in the
// highest byte.
#include "toolkit/control_framework.hpp"
#include "toolkit/dpi.hpp"
#include "toolkit/font_service.hpp"
#include "toolkit/toolkit_state.hpp"

#include <commctrl.h>

#include <cstdio>

namespace {

struct AddressEntryState {
  HFONT fieldFont = nullptr;  // its fields' font, when the control does not delete it
};

uint32_t ReverseBytes(uint32_t value) {
  return (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
}

intptr_t GetAddress(ControlRecord& control) {
  DWORD address = 0;
  SendMessageA(control.handle, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
  return static_cast<intptr_t>(ReverseBytes(address));
}

void SetAddress(ControlRecord& control, intptr_t value) {
  SendMessageA(control.handle, IPM_SETADDRESS, 0,
               static_cast<LPARAM>(ReverseBytes(static_cast<uint32_t>(value))));
}

std::string DottedText(ControlRecord& control) {
  auto value = static_cast<uint32_t>(GetAddress(control));
  char text[16];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", value & 0xFFu, (value >> 8) & 0xFFu,
                (value >> 16) & 0xFFu, value >> 24);
  return text;
}

// Only clearing is possible through the text; any other text is ignored.
void SetText(ControlRecord& control, const char* text) {
  if (text == nullptr || text[0] == '\0') SendMessageA(control.handle, IPM_CLEARADDRESS, 0, 0);
}

// Wine: the control creates a font for its fields and never deletes it;
// remember it (once, before anything replaces it) so that it is deleted once
// the fields are gone.
void KeepFieldFont(ControlRecord& control) {
  HFONT& kept = KindState<AddressEntryState>(control).fieldFont;
  HWND field = GetWindow(control.handle, GW_CHILD);
  if (!Toolkit().controls.runningOnWine || kept != nullptr || field == nullptr) return;
  auto own = reinterpret_cast<HFONT>(SendMessageA(field, WM_GETFONT, 0, 0));
  if (own != nullptr && GetObjectType(own) == OBJ_FONT && own != GetStockObject(ANSI_VAR_FONT) &&
      own != GetStockObject(DEFAULT_GUI_FONT) && own != GetStockObject(SYSTEM_FONT)) {
    kept = own;
  }
}

bool OnMessage(ControlRecord& control, UINT message, WPARAM, LPARAM, LRESULT*) {
  if (message != WM_DESTROY) return false;
  // The control deletes the font it holds when it is destroyed: a stock font
  // keeps a font of the application alive.
  SendMessageA(control.handle, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_VAR_FONT)),
               FALSE);
  KeepFieldFont(control);
  return false;
}

// The fields keep their places in the control and take its font at the new
// DPI. Wine: the control lays out its fields only when it is created, and
// does not pass its font on to them.
void Rescale(ControlRecord& control, const RECT&, int fromDpi, int toDpi) {
  KeepFieldFont(control);
  auto font = reinterpret_cast<WPARAM>(FontForDpi(control.font, toDpi));
  for (HWND field = GetWindow(control.handle, GW_CHILD); field != nullptr;
       field = GetWindow(field, GW_HWNDNEXT)) {
    const RECT at = DesignedRect(ParentRect(field), fromDpi);
    const RECT pixels = ScaledRect(at.left, at.top, at.right - at.left, at.bottom - at.top, toDpi);
    SetWindowPos(field, nullptr, pixels.left, pixels.top, pixels.right - pixels.left,
                 pixels.bottom - pixels.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(field, WM_SETFONT, font, TRUE);
  }
  InvalidateRect(control.handle, nullptr, TRUE);
}

// Runs after the fields were destroyed.
void DeleteFieldFont(ControlRecord& control) {
  HFONT& font = KindState<AddressEntryState>(control).fieldFont;
  if (font != nullptr && GetObjectType(font) == OBJ_FONT) DeleteObject(font);
  font = nullptr;
}

}  // namespace

const KindOperations AddressEntryOperations = {
    .destroy = DeleteFieldFont,
    .getState = GetAddress,
    .setState = SetAddress,
    .getText = DottedText,
    .setText = SetText,
    .message = OnMessage,
    .rescale = Rescale,
};

intptr_t CreateAddressEntry(int id, int x, int y, int w, int h) {
  return CreateControl(id, x, y, w, h,
                       ControlCreation{ControlKind::AddressEntry, WC_IPADDRESSA,
                                       WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, nullptr});
}
