// Image files and pixels: every PNG colour type decodes to the right bytes,
// and damaged or lying files fail without a read past their data (each
// sample lives in a buffer of exactly its length, so AddressSanitizer sees any).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/unit/image_samples.hpp"
#include "toolkit/image_codecs.hpp"

namespace {

struct Decoded {
  bool ok = false;
  DecodingContext context;
  std::vector<uint8_t> bitmap;  // bottom-up rows, as in a bitmap section
  PixelRows rows;
};

Decoded DecodePng(const Bytes& file) {
  RegisterImageDecoder(PngDecoder);
  Decoded out;
  auto allocate = [&out](const DecodingContext& found) {
    auto stride = static_cast<std::ptrdiff_t>(BitmapStride(found.width, found.depth));
    out.bitmap.assign(static_cast<std::size_t>(stride) * found.height, 0);
    out.rows = PixelRows{out.bitmap.data() + (found.height - 1) * stride, -stride, found.width,
                         found.height, found.depth};
    return out.rows;
  };
  out.ok = DecodeWithRegistry(file.data(), file.size(), allocate, out.context);
  return out;
}

Rgba PixelAt(const PixelRows& rows, int x, int y) {
  const uint8_t* p = rows.firstRow + y * rows.stride + x * (rows.depth / 8);
  return Rgba{p[0], p[1], p[2], rows.depth == 32 ? p[3] : uint8_t{255}};
}

// Sums every byte of [offset, offset + length): a range past the data is a
// read that AddressSanitizer reports.
unsigned Touch(const Bytes& file, std::size_t offset, std::size_t length) {
  unsigned sum = 0;
  for (std::size_t i = 0; i < length; ++i)
    sum += file.data()[offset + i];
  return sum;
}

// Whether the image code accepts the file, reading everything it says it may.
bool Accepts(const Bytes& file) {
  switch (DetectImageFormat(file.data(), file.size())) {
    case ImageFormat::BitmapFile: {
      BitmapFileLayout layout;
      if (!ReadBitmapFileLayout(file.data(), file.size(), layout)) return false;
      return Touch(file, layout.infoOffset, layout.infoLength) +
                 Touch(file, layout.pixelOffset, layout.pixelLength) !=
             ~0u;
    }
    case ImageFormat::IconFile: {
      IconEntryLayout entry;
      return ChooseIconEntry(file.data(), file.size(), entry) &&
             Touch(file, entry.offset, entry.length) != ~0u;
    }
    case ImageFormat::Other:
      break;
  }
  return DecodePng(file).ok;
}

void Put32At(Bytes& file, std::size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    file[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

constexpr int SampleWidth = 9, SampleHeight = 7;  // every Adam7 pass has pixels

// ----- Decoding ----------------------------------------------------------------

struct PngCase {
  PngKind kind;
  int depth;
  int sourceDepth;
};

TEST(PngDecoding, EveryColourTypeGivesBlueGreenRedAlphaRows) {
  const PngCase cases[] = {
      {PngKind::Grey2, 24, 2},      {PngKind::Grey8, 24, 8},
      {PngKind::Rgb8, 24, 24},      {PngKind::Palette8Trns, 32, 8},
      {PngKind::GreyAlpha8, 32, 8}, {PngKind::Rgba8, 32, 32},
      {PngKind::Rgba16, 32, 32},    {PngKind::Rgba8Interlaced, 32, 32},
  };
  for (const PngCase& test : cases) {
    SCOPED_TRACE(static_cast<int>(test.kind));
    Decoded decoded = DecodePng(MakePng(test.kind, SampleWidth, SampleHeight));
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.context.width, SampleWidth);
    EXPECT_EQ(decoded.context.height, SampleHeight);
    EXPECT_EQ(decoded.context.depth, test.depth);
    EXPECT_EQ(decoded.context.sourceDepth, test.sourceDepth);
    for (int y = 0; y < SampleHeight; ++y) {
      for (int x = 0; x < SampleWidth; ++x)
        ASSERT_EQ(PixelAt(decoded.rows, x, y), DecodedPixel(test.kind, x, y)) << x << "," << y;
    }
  }
}

// ----- Damaged and lying files ---------------------------------------------------

TEST(DamagedFiles, EveryTruncationFailsWithoutReadingPastTheData) {
  Bytes png = MakePng(PngKind::Rgba8, SampleWidth, SampleHeight);
  Bytes bitmap = MakeBitmapFile(SampleWidth, SampleHeight, false);
  Bytes icon = MakeIconFile();
  struct Sample {
    const char* name;
    const Bytes& file;
    std::size_t neededLength;  // shortest prefix that still decodes
  };
  const Sample samples[] = {
      {"png", png, png.size() - 12},  // everything but IEND
      {"bitmap", bitmap, bitmap.size()},
      {"icon", icon, IconImageOffset(icon, 2)},  // the chosen 16 x 16, 32-bit entry
  };
  for (const Sample& sample : samples) {
    for (std::size_t length = 0; length <= sample.file.size(); ++length) {
      Bytes prefix(sample.file.begin(), sample.file.begin() + static_cast<std::ptrdiff_t>(length));
      ASSERT_EQ(Accepts(prefix), length >= sample.neededLength) << sample.name << " " << length;
    }
  }
}

TEST(DamagedFiles, LyingSizesAndOffsetsFail) {
  Bytes png = MakePng(PngKind::Rgba8, SampleWidth, SampleHeight);
  Bytes bitmap = MakeBitmapFile(SampleWidth, SampleHeight, false);
  Bytes icon = MakeIconFile();
  const std::size_t idatLength = std::string(png.begin(), png.end()).find("IDAT") - 4;
  const std::size_t entry1 = 6 + 16;
  struct Lie {
    const char* name;
    const Bytes& file;
    std::size_t at;
    uint32_t value;
  };
  const Lie lies[] = {
      {"IDAT longer than the file", png, idatLength, 0x7FFFFFF0},
      {"pixel offset past the end", bitmap, 10, static_cast<uint32_t>(bitmap.size())},
      {"more rows than pixels", bitmap, 22, SampleHeight + 1},
      {"negative width", bitmap, 18, 0xFFFFFFFF},
      {"height -2^31", bitmap, 22, 0x80000000},
      {"colour table past the end", bitmap, 46, 100},
      {"more icons than the directory holds", icon, 4, 1000},
      {"icon image past the end", icon, entry1 + 12, static_cast<uint32_t>(icon.size())},
      {"icon image longer than the file", icon, entry1 + 8, static_cast<uint32_t>(icon.size())},
      {"icon taller than its image", icon, IconImageOffset(icon, 1) + 8, 2 * 64},
  };
  for (const Lie& lie : lies) {
    Bytes file = lie.file;
    ASSERT_TRUE(Accepts(file)) << lie.name;
    Put32At(file, lie.at, lie.value);
    EXPECT_FALSE(Accepts(file)) << lie.name;
  }
}

}  // namespace
