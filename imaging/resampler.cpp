// Smooth, alpha-aware scaling of 32-bit pixels with the Mitchell-Netravali
// cubic (B = C = 1/3), in two one-dimensional passes. Each pass computes its
// contribution lists once and uses them for every row or column.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

#include "imaging/image_codecs.hpp"

namespace {

constexpr double B = 1.0 / 3.0;
constexpr double C = 1.0 / 3.0;
constexpr double FilterRadius = 2.0;
constexpr int Channels = 4;

double Mitchell(double x) {
  double t = std::fabs(x);
  if (t < 1) {
    return ((12 - 9 * B - 6 * C) * t * t * t + (-18 + 12 * B + 6 * C) * t * t + (6 - 2 * B)) / 6;
  }
  if (t < 2) {
    return ((-B - 6 * C) * t * t * t + (6 * B + 30 * C) * t * t + (-12 * B - 48 * C) * t +
            (8 * B + 24 * C)) /
           6;
  }
  return 0;
}

// The weighted sum plus 0.5, truncated toward zero, clamped to a byte.
uint8_t ToByte(double sum) {
  double rounded = std::trunc(sum + 0.5);
  if (rounded < 0) return 0;
  if (rounded > 255) return 255;
  return static_cast<uint8_t>(rounded);
}

// Where one pass reads and writes: `lines` lines, each of samples `sampleStep`
// bytes apart; consecutive lines `lineStep` bytes apart.
struct PassLayout {
  const uint8_t* in;
  std::ptrdiff_t inLineStep;
  std::ptrdiff_t inSampleStep;
  uint8_t* out;
  std::ptrdiff_t outLineStep;
  std::ptrdiff_t outSampleStep;
  int lines;
  bool whitenTransparent;  // read pixels with alpha 0 as white
};

void ScaleLines(const PassLayout& pass, const Contributions& lists) {
  int outCount = static_cast<int>(lists.first.size());
  for (int line = 0; line < pass.lines; ++line) {
    const uint8_t* in = pass.in + line * pass.inLineStep;
    uint8_t* out = pass.out + line * pass.outLineStep;
    for (int i = 0; i < outCount; ++i) {
      double sums[Channels] = {0, 0, 0, 0};
      const double* weights = &lists.weights[static_cast<std::size_t>(i) * lists.maxCount];
      for (int k = 0; k < lists.count[i]; ++k) {
        const uint8_t* pixel = in + (lists.first[i] + k) * pass.inSampleStep;
        bool white = pass.whitenTransparent && pixel[3] == 0;
        for (int channel = 0; channel < 3; ++channel)
          sums[channel] += weights[k] * (white ? 255 : pixel[channel]);
        sums[3] += weights[k] * pixel[3];
      }
      uint8_t* target = out + i * pass.outSampleStep;
      for (int channel = 0; channel < Channels; ++channel)
        target[channel] = ToByte(sums[channel]);
    }
  }
}

}  // namespace

Contributions ComputeContributions(int nIn, int nOut) {
  Contributions lists;
  lists.scale = static_cast<double>(nOut) / nIn;
  double filterScale = lists.scale < 1 ? lists.scale : 1.0;
  lists.support = FilterRadius / filterScale;
  lists.maxCount = 2 * static_cast<int>(std::ceil(lists.support)) + 1;
  lists.first.resize(static_cast<std::size_t>(nOut));
  lists.count.resize(static_cast<std::size_t>(nOut));
  lists.weights.assign(static_cast<std::size_t>(nOut) * lists.maxCount, 0.0);
  for (int i = 0; i < nOut; ++i) {
    double centre = (i + 0.5) / lists.scale - 0.5;
    int first = std::max(0, static_cast<int>(std::floor(centre - lists.support)));
    int last = std::min(static_cast<int>(std::ceil(centre + lists.support)), nIn - 1);
    if (last - first + 1 > lists.maxCount) {
      if (first < nIn) {
        ++first;
      } else {
        --last;
      }
    }
    double* weights = &lists.weights[static_cast<std::size_t>(i) * lists.maxCount];
    double sum = 0;
    for (int j = first; j <= last; ++j) {
      weights[j - first] = filterScale * Mitchell(filterScale * (centre - j));
      sum += weights[j - first];
    }
    if (sum != 0 && sum != 1) {
      for (int j = first; j <= last; ++j)
        weights[j - first] /= sum;
    }
    lists.first[i] = first;
    lists.count[i] = last - first + 1;
  }
  return lists;
}

bool ResampleSmooth(const PixelRows& source, const PixelRows& target) {
  if (source.depth != 32 || target.depth != 32 || source.width <= 0 || source.height <= 0 ||
      target.width <= 0 || target.height <= 0) {
    return false;
  }
  try {
    const std::ptrdiff_t pixel = Channels;
    Contributions across = ComputeContributions(source.width, target.width);
    Contributions down = ComputeContributions(source.height, target.height);
    bool rowsFirst = static_cast<int64_t>(source.height) * target.width <=
                     static_cast<int64_t>(source.width) * target.height;
    int middleWidth = rowsFirst ? target.width : source.width;
    int middleHeight = rowsFirst ? source.height : target.height;
    std::vector<uint8_t> middle(static_cast<std::size_t>(middleWidth) * middleHeight * Channels);
    const std::ptrdiff_t middleRow = static_cast<std::ptrdiff_t>(middleWidth) * Channels;
    if (rowsFirst) {
      ScaleLines({source.firstRow, source.stride, pixel, middle.data(), middleRow, pixel,
                  source.height, true},
                 across);
      ScaleLines({middle.data(), pixel, middleRow, target.firstRow, pixel, target.stride,
                  target.width, false},
                 down);
    } else {
      ScaleLines({source.firstRow, pixel, source.stride, middle.data(), pixel, middleRow,
                  source.width, true},
                 down);
      ScaleLines({middle.data(), middleRow, pixel, target.firstRow, target.stride, pixel,
                  target.height, false},
                 across);
    }
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}
