// Images decoded from files in memory (bitmap, icon and PNG files), scaled,
// and handed to controls as native bitmaps or icons. Images are named by ids;
// operations on a dead id do nothing and return 0.
#pragma once

#include <cstddef>

#include "toolkit/windows.hpp"

// ScaleImage modes.
constexpr int SmoothScaling = 0;  // alpha-aware resampling, else a halftone stretch
constexpr int RawScaling = 1;     // colour-on-colour stretch

// Decodes `length` bytes at `data` (a bitmap, icon or PNG file); nothing past
// them is read. Returns the new image's id, or 0 when the data is in no known
// format, is damaged or the bitmap cannot be made.
int DecodeImage(int id, const void* data, std::size_t length);
// Scales a bitmap image to width x height and returns its new native bitmap.
// Native handles obtained before become invalid. 0 for a dead id, an icon, or
// a failure, which leaves the image as it was.
NativeHandle ScaleImage(int image, int width, int height, int mode = SmoothScaling);
// The native bitmap or icon; owned by the image, null for a dead id.
NativeHandle NativeImageHandle(int image);
// Frees the native object. Controls showing it must be gone first.
void ReleaseImage(int image);
void ReleaseAllImages();
