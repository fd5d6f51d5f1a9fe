// The PNG decoder of the registry, over libpng. libpng reports errors by a
// long jump, so every call into it runs inside RunGuarded, and no function on
// that path holds a local with a destructor.
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <new>

#include "imaging/image_codecs.hpp"

namespace {

constexpr std::size_t SignatureLength = 8;

struct PngState {
  png_structp png = nullptr;
  png_infop info = nullptr;
  int passes = 1;
};

PngState& StateOf(DecodingContext& context) {
  return *static_cast<PngState*>(context.state);
}

// Feeds libpng from memory, never past the given length: a truncated or lying
// file ends in a libpng error instead of a read beyond the data.
void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto& context = *static_cast<DecodingContext*>(png_get_io_ptr(png));
  if (count > context.length - context.position) png_error(png, "read past the end of the data");
  std::memcpy(out, context.data + context.position, count);
  context.position += count;
}

using GuardedStep = void (*)(DecodingContext& context, const PixelRows* rows);

// The one place that sets libpng's long-jump target. True when `step` ran to
// its end, false when libpng reported an error.
bool RunGuarded(DecodingContext& context, GuardedStep step, const PixelRows* rows) {
  if (setjmp(png_jmpbuf(StateOf(context).png)) != 0) return false;
  step(context, rows);
  return true;
}

// Reads the header chunks and sets up the transformations. libpng 1.6 fixes
// the row layout when the row information is updated, so the decode step's
// transformations (16 to 8 bits, blue-green-red order, interlace passes) are
// set here too.
void ReadHeader(DecodingContext& context, const PixelRows*) {
  PngState& state = StateOf(context);
  png_structp png = state.png;
  png_infop info = state.info;
  png_read_info(png, info);
  int bitDepth = png_get_bit_depth(png, info);
  int colourType = png_get_color_type(png, info);
  context.width = static_cast<int>(png_get_image_width(png, info));
  context.height = static_cast<int>(png_get_image_height(png, info));
  if (!ImageSizeAllowed(context.width, context.height)) {
    context.depth = 0;  // refused before any pixel memory is taken
    return;
  }
  if ((colourType & PNG_COLOR_MASK_COLOR) == 0 || colourType == PNG_COLOR_TYPE_PALETTE) {
    context.sourceDepth = bitDepth;
    if (bitDepth < 8) png_set_expand(png);
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if ((colourType & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
  } else {
    context.sourceDepth = colourType == PNG_COLOR_TYPE_RGB ? 24 : 32;
  }
  png_set_strip_16(png);
  png_set_bgr(png);
  state.passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  context.depth = png_get_color_type(png, info) == PNG_COLOR_TYPE_RGB ? 24 : 32;
  // Rows must come out exactly as wide as the bitmap's pixels.
  std::size_t pixelBytes = static_cast<std::size_t>(context.width) * (context.depth / 8);
  if (png_get_bit_depth(png, info) != 8 || png_get_rowbytes(png, info) != pixelBytes) {
    context.depth = 0;
  }
}

// Each pass reads every row, top row first, into the bitmap's rows.
void ReadRows(DecodingContext& context, const PixelRows* rows) {
  PngState& state = StateOf(context);
  for (int pass = 0; pass < state.passes; ++pass) {
    for (int y = 0; y < context.height; ++y)
      png_read_row(state.png, rows->firstRow + y * rows->stride, nullptr);
  }
}

bool Check(DecodingContext& context) {
  if (context.length < SignatureLength || png_sig_cmp(context.data, 0, SignatureLength) != 0) {
    return false;
  }
  auto* state = new (std::nothrow) PngState;
  if (state == nullptr) return false;
  context.state = state;
  state->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (state->png == nullptr) return false;
  state->info = png_create_info_struct(state->png);
  if (state->info == nullptr) return false;
  png_set_read_fn(state->png, &context, ReadFromMemory);
  png_set_user_limits(state->png, MaxImageSide, MaxImageSide);
  return RunGuarded(context, ReadHeader, nullptr) && context.depth != 0;
}

bool Decode(DecodingContext& context, const PixelRows& rows) {
  if (rows.width != context.width || rows.height != context.height || rows.depth != context.depth) {
    return false;
  }
  return RunGuarded(context, ReadRows, &rows);
}

void Release(DecodingContext& context) {
  auto* state = static_cast<PngState*>(context.state);
  if (state == nullptr) return;
  if (state->png != nullptr) {
    png_destroy_read_struct(&state->png, state->info != nullptr ? &state->info : nullptr, nullptr);
  }
  delete state;
  context.state = nullptr;
}

}  // namespace

const ImageDecoder PngDecoder = {Check, Decode, Release};
