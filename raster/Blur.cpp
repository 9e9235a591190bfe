#include <algorithm>

#include "raster/BitmapRows.h"
#include "raster/RAS_Blit.h"

namespace {

// One (1 2 1) / 4 pass along a line of n pixels that are `step` bytes apart,
// in place: the original previous pixel is carried in `previous`, so no
// buffer is needed. The ends repeat their own pixel.
void BlurLine(uint8_t* first, ptrdiff_t step, int n) {
  uint8_t previous[4] = {first[0], first[1], first[2], first[3]};
  for (int i = 0; i < n; ++i) {
    uint8_t* p = first + i * step;
    const uint8_t* next = first + std::min(i + 1, n - 1) * step;
    for (int b = 0; b < 4; ++b) {
      uint8_t current = p[b];
      p[b] = static_cast<uint8_t>((previous[b] + 2 * current + next[b] + 2) / 4);
      previous[b] = current;
    }
  }
}

}  // namespace

void RAS_BlurBitmap(RAS_IBitmap* bitmap) {
  RAS_BitmapRows rows;
  if (!bitmap || !RAS_GetBitmapRows(bitmap, &rows)) {
    return;
  }
  int width = bitmap->GetWidth(), height = bitmap->GetHeight();
  if (width <= 0 || height <= 0) {
    return;
  }
  for (int y = 0; y < height; ++y) {
    BlurLine(rows.Pixel(0, y), 4, width);
  }
  for (int x = 0; x < width; ++x) {
    BlurLine(rows.Pixel(x, 0), rows.step, height);
  }
}
