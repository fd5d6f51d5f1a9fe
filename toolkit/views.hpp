// Report lists, panels, image views and link labels.
#pragma once

#include <cstdint>

#include "toolkit/controls.hpp"

// Shows a bitmap or icon handle (null: none) at its own size, not w x h; the state is the image.
intptr_t CreateImageView(int id, int x, int y, int w, int h, NativeHandle image);
// Text in its text colour, in hoverColour under the pointer; a click raises DetailClick.
intptr_t CreateLinkLabel(int id, int x, int y, int w, int h, const char* text, int hoverColour);
