// Time to decode the About window's logo (128 x 128 PNG) and scale it smoothly
// to 100 x 100, in microseconds: the portable decoder and resampler over pixel
// buffers, and in a Windows build also the image service the window calls
// (DecodeImage, ScaleImage and ReleaseImage over bitmap sections).
// A plain timing loop, so that the same program builds natively and for Windows
// (run it through wine there).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "assets/logo.hpp"
#include "imaging/image_codecs.hpp"
#ifdef _WIN32
#include "toolkit/images.hpp"
#include "toolkit/toolkit_start.hpp"
#endif

namespace {

constexpr int Runs = 500;
constexpr int Side = 128, ScaledSide = 100;

std::vector<uint8_t> decoded(Side*Side * 4), scaled(ScaledSide*ScaledSide * 4);

PixelRows DecodedRows() {
  return PixelRows{decoded.data(), Side * 4, Side, Side, 32};
}

bool Decode() {
  DecodingContext context;
  return DecodeWithRegistry(
      LogoPng, LogoPngLength, [](const DecodingContext&) { return DecodedRows(); }, context);
}

bool Scale() {
  return ResampleSmooth(DecodedRows(),
                        PixelRows{scaled.data(), ScaledSide * 4, ScaledSide, ScaledSide, 32});
}

// Prints the median and the fastest of Runs timed calls; false when one failed.
bool Measure(const char* name, const std::function<bool()>& work) {
  std::vector<double> microseconds;
  bool ok = work();  // warm-up
  for (int run = 0; run < Runs && ok; ++run) {
    auto start = std::chrono::steady_clock::now();
    ok = work();
    std::chrono::duration<double, std::micro> taken = std::chrono::steady_clock::now() - start;
    microseconds.push_back(taken.count());
  }
  if (!ok) {
    std::printf("%-46s failed\n", name);
    return false;
  }
  std::sort(microseconds.begin(), microseconds.end());
  std::printf("%-46s median %8.1f us, fastest %8.1f us (%d runs)\n", name,
              microseconds[microseconds.size() / 2], microseconds.front(), Runs);
  return true;
}

}  // namespace

int main() {
  RegisterImageDecoder(PngDecoder);
  bool ok = Measure("decode (PNG to pixel buffer)", Decode);
  ok = Measure("smooth scale 128 -> 100 (pixel buffers)", Scale) && ok;
  ok = Measure("decode + smooth scale (pixel buffers)", [] { return Decode() && Scale(); }) && ok;
#ifdef _WIN32
  ToolkitStart();
  ok = Measure("DecodeImage + ScaleImage + ReleaseImage",
               [] {
                 int logo = DecodeImage(AutoId, LogoPng, LogoPngLength);
                 bool done = ScaleImage(logo, ScaledSide, ScaledSide) != nullptr;
                 ReleaseImage(logo);
                 return done;
               }) &&
       ok;
  ToolkitStop();
#endif
  return ok ? 0 : 1;
}
