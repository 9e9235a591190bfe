#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <new>

#include "raster/BitmapRows.h"
#include "raster/RAS_PngWriter.h"

// As in the reader, libpng reports errors by jumping back to the setjmp in
// EncodeRows: nothing between that setjmp and a jump owns resources with
// destructors, and the output vector is grown only inside the write callback.

namespace {

struct EncodeState {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::vector<uint8_t>* out = nullptr;
};

// Appends the encoder's bytes. A failed allocation must not unwind through
// libpng's C frames: it becomes an encoder error instead.
void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  bool appended = true;
  try {
    out->insert(out->end(), data, data + length);
  } catch (const std::bad_alloc&) {
    appended = false;
  }
  if (!appended) {
    png_error(png, "out of memory");
  }
}

void FlushNothing(png_structp) {}

// There is no log: errors become a failed encode, warnings are dropped.
void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) {}

// The bitmap's bytes are B, G, R, A per pixel: libpng is told to take them in
// that order (and, without alpha, to skip the fourth byte), so every row goes
// to the encoder as it lies in memory.
bool EncodeRows(EncodeState* state, RAS_IBitmap* bitmap, const RAS_BitmapRows& rows,
                const RAS_PngWriteOptions& options) {
  if (setjmp(png_jmpbuf(state->png))) {
    return false;
  }
  png_set_write_fn(state->png, state->out, AppendToVector, FlushNothing);
  if (options.compressionLevel >= 0 && options.compressionLevel <= 9) {
    png_set_compression_level(state->png, options.compressionLevel);
  }
  const int width = bitmap->GetWidth();
  const int height = bitmap->GetHeight();
  png_set_IHDR(state->png, state->info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               options.keepAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(state->png, state->info);
  png_set_bgr(state->png);
  if (!options.keepAlpha) {
    png_set_filler(state->png, 0, PNG_FILLER_AFTER);
  }
  for (int y = 0; y < height; ++y) {
    png_write_row(state->png, rows.Pixel(0, y));
  }
  png_write_end(state->png, nullptr);
  return true;
}

}  // namespace

RAS_PngWriteResult RAS_WritePngMemory(RAS_IBitmap* bitmap, const RAS_PngWriteOptions& options,
                                      std::vector<uint8_t>* out) {
  if (!out) {
    return RAS_PngWriteResult::kEncodingFailed;
  }
  out->clear();
  RAS_BitmapRows rows;
  if (!bitmap || bitmap->GetWidth() <= 0 || bitmap->GetHeight() <= 0 || !RAS_GetBitmapRows(bitmap, &rows)) {
    return RAS_PngWriteResult::kNoPixels;
  }
  EncodeState state;
  state.out = out;
  state.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
  if (state.png) {
    state.info = png_create_info_struct(state.png);
  }
  bool encoded = state.png && state.info && EncodeRows(&state, bitmap, rows, options);
  png_destroy_write_struct(state.png ? &state.png : nullptr, state.info ? &state.info : nullptr);
  if (!encoded) {
    out->clear();
    return RAS_PngWriteResult::kEncodingFailed;
  }
  return RAS_PngWriteResult::kWritten;
}

RAS_PngWriteResult RAS_WritePngFile(RAS_IBitmap* bitmap, const char* path, const RAS_PngWriteOptions& options) {
  std::vector<uint8_t> bytes;
  RAS_PngWriteResult encoded = RAS_WritePngMemory(bitmap, options, &bytes);
  if (encoded != RAS_PngWriteResult::kWritten) {
    return encoded;
  }
  std::FILE* file = path ? std::fopen(path, "wb") : nullptr;
  if (!file) {
    return RAS_PngWriteResult::kCannotOpen;
  }
  const bool wrote = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  return wrote && closed ? RAS_PngWriteResult::kWritten : RAS_PngWriteResult::kCannotWrite;
}

const char* RAS_DescribePngWriteResult(RAS_PngWriteResult result) {
  switch (result) {
    case RAS_PngWriteResult::kWritten: return "written";
    case RAS_PngWriteResult::kNoPixels: return "there is no picture to write";
    case RAS_PngWriteResult::kEncodingFailed: return "PNG encoding failed";
    case RAS_PngWriteResult::kCannotOpen: return "cannot open the file for writing";
    case RAS_PngWriteResult::kCannotWrite: return "writing the file failed";
  }
  return "unknown failure";
}
