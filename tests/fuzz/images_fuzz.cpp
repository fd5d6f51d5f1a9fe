// Fuzzes what DecodeImage runs on data from anywhere, in its order: format
// detection, the bitmap and icon layouts (every range they report is read, so
// that AddressSanitizer sees one reaching past the data), the PNG decoder (on
// the input and on a copy with its chunk checksums repaired, so that mutations
// get past them) and the resampler on whatever decodes with alpha.
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/image_codecs.hpp"
#include "tests/fuzz/fuzz_check.hpp"

namespace {

constexpr int64_t MostPixels = 1 << 20;  // larger claims are not decoded, to keep runs fast
constexpr uint8_t PngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// Reads every byte of a range the layouts vouched for.
unsigned ReadRange(const uint8_t* data, std::size_t size, std::size_t offset, std::size_t length) {
  FUZZ_CHECK(offset <= size && length <= size - offset);
  unsigned sum = 0;
  for (std::size_t i = 0; i < length; ++i)
    sum += data[offset + i];
  return sum;
}

void CheckBitmapFile(const uint8_t* data, std::size_t size) {
  BitmapFileLayout bitmap;
  if (!ReadBitmapFileLayout(data, size, bitmap)) return;
  ReadRange(data, size, bitmap.infoOffset, bitmap.infoLength);
  ReadRange(data, size, bitmap.pixelOffset, bitmap.pixelLength);
  FUZZ_CHECK(bitmap.width > 0 && bitmap.height != 0);
  FUZZ_CHECK(bitmap.depth == 24 || bitmap.depth == 32);
}

void CheckIconFile(const uint8_t* data, std::size_t size) {
  IconEntryLayout icon;
  if (!ChooseIconEntry(data, size, icon)) return;
  ReadRange(data, size, icon.offset, icon.length);
  FUZZ_CHECK(icon.width > 0 && icon.height > 0);
}

void DecodeAndScale(const uint8_t* data, std::size_t size) {
  std::vector<uint8_t> bitmap;
  PixelRows rows;
  auto allocate = [&](const DecodingContext& found) {
    FUZZ_CHECK(found.width > 0 && found.height > 0);
    FUZZ_CHECK(found.depth == 24 || found.depth == 32);
    if (static_cast<int64_t>(found.width) * found.height > MostPixels) return PixelRows{};
    auto stride = static_cast<std::ptrdiff_t>(BitmapStride(found.width, found.depth));
    bitmap.assign(static_cast<std::size_t>(stride) * found.height, 0);
    rows = PixelRows{bitmap.data(), stride, found.width, found.height, found.depth};
    return rows;
  };
  DecodingContext context;
  if (!DecodeWithRegistry(data, size, allocate, context) || rows.depth != 32) return;
  PixelRows target{nullptr, 0, rows.width / 2 + 1, std::min(rows.height * 2, 64) + 1, 32};
  std::vector<uint8_t> scaled(static_cast<std::size_t>(target.width) * target.height * 4);
  target.firstRow = scaled.data();
  target.stride = static_cast<std::ptrdiff_t>(target.width) * 4;
  FUZZ_CHECK(ResampleSmooth(rows, target));
}

// A copy of a PNG stream whose chunk checksums are right.
std::vector<uint8_t> WithChunkChecksums(const uint8_t* data, std::size_t size) {
  std::vector<uint8_t> copy(data, data + size);
  std::size_t at = sizeof PngSignature;
  while (at + 12 <= copy.size()) {
    uint32_t length = static_cast<uint32_t>(copy[at] << 24 | copy[at + 1] << 16 |
                                            copy[at + 2] << 8 | copy[at + 3]);
    if (length > copy.size() - at - 12) break;
    uLong crc = crc32(0, &copy[at + 4], length + 4);
    for (int i = 0; i < 4; ++i)
      copy[at + 8 + length + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    at += 12 + length;
  }
  return copy;
}

}  // namespace

// The paths DecodeImage takes, in its order.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  RegisterImageDecoder(PngDecoder);
  switch (DetectImageFormat(data, size)) {
    case ImageFormat::BitmapFile:
      CheckBitmapFile(data, size);
      break;
    case ImageFormat::IconFile:
      CheckIconFile(data, size);
      break;
    case ImageFormat::Other:
      DecodeAndScale(data, size);
      if (size >= sizeof PngSignature &&
          std::memcmp(data, PngSignature, sizeof PngSignature) == 0) {
        std::vector<uint8_t> repaired = WithChunkChecksums(data, size);
        DecodeAndScale(repaired.data(), repaired.size());
      }
      break;
  }
  return 0;
}
