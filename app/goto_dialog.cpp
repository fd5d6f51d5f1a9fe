// The go-to dialog of the sub-networks window: one entry for a sub-network
// index or address, with OK and Cancel, Enter and Escape.
#include <windows.h>

#include <string>

#include "app/modal.hpp"
#include "app/secondary_windows.hpp"
#include "app/window_ids.hpp"
#include "toolkit/controls.hpp"
#include "toolkit/events.hpp"
#include "toolkit/windows.hpp"

namespace {

constexpr const char* GoToPrompt = "Sub-network index or IP address:";
constexpr int DialogWidth = 260;
constexpr int DialogHeight = 92;

struct GoToControls {
  int entry = 0;
  int ok = 0;
  int cancel = 0;
};

GoToControls CreateGoToControls() {
  CreateLabel(AutoId, 10, 10, DialogWidth - 20, 16, GoToPrompt);
  GoToControls controls;
  controls.entry = static_cast<int>(CreateTextEntry(AutoId, 10, 30, DialogWidth - 20, 22, ""));
  controls.ok = static_cast<int>(
      CreatePushButton(AutoId, DialogWidth - 170, DialogHeight - 30, 75, 22, "OK"));
  controls.cancel = static_cast<int>(
      CreatePushButton(AutoId, DialogWidth - 85, DialogHeight - 30, 75, 22, "Cancel"));
  return controls;
}

// Enter presses the focused button, and OK while the entry has the focus.
int PressedButton(int kind, const GoToControls& controls) {
  if (kind == ControlEvent) return EventSourceControl();
  if (kind != MenuEvent || EventSourceMenuItem() != GoToEnterCommand) return 0;
  return FocusedControl() == controls.cancel ? controls.cancel : controls.ok;
}

}  // namespace

bool AskGoToTarget(NativeHandle owner, std::string& typed) {
  ModalWindow modal(owner, DialogWidth, DialogHeight, GoToTitle);
  GoToControls controls;
  bool confirmed = false;
  modal.Run(
      [&] {
        controls = CreateGoToControls();
        ControlSetFocus(controls.entry);
        WindowAddShortcut(modal.Id(), VK_ESCAPE, EscapeCommand);
        WindowAddShortcut(modal.Id(), VK_RETURN, GoToEnterCommand);
      },
      [&](int kind) {
        const int pressed = PressedButton(kind, controls);
        confirmed = pressed != 0 && pressed == controls.ok;
        if (confirmed) typed = ControlGetText(controls.entry);
        return !confirmed && !IsDismissal(kind, controls.cancel) && pressed != controls.cancel;
      });
  return confirmed;
}
