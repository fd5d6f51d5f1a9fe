// Start-up and teardown of the toolkit: building and destroying its state.
#include "toolkit/toolkit_start.hpp"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "base/patterns.hpp"
#include "toolkit/toolkit_state.hpp"

namespace {

// The running toolkit. It stays reachable while it is destroyed, so that the
// members still alive can be used by the teardown of the later ones.
ToolkitState* running = nullptr;

bool RegisterCommonControls() {
  INITCOMMONCONTROLSEX classes{};
  classes.dwSize = sizeof classes;
  // The designed set (tab, hot-key, date, ComboBoxEx and IP-address classes),
  // the list view that report lists create and the progress bar.
  classes.dwICC = ICC_TAB_CLASSES | ICC_HOTKEY_CLASS | ICC_DATE_CLASSES | ICC_USEREX_CLASSES |
                  ICC_INTERNET_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS;
  return InitCommonControlsEx(&classes) != FALSE;
}

}  // namespace

ToolkitState& Toolkit() {
  if (running == nullptr) {
    running = new ToolkitState();
    running->commonControls = RegisterCommonControls();
  }
  return *running;
}

ThreadState& ThisThread() {
  thread_local ThreadState state;
  return state;
}

bool ToolkitStart() {
  return Toolkit().commonControls;
}

void ToolkitStop() {
  ReleaseAllPatterns();
  delete running;
  running = nullptr;
}

bool ComApartment::Start() {
  if (!tried) {
    auto begin = ole32.Find<decltype(&CoInitialize)>("CoInitialize");
    started = begin != nullptr && SUCCEEDED(begin(nullptr));
  }
  tried = true;
  return started;
}

ComApartment::~ComApartment() {
  auto end = ole32.Find<decltype(&CoUninitialize)>("CoUninitialize");
  if (started && end != nullptr) end();
}
