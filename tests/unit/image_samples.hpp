// Small image files made in memory for the image tests: PNG files of every
// colour type (written with libpng), bitmap files and icon files, all showing
// the same pattern of straight-alpha pixels.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

using Bytes = std::vector<uint8_t>;
using Rgba = std::array<uint8_t, 4>;

// The pattern every sample shows: distinct colours and alphas (30 .. 240).
Rgba PatternPixel(int x, int y);

enum class PngKind {
  Grey2,           // colour type 0, 2 bits per sample: (x + y) % 4
  Grey8,           // colour type 0: the pattern's red
  Rgb8,            // colour type 2
  Palette8Trns,    // colour type 3, one entry per pixel, alpha in tRNS
  GreyAlpha8,      // colour type 4: red and alpha
  Rgba8,           // colour type 6
  Rgba16,          // colour type 6, 16-bit samples (v * 257)
  Rgba8Interlaced  // colour type 6, Adam7
};
// A PNG of the pattern, width x height (at most 256 pixels for Palette8Trns).
Bytes MakePng(PngKind kind, int width, int height);
// The blue, green, red, alpha bytes a decoder must produce for pixel x, y of
// MakePng(kind, ...); alpha 255 for kinds without alpha.
Rgba DecodedPixel(PngKind kind, int x, int y);

// A 32-bit bitmap file of the pattern, bottom row first; with `zeroAlpha`
// every alpha byte is 0.
Bytes MakeBitmapFile(int width, int height, bool zeroAlpha);
// An icon file with 16 x 16 entries of 8 and 32 bits per pixel (the 32-bit
// one shows the pattern) and a 32 x 32 entry of 32 bits, in this order.
Bytes MakeIconFile();
// Offset of the image of icon-directory entry `index`.
std::size_t IconImageOffset(const Bytes& icon, int index);
