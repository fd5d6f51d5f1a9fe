// Format detection, the decoder registry, and the layouts of bitmap and icon
// files. The data may come from anywhere, so every offset and size is checked
// against the length before the platform is asked to read there.
#include <algorithm>
#include <cstdint>

#include "imaging/image_codecs.hpp"

namespace {

constexpr std::size_t FileHeaderLength = 14;
constexpr std::size_t InfoHeaderLength = 40;  // BITMAPINFOHEADER
constexpr std::size_t IconDirectoryLength = 6;
constexpr std::size_t IconEntryLength = 16;
constexpr uint32_t UncompressedPixels = 0;  // BI_RGB
constexpr uint32_t BitFields = 3;           // BI_BITFIELDS
constexpr int LargestIconSide = 256;

uint16_t Read16(const uint8_t* at) {
  return static_cast<uint16_t>(at[0] | at[1] << 8);
}

uint32_t Read32(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
         static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
}

// [offset, offset + size) lies inside the data; no sum can wrap.
bool Inside(std::size_t length, uint64_t offset, uint64_t size) {
  return offset <= length && size <= length - offset;
}

bool IsBitCount(int bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// The information header of a bitmap, as far as the checks need it.
struct InfoHeader {
  uint32_t size = 0;
  int64_t width = 0;
  int64_t height = 0;
  int planes = 0;
  int bitCount = 0;
  uint32_t compression = 0;
  uint32_t coloursUsed = 0;
};

InfoHeader ReadInfoHeader(const uint8_t* at) {
  InfoHeader header;
  header.size = Read32(at);
  header.width = static_cast<int32_t>(Read32(at + 4));
  header.height = static_cast<int32_t>(Read32(at + 8));
  header.planes = Read16(at + 12);
  header.bitCount = Read16(at + 14);
  header.compression = Read32(at + 16);
  header.coloursUsed = Read32(at + 32);
  return header;
}

// Bytes of colour table (or bit-field masks) after the header, as the
// platform reads them; -1 for a combination it should not be given.
int64_t ColourTableLength(const InfoHeader& header) {
  if (header.compression == BitFields) {
    if (header.bitCount != 16 && header.bitCount != 32) return -1;
    return header.size == InfoHeaderLength ? 12 : 0;  // later headers hold the masks
  }
  if (header.compression != UncompressedPixels) return -1;
  if (header.bitCount <= 8) {
    uint32_t most = 1u << header.bitCount;
    if (header.coloursUsed > most) return -1;
    return 4 * static_cast<int64_t>(header.coloursUsed != 0 ? header.coloursUsed : most);
  }
  // Deeper bitmaps may still carry a table that readers skip over.
  return header.coloursUsed <= 256 ? 4 * static_cast<int64_t>(header.coloursUsed) : -1;
}

uint64_t PixelBytes(int64_t width, int64_t rows, int bitCount) {
  return BitmapStride(static_cast<int>(width), bitCount) * static_cast<uint64_t>(rows);
}

// The icon image at [offset, offset + length): an information header of
// double height (colour rows, then the mask rows) that fits in the entry.
bool IconImageFits(const uint8_t* data, std::size_t offset, std::size_t length, int& height) {
  if (length < InfoHeaderLength) return false;
  InfoHeader header = ReadInfoHeader(data + offset);
  if (header.size != InfoHeaderLength || header.planes != 1 || !IsBitCount(header.bitCount) ||
      header.compression != UncompressedPixels || header.width <= 0 ||
      header.width > LargestIconSide || header.height <= 0 || header.height % 2 != 0 ||
      header.height / 2 > LargestIconSide) {
    return false;
  }
  int64_t table = ColourTableLength(header);
  if (table < 0) return false;
  int64_t rows = header.height / 2;
  uint64_t needed = InfoHeaderLength + static_cast<uint64_t>(table) +
                    PixelBytes(header.width, rows, header.bitCount) +
                    PixelBytes(header.width, rows, 1);
  height = static_cast<int>(rows);
  return needed <= length;
}

std::vector<const ImageDecoder*>& Registry() {
  static std::vector<const ImageDecoder*> decoders;
  return decoders;
}

}  // namespace

std::size_t BitmapStride(int width, int depth) {
  return (static_cast<std::size_t>(width) * static_cast<std::size_t>(depth) + 31) / 32 * 4;
}

ImageFormat DetectImageFormat(const uint8_t* data, std::size_t length) {
  if (length >= 2 && data[0] == 'B' && data[1] == 'M') return ImageFormat::BitmapFile;
  if (length >= 4 && Read16(data) == 0 && Read16(data + 2) == 1) return ImageFormat::IconFile;
  return ImageFormat::Other;
}

bool ReadBitmapFileLayout(const uint8_t* data, std::size_t length, BitmapFileLayout& layout) {
  if (length < FileHeaderLength + InfoHeaderLength) return false;
  InfoHeader header = ReadInfoHeader(data + FileHeaderLength);
  // Information headers of versions 1, 4 and 5; not the old core header.
  if (header.size != InfoHeaderLength && header.size != 108 && header.size != 124) return false;
  int64_t rows = header.height < 0 ? -header.height : header.height;
  if (header.planes != 1 || !IsBitCount(header.bitCount) || !ImageSizeAllowed(header.width, rows)) {
    return false;
  }
  int64_t table = ColourTableLength(header);
  if (table < 0 || !Inside(length, FileHeaderLength, header.size + static_cast<uint64_t>(table))) {
    return false;
  }
  uint64_t pixelOffset = Read32(data + 10);
  uint64_t pixelLength = PixelBytes(header.width, rows, header.bitCount);
  if (!Inside(length, pixelOffset, pixelLength)) return false;
  layout.infoOffset = FileHeaderLength;
  layout.infoLength = header.size + static_cast<std::size_t>(table);
  layout.pixelOffset = static_cast<std::size_t>(pixelOffset);
  layout.pixelLength = static_cast<std::size_t>(pixelLength);
  layout.width = static_cast<int>(header.width);
  layout.height = static_cast<int>(header.height);
  layout.bitsPerPixel = header.bitCount;
  layout.depth = std::max(header.bitCount, 24);
  return true;
}

bool ChooseIconEntry(const uint8_t* data, std::size_t length, IconEntryLayout& entry) {
  if (length < IconDirectoryLength) return false;
  std::size_t count = Read16(data + 4);
  if (count == 0 || !Inside(length, IconDirectoryLength, count * IconEntryLength)) return false;
  const uint8_t* first = data + IconDirectoryLength;
  const uint8_t* chosen = first;
  for (std::size_t i = 1; i < count; ++i) {
    const uint8_t* candidate = first + i * IconEntryLength;
    bool sameSize = candidate[0] == first[0] && candidate[1] == first[1];
    if (sameSize && Read16(candidate + 6) > Read16(chosen + 6)) chosen = candidate;
  }
  uint32_t imageLength = Read32(chosen + 8);
  uint32_t imageOffset = Read32(chosen + 12);
  int height = 0;
  if (!Inside(length, imageOffset, imageLength) ||
      !IconImageFits(data, imageOffset, imageLength, height)) {
    return false;
  }
  entry.offset = imageOffset;
  entry.length = imageLength;
  entry.width = chosen[0] != 0 ? chosen[0] : LargestIconSide;
  entry.height = height;
  entry.bitsPerPixel = Read16(chosen + 6);
  return true;
}

void MakeOpaqueWhenAlphaAllZero(const PixelRows& rows) {
  if (rows.depth != 32) return;
  for (int y = 0; y < rows.height; ++y) {
    const uint8_t* row = rows.firstRow + y * rows.stride;
    for (int x = 0; x < rows.width; ++x) {
      if (row[4 * x + 3] != 0) return;
    }
  }
  for (int y = 0; y < rows.height; ++y) {
    uint8_t* row = rows.firstRow + y * rows.stride;
    for (int x = 0; x < rows.width; ++x)
      row[4 * x + 3] = 255;
  }
}

void PremultiplyAlpha(const PixelRows& rows) {
  for (int y = 0; y < rows.height; ++y) {
    uint8_t* pixel = rows.firstRow + y * rows.stride;
    for (int x = 0; x < rows.width; ++x, pixel += 4) {
      unsigned alpha = pixel[3];
      if (alpha == 255) continue;
      for (int channel = 0; channel < 3; ++channel)
        pixel[channel] = static_cast<uint8_t>(pixel[channel] * alpha >> 8);
    }
  }
}

void RegisterImageDecoder(const ImageDecoder& decoder) {
  std::vector<const ImageDecoder*>& decoders = Registry();
  if (std::find(decoders.begin(), decoders.end(), &decoder) == decoders.end()) {
    decoders.push_back(&decoder);
  }
}

bool DecodeWithRegistry(const uint8_t* data, std::size_t length, const RowsAllocator& allocate,
                        DecodingContext& context) {
  for (const ImageDecoder* decoder : Registry()) {
    context = DecodingContext{};
    context.data = data;
    context.length = length;
    bool accepted = decoder->check(context);
    bool decoded = false;
    if (accepted) {
      PixelRows rows = allocate(context);
      decoded = rows.firstRow != nullptr && decoder->decode(context, rows);
    }
    decoder->release(context);
    if (accepted) return decoded;
  }
  return false;
}
