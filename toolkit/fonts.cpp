// Fonts created by face name and point size, named by ids, and their variants
// for windows at other DPIs.
#include "toolkit/fonts.hpp"

#include "base/scaling.hpp"
#include "toolkit/font_service.hpp"
#include "toolkit/menus.hpp"
#include "toolkit/test_access.hpp"
#include "toolkit/toolkit_state.hpp"

namespace {

// The stock DEFAULT_GUI_FONT is "MS Shell Dlg" at 8 points. Windows keeps its
// 96-DPI height at every DPI, so a window at another DPI gets a variant.
// Wine: its stock fonts follow the system DPI (DEFAULT_GUI_FONT is 17 pixels
// high at 144 DPI), so variants come from the points, never from the height.
constexpr int DefaultGuiFontPoints = 8;

FontService& Fonts() {
  return Toolkit().fonts;
}

// The points of a designed font, 0 for a font the service does not scale.
int PointsOf(HFONT designed) {
  if (designed == GetStockObject(DEFAULT_GUI_FONT)) return DefaultGuiFontPoints;
  for (int id : Fonts().table.Ids()) {
    const FontRecord& record = *Fonts().table.Find(id);
    if (record.font.Get() == designed) return record.points;
  }
  return 0;
}

HFONT DesignedFontOf(HFONT font) {
  for (const FontVariant& variant : Fonts().variants) {
    if (variant.font.Get() == font) return variant.designed;
  }
  return font;
}

// The designed font's description with the height of its points at `dpi`;
// the designed font itself when that cannot be made.
HFONT MakeVariant(HFONT designed, int points, int dpi) {
  LOGFONTA description{};
  if (GetObjectA(designed, sizeof description, &description) == 0) return designed;
  description.lfHeight = FontHeightForPoints(points, dpi);
  FontHolder font(CreateFontIndirectA(&description));
  if (!font) return designed;
  Fonts().variants.push_back(FontVariant{designed, dpi, std::move(font)});
  return Fonts().variants.back().font.Get();
}

}  // namespace

HFONT FontForDpi(HFONT font, int dpi) {
  HFONT designed = DesignedFontOf(font);
  const int points = PointsOf(designed);
  if (dpi == DesignDpi || points == 0) return designed;
  for (const FontVariant& variant : Fonts().variants) {
    if (variant.designed == designed && variant.dpi == dpi) return variant.font.Get();
  }
  return MakeVariant(designed, points, dpi);
}

int FontHeightForPoints(int points, int pixelsPerInch) {
  return -MulDiv(points, pixelsPerInch, 72);
}

// Made for 96 DPI, whatever the display's resolution: each window draws with
// the variant for its own DPI (FontForDpi).
int CreateTextFont(int id, const char* face, int points, unsigned style) {
  if (!FreeForIdResult(Fonts().table, id)) return 0;
  HFONT font = CreateFontA(FontHeightForPoints(points, DesignDpi), 0, 0, 0,
                           (style & FontBold) != 0 ? FW_BOLD : FW_NORMAL, (style & FontItalic) != 0,
                           (style & FontUnderline) != 0, (style & FontStrikeOut) != 0,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           (style & FontHighQuality) != 0 ? PROOF_QUALITY : DEFAULT_QUALITY, 0,
                           face != nullptr ? face : "");
  if (font == nullptr) return 0;
  return AddForIdResult(Fonts().table, id, FontRecord{FontHolder(font), points});
}

NativeHandle NativeFontHandle(int font) {
  FontRecord* record = Fonts().table.Find(font);
  return record != nullptr ? record->font.Get() : nullptr;
}

void ReleaseFont(int font) {
  FontRecord* record = Fonts().table.Find(font);
  if (record == nullptr) return;
  std::vector<FontVariant>& variants = Fonts().variants;
  for (auto it = variants.begin(); it != variants.end();) {
    it = it->designed == record->font.Get() ? variants.erase(it) : it + 1;
  }
  Fonts().table.Remove(font);
}

void ReleaseAllFonts() {
  Fonts().variants.clear();
  Fonts().table.Clear();
}

int LiveFontCount() {
  return static_cast<int>(Fonts().table.Size());
}
