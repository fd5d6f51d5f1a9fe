// FrameBox: a group box with a title; only the common operations.
#include "toolkit/control_framework.hpp"

const KindOperations FrameBoxOperations = {};

intptr_t CreateFrameBox(int id, int x, int y, int w, int h, const char* title) {
  return CreateControl(id, x, y, w, h,
                       ControlCreation{ControlKind::FrameBox, "Button",
                                       WS_CHILD | WS_VISIBLE | WS_GROUP | BS_GROUPBOX, 0, title});
}
