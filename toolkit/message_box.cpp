// Message boxes that are modal for every window of the calling thread.
#include <vector>

#include "toolkit/message_box.hpp"
#include "toolkit/toolkit_state.hpp"

namespace {

struct DisabledWindow {
  HWND window;
  bool wasTopmost;
};

struct DisableSweep {
  DWORD thread;
  HWND foreground;
  std::vector<DisabledWindow> disabled;
};

BOOL CALLBACK DisableThreadWindow(HWND window, LPARAM lParam) noexcept {
  auto* sweep = reinterpret_cast<DisableSweep*>(lParam);
  if (GetWindowThreadProcessId(window, nullptr) != sweep->thread) return TRUE;
  if (!IsWindowVisible(window) || !IsWindowEnabled(window) || window == sweep->foreground) {
    return TRUE;
  }
  bool topmost = (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  if (topmost) {
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  EnableWindow(window, FALSE);
  sweep->disabled.push_back(DisabledWindow{window, topmost});
  return TRUE;
}

HWND ForegroundWindowOfThisProcess() {
  HWND foreground = GetForegroundWindow();
  DWORD process = 0;
  if (foreground != nullptr) GetWindowThreadProcessId(foreground, &process);
  return process == GetCurrentProcessId() ? foreground : nullptr;
}

}  // namespace

// The records live in this call's frame: each call restores exactly the
// windows it disabled, which keeps the calling thread's records apart from
// every other thread's.
int ShowMessageBox(const char* title, const char* text, unsigned flags) {
  DisableSweep sweep{GetCurrentThreadId(), GetForegroundWindow(), {}};
  EnumWindows(DisableThreadWindow, reinterpret_cast<LPARAM>(&sweep));
  int result = MessageBoxA(ForegroundWindowOfThisProcess(), text != nullptr ? text : "",
                           title != nullptr ? title : "", flags);
  for (const DisabledWindow& entry : sweep.disabled) {
    EnableWindow(entry.window, TRUE);
    if (entry.wasTopmost) {
      SetWindowPos(entry.window, HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  return result;
}
