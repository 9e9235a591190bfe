#include <png.h>

#include <csetjmp>
#include <cstring>

#include "raster/BitmapRows.h"
#include "raster/RAS_MemBitmap.h"
#include "raster/RAS_Png.h"

// libpng reports errors by jumping back to the setjmp in DecodeInto. Nothing
// between that setjmp and a jump may own resources with destructors: all
// state lives in a plain struct that the caller cleans up.

namespace {

const uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

// Ancillary chunks (text, profiles) larger than this are refused, so that a
// hostile file cannot make the decoder hold much memory for data we ignore.
constexpr png_alloc_size_t kMaxChunkBytes = 8u * 1024 * 1024;

struct MemoryReader {
  const uint8_t* data;
  size_t length;
  size_t position;
};

// Hands out the next bytes. A request beyond the end is a truncated file: an
// error, instead of inventing zero bytes for the decoder to chew on.
void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  MemoryReader* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  size_t remaining = reader->length - reader->position;
  if (count > remaining) {
    std::memset(out, 0, count);
    png_error(png, "truncated");
  }
  std::memcpy(out, reader->data + reader->position, count);
  reader->position += count;
}

// There is no log: errors become a failed decode, warnings are dropped.
void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) {}

struct DecodeState {
  png_structp png = nullptr;
  png_infop info = nullptr;
  MemoryReader reader{};
  RAS_IBitmap* bitmap = nullptr;  // the caller's, or one made here
  bool madeBitmap = false;
};

// Sets up the transformations that turn every colour type and depth into
// 8-bit A, R, G, B. Answers false for images outside the size limits.
bool PrepareTransformations(png_structp png, png_infop info) {
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colourType = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, nullptr, nullptr, nullptr);
  if (static_cast<long long>(width) * height > RAS_PngMaxPixels) {
    return false;
  }
  bool hasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0;
  if (colourType == PNG_COLOR_TYPE_PALETTE) {
    png_set_palette_to_rgb(png);
  }
  if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) {
    png_set_expand_gray_1_2_4_to_8(png);
  }
  if (png_get_valid(png, info, PNG_INFO_tRNS)) {
    png_set_tRNS_to_alpha(png);
    hasAlpha = true;
  }
  if (bitDepth == 16) {
    png_set_strip_16(png);
  }
  if (bitDepth < 8) {
    png_set_packing(png);
  }
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_gray_to_rgb(png);
  }
  if (hasAlpha) {
    png_set_swap_alpha(png);
  } else {
    png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
  }
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  return png_get_rowbytes(png, info) == static_cast<png_size_t>(width) * 4;
}

// Answers true with state->bitmap holding the picture as A, R, G, B bytes.
bool DecodeInto(DecodeState* state) {
  if (setjmp(png_jmpbuf(state->png))) {
    return false;
  }
  png_set_read_fn(state->png, &state->reader, ReadFromMemory);
  png_read_info(state->png, state->info);
  if (!PrepareTransformations(state->png, state->info)) {
    return false;
  }
  int width = static_cast<int>(png_get_image_width(state->png, state->info));
  int height = static_cast<int>(png_get_image_height(state->png, state->info));
  if (!state->bitmap) {
    state->bitmap = new RAS_MemBitmap(width, height);
    state->madeBitmap = true;
  } else {
    state->bitmap->Resize(width, height);
  }
  RAS_BitmapRows rows;
  if (state->bitmap->GetWidth() != width || state->bitmap->GetHeight() != height ||
      !RAS_GetBitmapRows(state->bitmap, &rows)) {
    return false;
  }
  // Every pass of an interlaced image lands in the same rows, so the last
  // pass leaves the complete picture.
  int passes = png_set_interlace_handling(state->png);
  for (int pass = 0; pass < passes; ++pass) {
    for (int y = 0; y < height; ++y) {
      png_read_row(state->png, rows.Pixel(0, y), nullptr);
    }
  }
  return true;
}

// A, R, G, B bytes to the native word A << 24 | R << 16 | G << 8 | B, stored
// byte by byte so that the result does not depend on the machine's order.
void ConvertToNativeWords(RAS_IBitmap* bitmap) {
  RAS_BitmapRows rows;
  RAS_GetBitmapRows(bitmap, &rows);
  for (int y = 0; y < bitmap->GetHeight(); ++y) {
    uint8_t* p = rows.Pixel(0, y);
    for (int x = 0; x < bitmap->GetWidth(); ++x, p += 4) {
      uint8_t a = p[0], r = p[1], g = p[2], b = p[3];
      p[0] = b;
      p[1] = g;
      p[2] = r;
      p[3] = a;
    }
  }
}

}  // namespace

RAS_IBitmap* RAS_ReadPngMemory(const void* bytes, size_t length, RAS_IBitmap* bitmap) {
  if (!bytes || length < 8 || std::memcmp(bytes, kSignature, 8) != 0) {
    return nullptr;
  }
  DecodeState state;
  state.reader = MemoryReader{static_cast<const uint8_t*>(bytes), length, 0};
  state.bitmap = bitmap;
  state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
  if (state.png) {
    state.info = png_create_info_struct(state.png);
  }
  bool decoded = false;
  if (state.png && state.info) {
    png_set_user_limits(state.png, RAS_PngMaxSide, RAS_PngMaxSide);
    png_set_chunk_malloc_max(state.png, kMaxChunkBytes);
    decoded = DecodeInto(&state);
  }
  png_destroy_read_struct(state.png ? &state.png : nullptr, state.info ? &state.info : nullptr, nullptr);
  if (!decoded) {
    if (state.madeBitmap) {
      delete state.bitmap;
    }
    return nullptr;
  }
  ConvertToNativeWords(state.bitmap);
  return state.bitmap;
}

RAS_IBitmap* RAS_LoadPngResource(RAS_ModuleHandle module, int id) {
  (void)module;
  const void* data = nullptr;
  size_t size = 0;
  if (!RAS_FindResource("PNG", id, &data, &size) || size < 8) {
    return nullptr;
  }
  return RAS_ReadPngMemory(data, size, nullptr);
}
