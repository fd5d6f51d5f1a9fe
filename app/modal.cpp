// The secondary windows' modal contract.
#include "app/modal.hpp"
#include "app/window_ids.hpp"
#include "toolkit/events.hpp"

#include <windows.h>

namespace {

void SetOwnerEnabled(NativeHandle owner, bool enabled) {
  EnableWindow(static_cast<HWND>(owner), enabled ? TRUE : FALSE);
}

// Waits for the next event of `window`, dropping events of every other window.
int WaitForOwnEvent(int window) {
  for (;;) {
    int kind = EventWait();
    if (EventSourceWindow() == window) return kind;
  }
}

}  // namespace

ModalWindow::ModalWindow(NativeHandle owner, int width, int height, const char* title,
                         uint32_t style)
    : owner_(owner),
      window_(static_cast<int>(
          WindowOpen(AutoId, 0, 0, width, height, title, CentreOnOwner | style, owner))) {}

ModalWindow::~ModalWindow() {
  Close();
}

void ModalWindow::Run(const std::function<void()>& build,
                      const std::function<bool(int kind)>& handle) {
  if (window_ == 0) return;
  SetOwnerEnabled(owner_, false);
  ownerDisabled_ = true;
  build();
  while (handle(WaitForOwnEvent(window_))) {
  }
}

void ModalWindow::Close() {
  // The owner takes input again while this window still exists: a window
  // destroyed while its owner is disabled hands activation to another program.
  if (ownerDisabled_) SetOwnerEnabled(owner_, true);
  ownerDisabled_ = false;
  if (window_ != 0) WindowClose(window_);
  window_ = 0;
}

bool IsDismissal(int kind, int closeButton) {
  return kind == CloseRequest || (kind == MenuEvent && EventSourceMenuItem() == EscapeCommand) ||
         (kind == ControlEvent && EventSourceControl() == closeButton);
}
