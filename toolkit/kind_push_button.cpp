// PushButton: clicks reach the window's default WM_COMMAND handling and become
// ControlEvents with DetailClick (BN_CLICKED = 0).
#include "toolkit/control_framework.hpp"

namespace {

intptr_t GetCheck(ControlRecord& control) {
  return SendMessageA(control.handle, BM_GETCHECK, 0, 0);
}

void SetCheck(ControlRecord& control, intptr_t value) {
  SendMessageA(control.handle, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

}  // namespace

const KindOperations PushButtonOperations = {
    .getState = GetCheck,
    .setState = SetCheck,
};

intptr_t CreatePushButton(int id, int x, int y, int w, int h, const char* text) {
  return CreateControl(
      id, x, y, w, h,
      ControlCreation{ControlKind::PushButton, "Button",
                      WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON, 0, text});
}
