// FrameBox: a group box with a title; only the common operations.
#include "toolkit/control_framework.hpp"

const KindOperations FrameBoxOperations = {};

intptr_t CreateFrameBox(int id, int x, int y, int w, int h, const char* title) {
  return CreateControl(id, x, y, w, h,
                       ControlCreation{ControlKind::FrameBox, "Button", 0x50020007, 0, title});
}
