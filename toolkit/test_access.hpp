// What the toolkit's own tests read beside the public operations: counts of
// live objects for leak checks, and image internals (bitmap sections and
// their pixels). Not for the program.
#pragma once

#include "toolkit/image_service.hpp"

// Live objects of each kind, and undelivered events of this thread.
int LiveControlCount();
int LiveFontCount();
int LiveImageCount();
int EventQueueLength();
// Number of distinct colour brushes alive.
int SharedBrushCount();

// What an image holds, all 0 for a dead id.
struct ImageFacts {
  int width;
  int height;
  int depth;        // bits per pixel of the native bitmap
  int sourceDepth;  // bits per pixel (or per sample) of the file
  bool isIcon;
};
ImageFacts ImageFactsOf(int image);
