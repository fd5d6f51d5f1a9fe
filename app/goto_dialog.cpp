// The go-to dialog of the sub-networks window: one entry for a sub-network
// index or address, with OK and Cancel, Enter and Escape.
#include <cstdint>
#include <string>

#include "app/modal.hpp"
#include "app/secondary_windows.hpp"
#include "toolkit/controls.hpp"
#include "toolkit/windows.hpp"

namespace {

constexpr const char* GoToTitle = "Go to sub-network";
constexpr const char* GoToPrompt = "Sub-network index or IP address:";
constexpr int DialogWidth = 260;
constexpr int DialogHeight = 92;
constexpr int EnterKey = 13;
constexpr int EnterCommand = 1001;

struct GoToControls {
  int entry;
  int ok;
  int cancel;
};

GoToControls CreateGoToControls() {
  CreateLabel(AutoId, 10, 10, DialogWidth - 20, 16, GoToPrompt);
  GoToControls controls{};
  controls.entry = static_cast<int>(CreateTextEntry(AutoId, 10, 30, DialogWidth - 20, 22, ""));
  controls.ok = static_cast<int>(
      CreatePushButton(AutoId, DialogWidth - 170, DialogHeight - 30, 75, 22, "OK"));
  controls.cancel = static_cast<int>(
      CreatePushButton(AutoId, DialogWidth - 85, DialogHeight - 30, 75, 22, "Cancel"));
  return controls;
}

bool IsConfirmation(int kind, int okButton) {
  return (kind == MenuEvent && EventSourceMenuItem() == EnterCommand) ||
         (kind == ControlEvent && EventSourceControl() == okButton);
}

}  // namespace

bool AskGoToTarget(NativeHandle owner, std::string& typed) {
  int window = static_cast<int>(
      WindowOpen(AutoId, 0, 0, DialogWidth, DialogHeight, GoToTitle, CentreOnOwner, owner));
  if (window == 0) return false;
  SetOwnerEnabled(owner, false);
  const GoToControls controls = CreateGoToControls();
  ControlSetFocus(controls.entry);
  WindowAddShortcut(window, EscapeKey, EscapeCommand);
  WindowAddShortcut(window, EnterKey, EnterCommand);
  bool confirmed = false;
  for (;;) {
    const int kind = WaitForOwnEvent(window);
    confirmed = IsConfirmation(kind, controls.ok);
    if (confirmed || IsDismissal(kind, controls.cancel)) break;
  }
  if (confirmed) typed = ControlGetText(controls.entry);
  // The owner takes input again before the dialog goes, so that it is the
  // window that becomes active.
  SetOwnerEnabled(owner, true);
  WindowClose(window);
  return confirmed;
}
