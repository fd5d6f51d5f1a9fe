// Designed lengths, given in pixels at 96 DPI, and the pixels they take at
// another DPI. Every position, size and font of the program's windows is
// designed at 96 DPI. Portable: no platform header.
#pragma once

constexpr int DesignDpi = 96;

// value * dpi / 96, rounded to the nearest pixel (halves away from zero, as
// the platform's MulDiv rounds).
int ScaleToDpi(int value, int dpi);
// The designed value that ScaleToDpi turns into `pixels`: the exact inverse
// for every dpi of 96 and more, the nearest value below 96.
int UnscaleFromDpi(int pixels, int dpi);
// The least designed value that ScaleToDpi turns into `pixels` (>= 0) or
// more: measured text still fits in its designed width once that is scaled.
int UnscaleToCover(int pixels, int dpi);

// A run of pixels along one axis, such as a control's left edge and width.
struct PixelSpan {
  int start;
  int length;
};
// Both ends of the designed run are scaled, so that runs that meet at 96 DPI
// meet at any DPI and each edge is within half a pixel of the exact one.
PixelSpan ScaleSpan(int start, int length, int dpi);
