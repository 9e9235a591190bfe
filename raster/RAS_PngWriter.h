#pragma once

#include <cstdint>
#include <vector>

#include "raster/RAS_IBitmap.h"

// How RAS_WritePngMemory and RAS_WritePngFile store a bitmap. The result is
// always 8 bits per sample, non-interlaced, without time or text chunks, so
// that the bytes only change when the pixels do.
struct RAS_PngWriteOptions {
  // RGBA with the bitmap's straight alpha when true; RGB with the alpha
  // dropped for pictures that are known to be opaque.
  bool keepAlpha = true;
  // zlib level 0 (none) to 9 (smallest); -1 leaves libpng's choice.
  int compressionLevel = -1;
};

enum class RAS_PngWriteResult {
  kWritten,
  kNoPixels,        // no bitmap, an empty one, or one without pixel memory
  kEncodingFailed,  // the encoder refused (or ran out of memory)
  kCannotOpen,      // the file could not be created
  kCannotWrite,     // writing or closing the file failed; it may be incomplete
};

// Encodes the bitmap in picture order (whatever its memory order) into `out`,
// which is replaced. On failure `out` is left empty; without `out` nothing
// can be encoded.
RAS_PngWriteResult RAS_WritePngMemory(RAS_IBitmap* bitmap, const RAS_PngWriteOptions& options,
                                      std::vector<uint8_t>* out);

// Encodes the bitmap completely before the file is touched, so an encoding
// failure never replaces an existing file with a broken one.
RAS_PngWriteResult RAS_WritePngFile(RAS_IBitmap* bitmap, const char* path, const RAS_PngWriteOptions& options);

// A short English phrase for messages, such as "cannot open the file".
const char* RAS_DescribePngWriteResult(RAS_PngWriteResult result);
