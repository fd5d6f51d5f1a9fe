// Image files and pixels without any platform: format detection, the decoder
// registry with its PNG decoder, the checked layouts of bitmap and icon files,
// and the smooth resampler. Pixels are stored as bitmaps are on Windows: blue,
// green, red (then alpha in 32-bit pixels) bytes, alpha straight.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// The largest image the toolkit holds: at most 16,384 pixels a side and 64 Mi
// pixels (256 MB of 32-bit pixels). Decoders refuse larger ones before they
// allocate anything for the pixels.
constexpr int MaxImageSide = 16384;
constexpr int64_t MaxImagePixels = int64_t{1} << 26;
// A width and height (either sign for a height) within those limits.
inline bool ImageSizeAllowed(int64_t width, int64_t height) {
  if (height < 0) height = -height;
  return width > 0 && height > 0 && width <= MaxImageSide && height <= MaxImageSide &&
         width * height <= MaxImagePixels;
}

// Rows of pixels, top row first: row r starts at firstRow + r * stride. The
// stride is negative for a bottom-up bitmap viewed from its top row.
struct PixelRows {
  uint8_t* firstRow = nullptr;
  std::ptrdiff_t stride = 0;
  int width = 0;
  int height = 0;
  int depth = 0;  // bits per pixel: 24 or 32
};

// Bytes per row of a bitmap, padded to a multiple of four.
std::size_t BitmapStride(int width, int depth);

// ----- Formats --------------------------------------------------------------

enum class ImageFormat {
  BitmapFile,  // starts with "BM"
  IconFile,    // starts with the 16-bit words 0 and 1
  Other,       // left to the registered decoders
};
ImageFormat DetectImageFormat(const uint8_t* data, std::size_t length);

// Where a bitmap file keeps what the platform's conversion reads. Every range
// lies inside the data.
struct BitmapFileLayout {
  std::size_t infoOffset = 0;  // the information header, then colour table or masks
  std::size_t infoLength = 0;
  std::size_t pixelOffset = 0;
  std::size_t pixelLength = 0;
  int width = 0;
  int height = 0;  // as in the file: negative when the top row comes first
  int bitsPerPixel = 0;
  int depth = 0;  // of the bitmap to create: bits per pixel raised to 24
};
// False when the file is truncated, lies about a size or offset, or uses a
// header or compression other than uncompressed pixels or bit fields.
bool ReadBitmapFileLayout(const uint8_t* data, std::size_t length, BitmapFileLayout& layout);

// The icon-file entry to show: among the entries as large as the first, the
// one with the most bits per pixel (the first on a tie).
struct IconEntryLayout {
  std::size_t offset = 0;  // the entry's image: information header, colours, mask
  std::size_t length = 0;
  int width = 0;   // from the directory (0 there stands for 256)
  int height = 0;  // half the height in the entry's information header
  int bitsPerPixel = 0;
};
// False when the directory or the chosen entry's image does not fit the data.
bool ChooseIconEntry(const uint8_t* data, std::size_t length, IconEntryLayout& entry);

// A 32-bit bitmap whose alpha bytes are all 0 is taken as opaque: they become 255.
void MakeOpaqueWhenAlphaAllZero(const PixelRows& rows);
// Each colour byte c of a pixel whose alpha a is not 255 becomes (c * a) >> 8.
void PremultiplyAlpha(const PixelRows& rows);

// ----- Decoders -------------------------------------------------------------

// One decoding: the data, what the check step found and the decoder's state.
struct DecodingContext {
  const uint8_t* data = nullptr;
  std::size_t length = 0;
  std::size_t position = 0;  // next byte a decoder reads
  int width = 0;
  int height = 0;
  int depth = 0;        // of the bitmap to create: 24 or 32
  int sourceDepth = 0;  // bits per pixel (or per sample) of the file
  void* state = nullptr;
};

struct ImageDecoder {
  // Checks the data and reads its header into the context.
  bool (*check)(DecodingContext& context);
  // Writes the picture into `rows` (size and depth as the check reported).
  bool (*decode)(DecodingContext& context, const PixelRows& rows);
  // Releases the state; runs after every check, accepted or not.
  void (*release)(DecodingContext& context);
};

// PNG over libpng: palette, greyscale and low bit depths expanded to 8-bit
// truecolour, transparency chunks of palette and low-depth images turned into
// alpha, 16-bit samples reduced to 8, interlaced images read in all passes.
extern const ImageDecoder PngDecoder;

// Appends a decoder to the registry (once; later calls with it do nothing).
void RegisterImageDecoder(const ImageDecoder& decoder);

// Gives the bitmap rows for the size and depth in the context, or rows with a
// null firstRow when the bitmap cannot be made.
using RowsAllocator = std::function<PixelRows(const DecodingContext& context)>;
// Tries the registered decoders in registration order; the first whose check
// accepts the data decodes into the rows `allocate` gives. `context` keeps what
// the check found. False when no decoder accepts the data, no rows come, or
// decoding fails.
bool DecodeWithRegistry(const uint8_t* data, std::size_t length, const RowsAllocator& allocate,
                        DecodingContext& context);

// ----- Smooth resampling ----------------------------------------------------

// The Mitchell-Netravali filter (B = C = 1/3) for scaling nIn samples to nOut:
// for each output sample the inputs first .. first + count - 1 and their weights.
struct Contributions {
  double scale = 0;    // nOut / nIn
  double support = 0;  // filter radius in input samples: 2, widened to 2 / scale
  int maxCount = 0;    // entries per output sample: 2 * ceil(support) + 1
  std::vector<int> first;
  std::vector<int> count;
  std::vector<double> weights;  // maxCount per output sample
};
// Throws std::bad_alloc when the lists cannot be allocated.
Contributions ComputeContributions(int nIn, int nOut);

// Scales 32-bit `source` to the size of 32-bit `target` in two passes through
// one intermediate image, the pass order chosen to keep it the smaller.
// Transparent source pixels count as white. False when the sizes or depths
// are unusable or memory runs out; `target` is then undefined.
bool ResampleSmooth(const PixelRows& source, const PixelRows& target);
