#include <algorithm>
#include <cstring>

#include "raster/BitmapRows.h"
#include "raster/PixelOps.h"
#include "raster/RAS_Blit.h"

using namespace raster_ops;

namespace {

// The common weights 1/4, 1/2 and 3/4 are shifts on whole words, masked so
// that no byte carries into the next.
inline uint32_t Shift1(uint32_t v) { return (v >> 1) & 0x7F7F7F7Fu; }
inline uint32_t Shift2(uint32_t v) { return (v >> 2) & 0x3F3F3F3Fu; }

template <typename WordFn>
void ForEachWord(const RAS_BitmapRows& rows, int x, int y, int cols, int rowCount, WordFn fn) {
  for (int r = 0; r < rowCount; ++r) {
    uint8_t* p = rows.Pixel(x, y + r);
    for (int c = 0; c < cols; ++c, p += 4) {
      uint32_t d;
      std::memcpy(&d, p, 4);
      d = fn(d);
      std::memcpy(p, &d, 4);
    }
  }
}

// Copy mode: d = c + (d - c) * (256 - ia) / 256 on the colour bytes, and the
// alpha byte moves towards ia the same way.
void FillCopy(const RAS_BitmapRows& rows, int x, int y, int cols, int rowCount, uint32_t colour,
              int ia) {
  switch (ia) {
    case 256:
      ForEachWord(rows, x, y, cols, rowCount, [colour](uint32_t) { return colour; });
      return;
    case 128:
      ForEachWord(rows, x, y, cols, rowCount, [colour](uint32_t d) { return Shift1(colour) + Shift1(d); });
      return;
    case 64:
      ForEachWord(rows, x, y, cols, rowCount,
                  [colour](uint32_t d) { return Shift1(d) + Shift2(colour) + Shift2(d); });
      return;
    case 192:
      ForEachWord(rows, x, y, cols, rowCount,
                  [colour](uint32_t d) { return Shift2(colour) + Shift2(d) + Shift1(colour); });
      return;
    default:
      break;
  }
  uint8_t c[4] = {uint8_t(colour), uint8_t(colour >> 8), uint8_t(colour >> 16), uint8_t(colour >> 24)};
  for (int r = 0; r < rowCount; ++r) {
    uint8_t* p = rows.Pixel(x, y + r);
    for (int i = 0; i < cols; ++i, p += 4) {
      p[0] = Mix(c[0], p[0], ia);
      p[1] = Mix(c[1], p[1], ia);
      p[2] = Mix(c[2], p[2], ia);
      p[kA] = Mix(ia, p[kA], ia);
    }
  }
}

}  // namespace

void RAS_FillRectangle(RAS_IBitmap* dest, int x, int y, int w, int h, uint32_t colour,
                       float alpha, unsigned int mode) {
  if (!dest) {
    return;
  }
  if (mode & RAS_BlitUseAlpha) {
    alpha *= static_cast<float>(colour >> 24) / 255.0f;
  }
  long long left = x, top = y, width = w, height = h;
  if (left < 0) {
    width += left;
    left = 0;
  }
  if (top < 0) {
    height += top;
    top = 0;
  }
  RAS_BitmapRows rows;
  if (alpha == 0.0f || dest->GetRowSpan() == 0 || !RAS_GetBitmapRows(dest, &rows) || width <= 0 ||
      height <= 0 || left >= dest->GetWidth() || top >= dest->GetHeight()) {
    return;
  }
  int rowCount = static_cast<int>(std::min<long long>(dest->GetHeight() - top, height));
  int cols = static_cast<int>(std::min<long long>(dest->GetWidth() - left, width));
  int ia = WeightOf(alpha);
  if (ia == 0) {
    return;
  }
  unsigned int lowByte = mode & 0xFF;
  int px = static_cast<int>(left), py = static_cast<int>(top);
  if (lowByte == RAS_BlitCopy) {
    FillCopy(rows, px, py, cols, rowCount, colour, ia);
    return;
  }
  // The other blends take the colour as an opaque source at weight ia.
  uint8_t c[4] = {uint8_t(colour), uint8_t(colour >> 8), uint8_t(colour >> 16), uint8_t(colour >> 24)};
  for (int r = 0; r < rowCount; ++r) {
    uint8_t* p = rows.Pixel(px, py + r);
    for (int i = 0; i < cols; ++i, p += 4) {
      BlendPixel(lowByte, p, c, ia, 255);
    }
  }
}
