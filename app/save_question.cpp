// The question before a window with unsaved changes closes: Save, Don't
// save or Cancel, with their keys (S, D, Escape; Enter presses the focused
// button, Save at first).
#include <windows.h>

#include <string>

#include "app/modal.hpp"
#include "app/secondary_windows.hpp"
#include "app/window_ids.hpp"
#include "toolkit/controls.hpp"
#include "toolkit/events.hpp"
#include "toolkit/windows.hpp"

namespace {

constexpr int DialogWidth = 330;
constexpr int DialogHeight = 92;
constexpr int ButtonWidth = 75;

struct QuestionControls {
  int save = 0;
  int dontSave = 0;
  int cancel = 0;
};

QuestionControls CreateQuestionControls(const std::string& what) {
  const std::string question = "Save the changes to " + what + " before closing?";
  CreateLabel(AutoId, 10, 10, DialogWidth - 20, 32, question.c_str());
  QuestionControls controls;
  const int y = DialogHeight - 32;
  const int cancelX = DialogWidth - 10 - ButtonWidth;
  controls.cancel = AsId(CreatePushButton(AutoId, cancelX, y, ButtonWidth, 22, "Cancel"));
  controls.dontSave =
      AsId(CreatePushButton(AutoId, cancelX - 10 - ButtonWidth, y, ButtonWidth, 22, "&Don't save"));
  controls.save =
      AsId(CreatePushButton(AutoId, cancelX - 20 - 2 * ButtonWidth, y, ButtonWidth, 22, "&Save"));
  return controls;
}

// The choice the event makes, if any: a button, its key, Enter on the
// focused button, or a dismissal as Cancel.
bool ChoiceOf(int kind, const QuestionControls& controls, SaveChoice& choice) {
  int pressed = 0;
  if (kind == ControlEvent) pressed = EventSourceControl();
  if (kind == MenuEvent && EventSourceMenuItem() == SaveChoiceEnterCommand) {
    pressed = FocusedControl() != 0 ? FocusedControl() : controls.save;
  }
  if (kind == MenuEvent && EventSourceMenuItem() == SaveChoiceSaveCommand) pressed = controls.save;
  if (kind == MenuEvent && EventSourceMenuItem() == SaveChoiceDontSaveCommand) {
    pressed = controls.dontSave;
  }
  if (IsDismissal(kind, controls.cancel)) pressed = controls.cancel;
  if (pressed == controls.save) choice = SaveChoice::Save;
  if (pressed == controls.dontSave) choice = SaveChoice::DontSave;
  if (pressed == controls.cancel) choice = SaveChoice::Cancel;
  return pressed == controls.save || pressed == controls.dontSave || pressed == controls.cancel;
}

}  // namespace

SaveChoice AskToSaveChanges(NativeHandle owner, const std::string& what) {
  ModalWindow modal(owner, DialogWidth, DialogHeight, SaveChangesTitle);
  QuestionControls controls;
  SaveChoice choice = SaveChoice::Cancel;
  modal.Run(
      [&] {
        controls = CreateQuestionControls(what);
        ControlSetFocus(controls.save);
        WindowAddShortcut(modal.Id(), VK_ESCAPE, EscapeCommand);
        WindowAddShortcut(modal.Id(), VK_RETURN, SaveChoiceEnterCommand);
        WindowAddShortcut(modal.Id(), 'S', SaveChoiceSaveCommand);
        WindowAddShortcut(modal.Id(), 'D', SaveChoiceDontSaveCommand);
      },
      [&](int kind) { return !ChoiceOf(kind, controls, choice); });
  return choice;
}
