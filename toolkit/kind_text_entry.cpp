// TextEntry: a one-line edit field whose colours are applied when it asks its
// parent (a disabled or read-only edit asks with WM_CTLCOLORSTATIC).
#include "toolkit/control_framework.hpp"

namespace {

bool AnswerColour(ControlRecord& control, UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
  bool asks = message == WM_CTLCOLOREDIT ||
              (message == WM_CTLCOLORSTATIC && IsWindowEnabled(control.handle));
  if (!asks) return false;
  return AnswerControlColour(control, reinterpret_cast<HDC>(wParam), COLOR_WINDOW, result);
}

}  // namespace

const KindOperations TextEntryOperations = {
    .notification = AnswerColour,
    .setColour = StoreControlColour,
    .getColour = StoredControlColour,
};

intptr_t CreateTextEntry(int id, int x, int y, int w, int h, const char* text) {
  return CreateControl(
      id, x, y, w, h,
      ControlCreation{ControlKind::TextEntry, "Edit",
                      WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | ES_AUTOHSCROLL,
                      WS_EX_CLIENTEDGE, text});
}
