#pragma once

#include <cstddef>
#include <cstdint>

#include "raster/RAS_IBitmap.h"

// Byte access to a bitmap's rows in picture order (top row first), whatever
// the memory order: a flipped bitmap is walked from its last memory row with
// a negative step.
struct RAS_BitmapRows {
  uint8_t* top = nullptr;  // first byte of the picture's top row
  ptrdiff_t step = 0;      // bytes from one picture row to the next

  uint8_t* Pixel(int x, int y) const { return top + y * step + static_cast<ptrdiff_t>(x) * 4; }
};

// False when the bitmap has no pixels.
inline bool RAS_GetBitmapRows(RAS_IBitmap* bitmap, RAS_BitmapRows* rows) {
  uint8_t* pixels = reinterpret_cast<uint8_t*>(bitmap->GetPixels());
  if (!pixels) {
    return false;
  }
  ptrdiff_t step = static_cast<ptrdiff_t>(bitmap->GetRowSpan()) * 4;
  if (bitmap->IsFlipped()) {
    rows->top = pixels + (bitmap->GetHeight() - 1) * step;
    rows->step = -step;
  } else {
    rows->top = pixels;
    rows->step = step;
  }
  return true;
}
