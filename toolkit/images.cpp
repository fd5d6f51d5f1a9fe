// The image service: files in memory become device-independent bitmap
// sections (or icons), named by ids. Parsing and pixel work live in the
// portable image code; this file only makes and fills the native objects.
#include <cstring>
#include <cstdlib>
#include <vector>

#include "toolkit/images.hpp"
#include "toolkit/test_access.hpp"
#include "toolkit/toolkit_state.hpp"

namespace {

// Room for the largest information header, bit-field masks and a full colour
// table, so the platform never reads past the copy whatever it assumes.
constexpr std::size_t BitmapInfoWords = (124 + 12 + 256 * 4) / 4;

bool FromBitmapFile(const uint8_t* data, std::size_t length, ImageRecord& image) {
  BitmapFileLayout layout;
  if (!ReadBitmapFileLayout(data, length, layout)) return false;
  std::vector<uint32_t> info(BitmapInfoWords, 0);  // aligned, as BITMAPINFO must be
  std::memcpy(info.data(), data + layout.infoOffset, layout.infoLength);
  image.bitmap.Reset(CreateBitmapSection(layout.width, layout.height, layout.depth));
  if (!image.bitmap) return false;
  int rows = std::abs(layout.height);
  HDC screen = GetDC(nullptr);
  int copied =
      SetDIBits(screen, image.bitmap.Get(), 0, static_cast<UINT>(rows), data + layout.pixelOffset,
                reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (copied == 0) return false;
  MakeOpaqueWhenAlphaAllZero(SectionRows(image.bitmap.Get()));
  image.width = layout.width;
  image.height = rows;
  image.depth = layout.depth;
  image.sourceDepth = layout.bitsPerPixel;
  return true;
}

bool FromIconFile(const uint8_t* data, std::size_t length, ImageRecord& image) {
  IconEntryLayout entry;
  if (!ChooseIconEntry(data, length, entry)) return false;
  std::vector<uint32_t> copy((entry.length + 3) / 4);  // aligned for the headers inside
  std::memcpy(copy.data(), data + entry.offset, entry.length);
  auto* bits = reinterpret_cast<PBYTE>(copy.data());
  auto size = static_cast<DWORD>(entry.length);
  HICON icon = CreateIconFromResourceEx(bits, size, TRUE, 0x30000, entry.width, entry.height,
                                        LR_DEFAULTCOLOR);
  if (icon == nullptr && entry.bitsPerPixel != 16) {
    icon = CreateIconFromResource(bits, size, TRUE, 0x30000);
  }
  if (icon == nullptr) return false;
  image.icon.Reset(icon);
  ICONINFO parts{};
  if (!GetIconInfo(icon, &parts)) return false;
  BitmapHolder colour(parts.hbmColor);
  BitmapHolder mask(parts.hbmMask);
  BITMAP facts{};
  if (colour) {
    GetObjectA(colour.Get(), sizeof facts, &facts);
  } else if (GetObjectA(mask.Get(), sizeof facts, &facts) != 0) {
    facts.bmHeight /= 2;  // a monochrome icon's mask holds the picture above the mask
  }
  image.width = facts.bmWidth;
  image.height = facts.bmHeight;
  image.depth = facts.bmBitsPixel;
  image.sourceDepth = entry.bitsPerPixel;
  return image.width > 0;
}

bool FromDecoders(const uint8_t* data, std::size_t length, ImageRecord& image) {
  DecodingContext context;
  BitmapHolder bitmap;
  auto allocate = [&bitmap](const DecodingContext& found) {
    // A positive height: bottom-up, so the first image row lands in the last memory row.
    bitmap.Reset(CreateBitmapSection(found.width, found.height, found.depth));
    return bitmap ? SectionRows(bitmap.Get()) : PixelRows{};
  };
  if (!DecodeWithRegistry(data, length, allocate, context)) return false;
  image.bitmap = std::move(bitmap);
  image.width = context.width;
  image.height = context.height;
  image.depth = context.depth;
  image.sourceDepth = context.sourceDepth;
  return true;
}

// The platform's stretching copy: halftone for smooth scaling, otherwise
// colour on colour.
bool Stretch(HBITMAP source, SIZE size, HBITMAP target, int width, int height, int mode) {
  MemoryContext from(source);
  MemoryContext to(target);
  if (from.Get() == nullptr || to.Get() == nullptr) return false;
  if (mode == SmoothScaling) {
    SetStretchBltMode(to.Get(), HALFTONE);
    SetBrushOrgEx(to.Get(), 0, 0, nullptr);
  } else {
    SetStretchBltMode(to.Get(), COLORONCOLOR);
  }
  return StretchBlt(to.Get(), 0, 0, width, height, from.Get(), 0, 0, size.cx, size.cy, SRCCOPY) !=
         FALSE;
}

// A width x height bitmap section of `depth` bits scaled from `source`: the
// smooth resampler for a 32-bit section in smooth mode (with AlphaBlend to
// show it), else the platform's stretch. Empty on failure.
BitmapHolder ScaledCopy(HBITMAP source, int depth, int width, int height, int mode) {
  BITMAP facts{};
  BitmapHolder scaled(CreateBitmapSection(width, height, depth));
  if (!scaled || GetObjectA(source, sizeof facts, &facts) == 0) return BitmapHolder();
  PixelRows rows = SectionRows(source);
  bool smooth = AlphaBlender() != nullptr && mode == SmoothScaling && rows.depth == 32;
  bool done = smooth ? ResampleSmooth(rows, SectionRows(scaled.Get()))
                     : Stretch(source, SIZE{facts.bmWidth, std::abs(facts.bmHeight)}, scaled.Get(),
                               width, height, mode);
  return done ? std::move(scaled) : BitmapHolder();
}

// A pixel-for-pixel copy of a bitmap section; empty for any other bitmap.
BitmapHolder CopySection(HBITMAP section) {
  const PixelRows from = SectionRows(section);
  BitmapHolder copy(from.firstRow != nullptr
                        ? CreateBitmapSection(from.width, from.height, from.depth)
                        : nullptr);
  const PixelRows to = SectionRows(copy.Get());
  if (to.firstRow == nullptr) return BitmapHolder();
  for (int y = 0; y < from.height; ++y) {
    std::memcpy(to.firstRow + y * to.stride, from.firstRow + y * from.stride,
                BitmapStride(from.width, from.depth));
  }
  return copy;
}

}  // namespace

HBITMAP CreateBitmapSection(int width, int height, int depth, void** bits) {
  if (!ImageSizeAllowed(width, height)) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<WORD>(depth);
  info.bmiHeader.biCompression = BI_RGB;
  void* ignored = nullptr;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits != nullptr ? bits : &ignored,
                          nullptr, 0);
}

PixelRows SectionRows(HBITMAP bitmap) {
  DIBSECTION section{};
  if (GetObjectA(bitmap, sizeof section, &section) != sizeof section ||
      section.dsBm.bmBits == nullptr) {
    return PixelRows{};
  }
  GdiFlush();  // drawing into the section is finished before its bits are touched
  auto* bits = static_cast<uint8_t*>(section.dsBm.bmBits);
  std::ptrdiff_t stride = section.dsBm.bmWidthBytes;
  int height = std::abs(section.dsBm.bmHeight);
  bool topDown = section.dsBmih.biHeight < 0;
  PixelRows rows;
  rows.firstRow = topDown ? bits : bits + (height - 1) * stride;
  rows.stride = topDown ? stride : -stride;
  rows.width = section.dsBm.bmWidth;
  rows.height = height;
  rows.depth = section.dsBm.bmBitsPixel;
  return rows;
}

ImageService::ImageService() {
  RegisterImageDecoder(PngDecoder);
}

IdTable<ImageRecord>& ImageTable() {
  return Toolkit().images.table;
}

AlphaBlendFunction AlphaBlender() {
  return Toolkit().images.msimg32.Find<AlphaBlendFunction>("AlphaBlend");
}

int DecodeImage(int id, const void* data, std::size_t length) {
  if (data == nullptr || !FreeForIdResult(ImageTable(), id)) return 0;
  const auto* bytes = static_cast<const uint8_t*>(data);
  ImageRecord image;
  bool made = false;
  switch (DetectImageFormat(bytes, length)) {
    case ImageFormat::BitmapFile:
      made = FromBitmapFile(bytes, length, image);
      break;
    case ImageFormat::IconFile:
      made = FromIconFile(bytes, length, image);
      break;
    case ImageFormat::Other:
      made = FromDecoders(bytes, length, image);
      break;
  }
  if (!made) return 0;
  return AddForIdResult(ImageTable(), id, std::move(image));
}

NativeHandle ScaleImage(int image, int width, int height, int mode) {
  ImageRecord* record = ImageTable().Find(image);
  if (record == nullptr || !record->bitmap) return nullptr;
  if (width == record->width && height == record->height) return record->bitmap.Get();
  BitmapHolder scaled = ScaledCopy(record->bitmap.Get(), record->depth, width, height, mode);
  // On failure the new bitmap goes and the image keeps its old one.
  if (!scaled) return nullptr;
  if (!record->decoded) record->decoded = CopySection(record->bitmap.Get());
  record->bitmap = std::move(scaled);
  record->width = width;
  record->height = height;
  record->scalingMode = mode;
  return record->bitmap.Get();
}

BitmapHolder RenderImage(HBITMAP shown, int width, int height) {
  for (int id : ImageTable().Ids()) {
    const ImageRecord& record = *ImageTable().Find(id);
    if (record.bitmap.Get() != shown) continue;
    HBITMAP source = record.decoded ? record.decoded.Get() : shown;
    return ScaledCopy(source, record.depth, width, height, record.scalingMode);
  }
  BITMAP facts{};
  if (GetObjectA(shown, sizeof facts, &facts) == 0) return BitmapHolder();
  return ScaledCopy(shown, facts.bmBitsPixel == 32 ? 32 : 24, width, height, SmoothScaling);
}

NativeHandle NativeImageHandle(int image) {
  ImageRecord* record = ImageTable().Find(image);
  if (record == nullptr) return nullptr;
  return record->bitmap ? static_cast<NativeHandle>(record->bitmap.Get()) : record->icon.Get();
}

ImageFacts ImageFactsOf(int image) {
  ImageRecord* record = ImageTable().Find(image);
  if (record == nullptr) return ImageFacts{0, 0, 0, 0, false};
  return ImageFacts{record->width, record->height, record->depth, record->sourceDepth,
                    static_cast<bool>(record->icon)};
}

void ReleaseImage(int image) {
  ImageTable().Remove(image);
}

void ReleaseAllImages() {
  ImageTable().Clear();
}

int LiveImageCount() {
  return static_cast<int>(ImageTable().Size());
}
