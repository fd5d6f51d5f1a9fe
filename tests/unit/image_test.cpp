// Image files and pixels: every PNG colour type decodes to the right bytes,
// damaged or lying files fail without a read past their data (each sample
// lives in a buffer of exactly its length, so AddressSanitizer sees any), and
// the resampler is the filter it claims to be.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include <zlib.h>

#include "imaging/image_codecs.hpp"
#include "tests/unit/image_samples.hpp"

namespace {

struct Decoded {
  bool ok = false;
  DecodingContext context;
  std::vector<uint8_t> bitmap;  // bottom-up rows, as in a bitmap section
  PixelRows rows;
};

// The first `length` bytes of `file` (all by default).
Decoded DecodePng(const Bytes& file, std::size_t length = ~std::size_t{0}) {
  RegisterImageDecoder(PngDecoder);
  Decoded out;
  auto allocate = [&out](const DecodingContext& found) {
    auto stride = static_cast<std::ptrdiff_t>(BitmapStride(found.width, found.depth));
    out.bitmap.assign(static_cast<std::size_t>(stride) * found.height, 0);
    out.rows = PixelRows{out.bitmap.data() + (found.height - 1) * stride, -stride, found.width,
                         found.height, found.depth};
    return out.rows;
  };
  out.ok = DecodeWithRegistry(file.data(), std::min(length, file.size()), allocate, out.context);
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

// The rest of the file stays in memory behind the cut, so a decoder that reads
// past the length it was given decodes, and no sanitizer is needed to see it.
TEST(DamagedFiles, APngCutInsideItsImageDataFails) {
  const Bytes png = MakePng(PngKind::Rgba8, SampleWidth, SampleHeight);
  const std::size_t idat = std::string(png.begin(), png.end()).find("IDAT");
  // Cut before its first data byte, inside its data, and before the last byte of its CRC.
  for (std::size_t cut : {idat + 4, idat + 20, png.size() - 13})
    EXPECT_FALSE(DecodePng(png, cut).ok) << cut;
  EXPECT_TRUE(DecodePng(png, png.size() - 12).ok);  // all but IEND
}

// A PNG whose header claims width x height (its CRC made right): the decoder
// must refuse the sizes the toolkit cannot hold before it asks for pixel memory.
TEST(DamagedFiles, ImagesTooLargeToHoldAreRefusedBeforeAllocating) {
  const struct {
    uint32_t width, height;
    bool allocates;
  } sizes[] = {{16384, 1, true}, {16385, 1, false}, {8192, 8192, true}, {8192, 8193, false}};
  for (const auto& size : sizes) {
    Bytes png = MakePng(PngKind::Rgba8, SampleWidth, SampleHeight);
    constexpr std::size_t ihdr = 12;  // the chunk type, after signature and length
    for (int i = 0; i < 4; ++i) {
      png[ihdr + 4 + i] = static_cast<uint8_t>(size.width >> (24 - 8 * i));
      png[ihdr + 8 + i] = static_cast<uint8_t>(size.height >> (24 - 8 * i));
    }
    const uLong crc = crc32(0, png.data() + ihdr, 17);
    for (int i = 0; i < 4; ++i)
      png[ihdr + 17 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    bool allocated = false;
    DecodingContext context;
    RegisterImageDecoder(PngDecoder);
    DecodeWithRegistry(
        png.data(), png.size(),
        [&allocated](const DecodingContext&) {
          allocated = true;
          return PixelRows{};
        },
        context);
    EXPECT_EQ(allocated, size.allocates) << size.width << " x " << size.height;
  }
}

// ----- Bitmap helpers ------------------------------------------------------------

TEST(BitmapHelpers, RowsArePaddedToFourBytes) {
  const struct {
    int width, depth;
    std::size_t stride;
  } cases[] = {{1, 1, 4},  {32, 1, 4}, {33, 1, 8},  {9, 4, 8},   {3, 8, 4},  {5, 8, 8},
               {3, 16, 8}, {1, 24, 4}, {4, 24, 12}, {5, 24, 16}, {7, 32, 28}};
  for (const auto& c : cases)
    EXPECT_EQ(BitmapStride(c.width, c.depth), c.stride) << c.width << " x " << c.depth;
}

TEST(BitmapHelpers, ColourTableHoldsTheUsedColoursOrAllOfTheDepth) {
  const struct {
    int bits;
    uint32_t used;           // 0: every colour of the depth
    std::size_t infoLength;  // header and colour table; 0: refused
  } cases[] = {{8, 2, 48},  {8, 0, 1064}, {4, 3, 52},  {4, 0, 104}, {1, 0, 48},
               {24, 3, 52}, {24, 0, 40},  {8, 257, 0}, {4, 17, 0}};
  for (const auto& c : cases) {
    const std::size_t pixels = 14 + std::max<std::size_t>(c.infoLength, 40);
    Bytes file = MakeBitmapFile(3, 2, false);
    file.resize(pixels + 24);  // 3 x 2 pixels of up to 24 bits after the table
    file[28] = static_cast<uint8_t>(c.bits);
    Put32At(file, 46, c.used);
    Put32At(file, 10, static_cast<uint32_t>(pixels));
    BitmapFileLayout layout;
    const bool accepted = ReadBitmapFileLayout(file.data(), file.size(), layout);
    EXPECT_EQ(accepted ? layout.infoLength : 0, c.infoLength) << c.bits << " " << c.used;
  }
}

TEST(BitmapHelpers, OnlyAllZeroAlphaBecomesOpaque) {
  const struct {
    int depth;
    int alphaOne;  // the one alpha byte set to 1 (11: last pixel shown, 19: first), or -1
    bool opaque;
  } cases[] = {{32, -1, true}, {32, 11, false}, {32, 19, false}, {24, -1, false}};
  for (const auto& c : cases) {
    // 3 x 2 pixels bottom-up, each row followed by 4 bytes of padding; alpha at 3, 7, 11
    // (the bottom row, shown last) and 19, 23, 27.
    Bytes bitmap(32, 7), expected;
    for (int at : {3, 7, 11, 19, 23, 27})
      bitmap[at] = 0;
    if (c.alphaOne >= 0) bitmap[c.alphaOne] = 1;
    expected = bitmap;
    for (int at : {3, 7, 11, 19, 23, 27})
      expected[at] = c.opaque ? 255 : expected[at];
    MakeOpaqueWhenAlphaAllZero(PixelRows{bitmap.data() + 16, -16, 3, 2, c.depth});
    EXPECT_EQ(bitmap, expected) << c.depth << " " << c.alphaOne;
  }
}

// ----- Resampling ----------------------------------------------------------------

struct Image {
  int width, height;
  std::vector<uint8_t> bytes;
  PixelRows Rows() { return PixelRows{bytes.data(), 4 * width, width, height, 32}; }
  uint8_t* At(int x, int y) { return &bytes[4 * (static_cast<std::size_t>(y) * width + x)]; }
};

Image Scaled(Image source, int width, int height) {
  Image target{width, height, std::vector<uint8_t>(4u * width * height, 0)};
  EXPECT_TRUE(ResampleSmooth(source.Rows(), target.Rows()));
  return target;
}

TEST(Resampler, LogoScalingUsesTheWidenedFilter) {
  Contributions lists = ComputeContributions(128, 100);
  EXPECT_DOUBLE_EQ(lists.scale, 0.78125);
  EXPECT_DOUBLE_EQ(lists.support, 2.56);
  EXPECT_EQ(lists.maxCount, 7);
  for (std::size_t i = 0; i < lists.first.size(); ++i) {
    EXPECT_LE(lists.count[i], 7);
    double sum = 0;
    for (int k = 0; k < lists.count[i]; ++k)
      sum += lists.weights[i * 7 + k];
    EXPECT_NEAR(sum, 1.0, 1e-12) << i;
  }
}

TEST(Resampler, ConstantImagesStayConstant) {
  const int sizes[][4] = {{128, 128, 100, 100}, {3, 5, 7, 2}, {10, 10, 10, 10}, {1, 9, 4, 1}};
  const uint8_t colour[4] = {10, 120, 200, 77};
  for (const auto& size : sizes) {
    Image source{size[0], size[1], {}};
    for (int i = 0; i < size[0] * size[1]; ++i)
      source.bytes.insert(source.bytes.end(), colour, colour + 4);
    Image target = Scaled(source, size[2], size[3]);
    for (std::size_t i = 0; i < target.bytes.size(); ++i)
      ASSERT_EQ(target.bytes[i], colour[i % 4]) << size[0] << "x" << size[1] << " byte " << i;
  }
}

TEST(Resampler, TransparentAreasStayTransparentAndReadWhite) {
  Image source{40, 40, std::vector<uint8_t>(40 * 40 * 4, 0)};  // transparent black
  for (int y = 0; y < 40; ++y) {
    for (int x = 20; x < 40; ++x)
      std::memcpy(source.At(x, y), "\x00\x00\xFF\xFF", 4);  // opaque red
  }
  Image target = Scaled(source, 25, 25);
  for (int y = 0; y < 25; ++y) {
    for (int x = 0; x < 25; ++x) {
      // White and red share full red, so only a darkened transparent side lowers it.
      ASSERT_EQ(target.At(x, y)[2], 255) << x << "," << y;
      if (x < 9) {
        ASSERT_EQ(PixelAt(target.Rows(), x, y), (Rgba{255, 255, 255, 0})) << x;
      }
    }
  }
}

// The Mitchell-Netravali cubic with B = C = 1/3, from its coefficients.
double Cubic(double x) {
  double t = std::fabs(x);
  if (t < 1) return (7 * t * t * t - 12 * t * t + 16.0 / 3) / 6;
  if (t < 2) return (-7.0 / 3 * t * t * t + 12 * t * t - 20 * t + 32.0 / 3) / 6;
  return 0;
}

// Weight of every input for output i, normalised over all inputs.
std::vector<double> ReferenceWeights(int nIn, int nOut, int i) {
  double scale = static_cast<double>(nOut) / nIn;
  double f = std::min(scale, 1.0);
  double centre = (i + 0.5) / scale - 0.5;
  std::vector<double> weights(static_cast<std::size_t>(nIn));
  double sum = 0;
  for (int j = 0; j < nIn; ++j)
    sum += weights[j] = f * Cubic(f * (centre - j));
  for (double& weight : weights)
    weight /= sum;
  return weights;
}

TEST(Resampler, MatchesADirectTwoDimensionalFilter) {
  const int sizes[][4] = {{6, 5, 4, 7}, {6, 5, 9, 3}, {8, 8, 3, 3}};
  for (const auto& size : sizes) {
    Image source{size[0], size[1], {}};
    for (int i = 0; i < size[0] * size[1] * 4; ++i)
      source.bytes.push_back(static_cast<uint8_t>(40 + i * 53 % 170));  // no overshoot past 0..255
    Image target = Scaled(source, size[2], size[3]);
    for (int y = 0; y < size[3]; ++y) {
      std::vector<double> down = ReferenceWeights(size[1], size[3], y);
      for (int x = 0; x < size[2]; ++x) {
        std::vector<double> across = ReferenceWeights(size[0], size[2], x);
        for (int channel = 0; channel < 4; ++channel) {
          double expected = 0;
          for (int j = 0; j < size[1]; ++j) {
            for (int i = 0; i < size[0]; ++i)
              expected += down[j] * across[i] * source.At(i, j)[channel];
          }
          // One rounding after each pass.
          EXPECT_NEAR(target.At(x, y)[channel], expected, 1.05)
              << size[2] << "x" << size[3] << " at " << x << "," << y << " channel " << channel;
        }
      }
    }
  }
}

}  // namespace
