// Scaling designed lengths by DPI / 96 with rounding to the nearest pixel.
#include "base/scaling.hpp"

#include <cstdint>

namespace {

// numerator / denominator (> 0) rounded to the nearest integer, halves away from zero.
int DivideRounded(int64_t numerator, int64_t denominator) {
  const int64_t half = denominator / 2;
  return static_cast<int>(numerator >= 0 ? (numerator + half) / denominator
                                         : -((half - numerator) / denominator));
}

}  // namespace

int ScaleToDpi(int value, int dpi) {
  return DivideRounded(int64_t{value} * dpi, DesignDpi);
}

// Above 96 DPI neighbouring designed values lie more than a pixel apart once
// scaled, so rounding back finds the one value.
int UnscaleFromDpi(int pixels, int dpi) {
  return dpi > 0 ? DivideRounded(int64_t{pixels} * DesignDpi, dpi) : pixels;
}

// value * dpi / 96 rounds to pixels or more once it reaches pixels - 1/2.
int UnscaleToCover(int pixels, int dpi) {
  if (dpi <= 0 || pixels <= 0) return pixels > 0 ? pixels : 0;
  const int64_t numerator = (2 * int64_t{pixels} - 1) * DesignDpi;
  const int64_t denominator = 2 * int64_t{dpi};
  return static_cast<int>((numerator + denominator - 1) / denominator);
}

PixelSpan ScaleSpan(int start, int length, int dpi) {
  const int first = ScaleToDpi(start, dpi);
  return PixelSpan{first, ScaleToDpi(start + length, dpi) - first};
}
