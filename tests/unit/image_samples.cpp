#include "tests/unit/image_samples.hpp"

#include <png.h>

namespace {

void Put(Bytes& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// An information header of a 32-bit (or 8-bit) bottom-up bitmap.
void PutInfoHeader(Bytes& out, int width, int height, int bits) {
  for (uint32_t field : {40u, static_cast<uint32_t>(width), static_cast<uint32_t>(height)})
    Put(out, field, 4);
  Put(out, 1, 2);
  Put(out, static_cast<uint32_t>(bits), 2);
  out.insert(out.end(), 24, 0);  // uncompressed; sizes, resolutions and colour counts 0
}

// The pattern's pixels in blue, green, red, alpha order, bottom row first;
// every alpha byte `alpha` unless that is -1.
void PutPattern(Bytes& out, int width, int height, int alpha) {
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      Rgba p = PatternPixel(x, y);
      out.insert(out.end(), {p[2], p[1], p[0], alpha < 0 ? p[3] : static_cast<uint8_t>(alpha)});
    }
  }
}

struct PngFormat {
  int colourType;
  int bitDepth;
  std::vector<int> channels;  // of the pattern, in sample order
};

PngFormat FormatOf(PngKind kind) {
  switch (kind) {
    case PngKind::Grey2:
      return {PNG_COLOR_TYPE_GRAY, 2, {}};
    case PngKind::Grey8:
      return {PNG_COLOR_TYPE_GRAY, 8, {0}};
    case PngKind::Rgb8:
      return {PNG_COLOR_TYPE_RGB, 8, {0, 1, 2}};
    case PngKind::Palette8Trns:
      return {PNG_COLOR_TYPE_PALETTE, 8, {}};
    case PngKind::GreyAlpha8:
      return {PNG_COLOR_TYPE_GRAY_ALPHA, 8, {0, 3}};
    case PngKind::Rgba16:
      return {PNG_COLOR_TYPE_RGBA, 16, {0, 1, 2, 3}};
    default:
      return {PNG_COLOR_TYPE_RGBA, 8, {0, 1, 2, 3}};
  }
}

// One PNG row of the pattern in the kind's sample layout.
Bytes PngRow(PngKind kind, int y, int width) {
  PngFormat format = FormatOf(kind);
  Bytes row;
  for (int x = 0; x < width; ++x) {
    Rgba p = PatternPixel(x, y);
    if (kind == PngKind::Grey2) {
      if (x % 4 == 0) row.push_back(0);
      row.back() |= static_cast<uint8_t>((x + y) % 4 << (6 - 2 * (x % 4)));
    } else if (kind == PngKind::Palette8Trns) {
      row.push_back(static_cast<uint8_t>(y * width + x));
    }
    for (int channel : format.channels)
      row.insert(row.end(), format.bitDepth / 8, p[channel]);  // 16 bits: v * 257
  }
  return row;
}

void AppendToBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

}  // namespace

Rgba PatternPixel(int x, int y) {
  return Rgba{static_cast<uint8_t>(20 * x + 3), static_cast<uint8_t>(30 * y + 5),
              static_cast<uint8_t>(x * y * 7), static_cast<uint8_t>((x + y) * 15 % 211 + 30)};
}

// libpng's default error handler aborts without a jump target: a broken
// sample stops the test program loudly.
Bytes MakePng(PngKind kind, int width, int height) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, AppendToBytes, nullptr);
  PngFormat format = FormatOf(kind);
  png_set_IHDR(png, info, width, height, format.bitDepth, format.colourType,
               kind == PngKind::Rgba8Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette;
  Bytes alphas;
  for (int i = 0; kind == PngKind::Palette8Trns && i < width * height; ++i) {
    Rgba p = PatternPixel(i % width, i / width);
    palette.push_back(png_color{p[0], p[1], p[2]});
    alphas.push_back(p[3]);
  }
  if (!palette.empty()) {
    png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    png_set_tRNS(png, info, alphas.data(), static_cast<int>(alphas.size()), nullptr);
  }
  png_write_info(png, info);
  std::vector<Bytes> rows;
  std::vector<png_bytep> pointers;
  for (int y = 0; y < height; ++y)
    rows.push_back(PngRow(kind, y, width));
  for (Bytes& row : rows)
    pointers.push_back(row.data());
  png_write_image(png, pointers.data());  // all passes of an interlaced image
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

Rgba DecodedPixel(PngKind kind, int x, int y) {
  Rgba p = PatternPixel(x, y);
  auto grey = static_cast<uint8_t>(kind == PngKind::Grey2 ? (x + y) % 4 * 85 : p[0]);
  switch (kind) {
    case PngKind::Grey2:
    case PngKind::Grey8:
      return Rgba{grey, grey, grey, 255};
    case PngKind::GreyAlpha8:
      return Rgba{grey, grey, grey, p[3]};
    case PngKind::Rgb8:
      return Rgba{p[2], p[1], p[0], 255};
    default:
      return Rgba{p[2], p[1], p[0], p[3]};
  }
}

Bytes MakeBitmapFile(int width, int height, bool zeroAlpha) {
  Bytes out = {'B', 'M'};
  Put(out, static_cast<uint32_t>(54 + 4 * width * height), 4);
  Put(out, 0, 4);
  Put(out, 54, 4);  // pixel offset
  PutInfoHeader(out, width, height, 32);
  PutPattern(out, width, height, zeroAlpha ? 0 : -1);
  return out;
}

Bytes MakeIconFile() {
  const int entries[][2] = {{16, 8}, {16, 32}, {32, 32}};  // side, bits per pixel
  std::vector<Bytes> images;
  for (const auto& entry : entries) {
    int side = entry[0];
    Bytes image;
    PutInfoHeader(image, side, 2 * side, entry[1]);
    if (entry[1] == 8) image.resize(image.size() + 256 * 4 + side * side, 0x40);  // grey
    if (entry[1] == 32) PutPattern(image, side, side, 255);
    image.resize(image.size() + (side + 31) / 32 * 4 * side, 0);  // the mask: all shown
    images.push_back(image);
  }
  Bytes out;
  Put(out, 0, 2);
  Put(out, 1, 2);
  Put(out, 3, 2);
  std::size_t offset = 6 + 16 * images.size();
  for (std::size_t i = 0; i < images.size(); ++i) {
    auto side = static_cast<uint8_t>(entries[i][0]);
    out.insert(out.end(), {side, side, 0, 0});
    Put(out, 1, 2);
    Put(out, static_cast<uint32_t>(entries[i][1]), 2);
    Put(out, static_cast<uint32_t>(images[i].size()), 4);
    Put(out, static_cast<uint32_t>(offset), 4);
    offset += images[i].size();
  }
  for (const Bytes& image : images)
    out.insert(out.end(), image.begin(), image.end());
  return out;
}

std::size_t IconImageOffset(const Bytes& icon, int index) {
  const uint8_t* at = icon.data() + 6 + 16 * index + 12;
  return at[0] | at[1] << 8 | at[2] << 16 | static_cast<std::size_t>(at[3]) << 24;
}
