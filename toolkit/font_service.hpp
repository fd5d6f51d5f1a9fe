// The fonts the toolkit holds. A font is designed at 96 DPI, as the program's
// layouts are; a window at another DPI draws with a variant of it made from
// its points, kept beside it until the font is released.
#pragma once

#include <windows.h>

#include <vector>

#include "base/ids.hpp"
#include "toolkit/win32_holders.hpp"

struct FontRecord {
  FontHolder font;  // at 96 DPI: what NativeFontHandle gives and controls are given
  int points = 0;
};

struct FontVariant {
  HFONT designed;
  int dpi;
  FontHolder font;
};

struct FontService {
  IdTable<FontRecord> table;
  std::vector<FontVariant> variants;
};

// The font that draws `font` (a designed font or a variant of one) at `dpi`.
// The service's fonts and the stock DEFAULT_GUI_FONT follow the DPI by their
// points; any other font is drawn as it is.
HFONT FontForDpi(HFONT font, int dpi);
