// ProgressBar: the common control's bar, its range set to 0 .. ProgressBarSteps
// so that the state is the position.
#include "toolkit/control_framework.hpp"

#include <commctrl.h>

namespace {

void SetRange(ControlRecord& control, int) {
  SendMessageA(control.handle, PBM_SETRANGE32, 0, ProgressBarSteps);
}

intptr_t GetPosition(ControlRecord& control) {
  return SendMessageA(control.handle, PBM_GETPOS, 0, 0);
}

void SetPosition(ControlRecord& control, intptr_t value) {
  SendMessageA(control.handle, PBM_SETPOS, static_cast<WPARAM>(value), 0);
}

}  // namespace

const KindOperations ProgressBarOperations = {
    .getState = GetPosition,
    .setState = SetPosition,
    .finish = SetRange,
};

intptr_t CreateProgressBar(int id, int x, int y, int w, int h) {
  return CreateControl(id, x, y, w, h,
                       ControlCreation{ControlKind::ProgressBar, PROGRESS_CLASSA,
                                       WS_CHILD | WS_VISIBLE | PBS_SMOOTH, 0, nullptr});
}
