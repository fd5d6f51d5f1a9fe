// Label: static text whose colours are applied when it asks its parent.
#include "toolkit/control_framework.hpp"

namespace {

bool AnswerColour(ControlRecord& control, UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
  if (message != WM_CTLCOLORSTATIC) return false;
  return AnswerControlColour(control, reinterpret_cast<HDC>(wParam), COLOR_BTNFACE, result);
}

}  // namespace

const KindOperations LabelOperations = {
    .notification = AnswerColour,
    .setColour = StoreControlColour,
    .getColour = StoredControlColour,
};

intptr_t CreateLabel(int id, int x, int y, int w, int h, const char* text) {
  return CreateControl(id, x, y, w, h,
                       ControlCreation{ControlKind::Label, "Static",
                                       WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT, 0, text});
}
