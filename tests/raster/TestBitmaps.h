#pragma once

#include <cstdint>
#include <vector>

#include "raster/BitmapRows.h"
#include "raster/RAS_MemBitmap.h"

// A heap bitmap whose memory rows run bottom to top.
class FlippedBitmap : public RAS_MemBitmap {
 public:
  FlippedBitmap(int w, int h) : RAS_MemBitmap(w, h) {}
  bool IsFlipped() override { return true; }
};

// Pixel (x, y) of the picture, whatever the memory order.
inline uint32_t PixelAt(RAS_IBitmap& b, int x, int y) {
  RAS_BitmapRows rows;
  RAS_GetBitmapRows(&b, &rows);
  const uint8_t* p = rows.Pixel(x, y);
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline void SetPixel(RAS_IBitmap& b, int x, int y, uint32_t word) {
  RAS_BitmapRows rows;
  RAS_GetBitmapRows(&b, &rows);
  uint8_t* p = rows.Pixel(x, y);
  p[0] = uint8_t(word);
  p[1] = uint8_t(word >> 8);
  p[2] = uint8_t(word >> 16);
  p[3] = uint8_t(word >> 24);
}

inline void FillAll(RAS_IBitmap& b, uint32_t word) {
  for (int y = 0; y < b.GetHeight(); ++y)
    for (int x = 0; x < b.GetWidth(); ++x) SetPixel(b, x, y, word);
}
