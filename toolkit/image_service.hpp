// The images the toolkit holds and what drawing them needs: the image table,
// AlphaBlend from msimg32 (loaded with the first image that needs it) and
// bitmap sections.
#pragma once

#include <windows.h>

#include "base/ids.hpp"
#include "imaging/image_codecs.hpp"
#include "toolkit/late_library.hpp"
#include "toolkit/win32_holders.hpp"

struct ImageRecord {
  BitmapHolder bitmap;  // a bitmap section, or
  IconHolder icon;      // an icon
  int width = 0;
  int height = 0;
  int depth = 0;
  int sourceDepth = 0;
  // A copy of the decoded bitmap once scaling has replaced it, and that
  // scaling's mode: views at another DPI scale the image afresh from it.
  BitmapHolder decoded;
  int scalingMode = 0;
};

using AlphaBlendFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int,
                                         BLENDFUNCTION);

// Registers the decoders; the images still alive go with it.
struct ImageService {
  ImageService();
  IdTable<ImageRecord> table;
  LateLibrary msimg32{"msimg32.dll"};
};

IdTable<ImageRecord>& ImageTable();
// msimg32's AlphaBlend, or null where it does not exist.
AlphaBlendFunction AlphaBlender();
// A width x height bitmap section of `depth` bits per pixel, bottom-up for a
// positive height, top-down for a negative one; null when it cannot be made.
// `bits`, when given, receives the address of its pixels.
HBITMAP CreateBitmapSection(int width, int height, int depth, void** bits = nullptr);
// The pixels of a bitmap section, top row first; rows with a null firstRow
// for any other bitmap.
PixelRows SectionRows(HBITMAP bitmap);
// A width x height copy of `shown`, for a view at another DPI: an image's
// bitmap is scaled from its decoded pixels in its scaling mode, any other
// bitmap smoothly from itself. Null when it cannot be made.
BitmapHolder RenderImage(HBITMAP shown, int width, int height);
