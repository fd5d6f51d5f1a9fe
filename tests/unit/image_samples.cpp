#include "tests/unit/image_samples.hpp"

#include <png.h>

namespace {

void Put16(Bytes& out, unsigned value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(Bytes& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

void AppendToBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

// One PNG row of the pattern in the kind's sample layout.
Bytes PngRow(PngKind kind, int y, int width) {
  Bytes row;
  for (int x = 0; x < width; ++x) {
    Rgba p = PatternPixel(x, y);
    switch (kind) {
      case PngKind::Grey2:
        if (x % 4 == 0) row.push_back(0);
        row.back() |= static_cast<uint8_t>(((x + y) % 4) << (6 - 2 * (x % 4)));
        break;
      case PngKind::Grey8:
        row.push_back(p[0]);
        break;
      case PngKind::Rgb8:
        row.insert(row.end(), {p[0], p[1], p[2]});
        break;
      case PngKind::Palette8Trns:
        row.push_back(static_cast<uint8_t>(y * width + x));
        break;
      case PngKind::GreyAlpha8:
        row.insert(row.end(), {p[0], p[3]});
        break;
      case PngKind::Rgba16:
        for (uint8_t v : p)
          row.insert(row.end(), {v, v});  // v * 257, big-endian
        break;
      case PngKind::Rgba8:
      case PngKind::Rgba8Interlaced:
        row.insert(row.end(), p.begin(), p.end());
        break;
    }
  }
  return row;
}

struct KindFormat {
  int colourType;
  int bitDepth;
};

KindFormat FormatOf(PngKind kind) {
  switch (kind) {
    case PngKind::Grey2:
      return {PNG_COLOR_TYPE_GRAY, 2};
    case PngKind::Grey8:
      return {PNG_COLOR_TYPE_GRAY, 8};
    case PngKind::Rgb8:
      return {PNG_COLOR_TYPE_RGB, 8};
    case PngKind::Palette8Trns:
      return {PNG_COLOR_TYPE_PALETTE, 8};
    case PngKind::GreyAlpha8:
      return {PNG_COLOR_TYPE_GRAY_ALPHA, 8};
    case PngKind::Rgba16:
      return {PNG_COLOR_TYPE_RGBA, 16};
    case PngKind::Rgba8:
    case PngKind::Rgba8Interlaced:
      break;
  }
  return {PNG_COLOR_TYPE_RGBA, 8};
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
  KindFormat format = FormatOf(kind);
  png_set_IHDR(png, info, width, height, format.bitDepth, format.colourType,
               kind == PngKind::Rgba8Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette;
  Bytes alphas;
  if (kind == PngKind::Palette8Trns) {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        Rgba p = PatternPixel(x, y);
        palette.push_back(png_color{p[0], p[1], p[2]});
        alphas.push_back(p[3]);
      }
    }
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
  switch (kind) {
    case PngKind::Grey2: {
      auto grey = static_cast<uint8_t>((x + y) % 4 * 85);
      return Rgba{grey, grey, grey, 255};
    }
    case PngKind::Grey8:
      return Rgba{p[0], p[0], p[0], 255};
    case PngKind::Rgb8:
      return Rgba{p[2], p[1], p[0], 255};
    case PngKind::GreyAlpha8:
      return Rgba{p[0], p[0], p[0], p[3]};
    default:
      return Rgba{p[2], p[1], p[0], p[3]};
  }
}

Bytes MakeBitmapFile(int width, int height, bool zeroAlpha) {
  Bytes out = {'B', 'M'};
  Put32(out, static_cast<uint32_t>(54 + 4 * width * height));
  Put32(out, 0);
  Put32(out, 54);  // pixel offset
  for (uint32_t field : {40u, static_cast<uint32_t>(width), static_cast<uint32_t>(height)})
    Put32(out, field);
  Put16(out, 1);
  Put16(out, 32);
  for (int i = 0; i < 6; ++i)
    Put32(out, 0);  // BI_RGB, sizes, resolutions, colours
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      Rgba p = PatternPixel(x, y);
      out.insert(out.end(), {p[2], p[1], p[0], zeroAlpha ? uint8_t{0} : p[3]});
    }
  }
  return out;
}

Bytes MakeIconFile() {
  struct Entry {
    int side;
    int bits;
  };
  const Entry entries[] = {{16, 8}, {16, 32}, {32, 32}};
  std::vector<Bytes> images;
  for (const Entry& entry : entries) {
    int side = entry.side;
    Bytes image;
    for (uint32_t field : {40u, static_cast<uint32_t>(side), static_cast<uint32_t>(2 * side)})
      Put32(image, field);
    Put16(image, 1);
    Put16(image, static_cast<unsigned>(entry.bits));
    for (int i = 0; i < 6; ++i)
      Put32(image, 0);
    if (entry.bits == 8) image.resize(image.size() + 256 * 4 + side * side, 0x40);
    for (int y = side - 1; y >= 0 && entry.bits == 32; --y) {
      for (int x = 0; x < side; ++x) {
        Rgba p = PatternPixel(x, y);
        image.insert(image.end(), {p[2], p[1], p[0], 255});
      }
    }
    image.resize(image.size() + static_cast<std::size_t>((side + 31) / 32 * 4 * side), 0);  // mask
    images.push_back(image);
  }
  Bytes out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, 3);
  std::size_t offset = 6 + 16 * images.size();
  for (std::size_t i = 0; i < images.size(); ++i) {
    out.insert(out.end(), {static_cast<uint8_t>(entries[i].side),
                           static_cast<uint8_t>(entries[i].side), 0, 0});
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(entries[i].bits));
    Put32(out, static_cast<uint32_t>(images[i].size()));
    Put32(out, static_cast<uint32_t>(offset));
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
