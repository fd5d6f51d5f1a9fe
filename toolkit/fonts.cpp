// Fonts created by face name and point size, named by ids.
#include "toolkit/fonts.hpp"
#include "toolkit/menus.hpp"
#include "toolkit/test_access.hpp"
#include "toolkit/toolkit_state.hpp"

namespace {

IdTable<FontHolder>& FontTable() {
  return Toolkit().fonts;
}

}  // namespace

int FontHeightForPoints(int points, int pixelsPerInch) {
  return -MulDiv(points, pixelsPerInch, 72);
}

int CreateTextFont(int id, const char* face, int points, unsigned style) {
  if (!FreeForIdResult(FontTable(), id)) return 0;
  int height = 0;
  {
    DisplayContext display;
    if (display.Get() == nullptr) return 0;
    height = FontHeightForPoints(points, GetDeviceCaps(display.Get(), LOGPIXELSY));
  }
  HFONT font = CreateFontA(height, 0, 0, 0, (style & FontBold) != 0 ? FW_BOLD : FW_NORMAL,
                           (style & FontItalic) != 0, (style & FontUnderline) != 0,
                           (style & FontStrikeOut) != 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS,
                           (style & FontHighQuality) != 0 ? PROOF_QUALITY : DEFAULT_QUALITY, 0,
                           face != nullptr ? face : "");
  if (font == nullptr) return 0;
  return AddForIdResult(FontTable(), id, FontHolder(font));
}

NativeHandle NativeFontHandle(int font) {
  FontHolder* holder = FontTable().Find(font);
  return holder != nullptr ? holder->Get() : nullptr;
}

void ReleaseFont(int font) {
  FontTable().Remove(font);
}

void ReleaseAllFonts() {
  FontTable().Clear();
}

int LiveFontCount() {
  return static_cast<int>(FontTable().Size());
}
