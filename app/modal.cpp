// Helpers of the hand-made modal loops of the secondary windows.
#include "app/modal.hpp"

#include <windows.h>

void SetOwnerEnabled(NativeHandle owner, bool enabled) {
  EnableWindow(static_cast<HWND>(owner), enabled ? TRUE : FALSE);
}

int WaitForOwnEvent(int window) {
  for (;;) {
    int kind = EventWait();
    if (EventSourceWindow() == window) return kind;
  }
}

bool IsDismissal(int kind, int closeButton) {
  return kind == CloseRequest || (kind == MenuEvent && EventSourceMenuItem() == EscapeCommand) ||
         (kind == ControlEvent && EventSourceControl() == closeButton);
}
