// Fonts created by face name and point size, named by ids. A font is made for
// 96 DPI, as layouts are designed; a control in a window at another DPI draws
// with the same face at that DPI's size for the points.
#pragma once

#include "toolkit/windows.hpp"

// Font style flags of CreateTextFont.
constexpr unsigned FontBold = 0x100;
constexpr unsigned FontItalic = 0x200;
constexpr unsigned FontUnderline = 0x4;
constexpr unsigned FontStrikeOut = 0x8;
constexpr unsigned FontHighQuality = 0x10;

// Creates a font by face name and point size (at 96 DPI). Returns its id, or 0.
int CreateTextFont(int id, const char* face, int points, unsigned style);
// Character height for `points` at `pixelsPerInch`: -round(points * ppi / 72).
int FontHeightForPoints(int points, int pixelsPerInch);
NativeHandle NativeFontHandle(int font);  // null for a dead id
void ReleaseFont(int font);
void ReleaseAllFonts();
