#pragma once

#include <cstdint>

// The platform drawing context a bitmap is selected into, where the platform
// has such a thing (none on Linux).
using RAS_DeviceContext = void*;

// A 32-bit bitmap. One word per pixel, A << 24 | R << 16 | G << 8 | B, stored
// in memory as the bytes B, G, R, A; straight (not premultiplied) alpha.
class RAS_IBitmap {
 public:
  virtual ~RAS_IBitmap() = default;

  // First pixel of the top row (of the bottom row when IsFlipped), or none.
  virtual uint32_t* GetPixels() = 0;
  virtual int GetWidth() = 0;
  virtual int GetHeight() = 0;
  // Pixels (not bytes) from the start of one row to the start of the next.
  virtual int GetRowSpan() = 0;
  // True when row 0 in memory is the bottom row of the picture.
  virtual bool IsFlipped() { return false; }
  // True when the size changed.
  virtual bool Resize(int width, int height) = 0;
  virtual RAS_DeviceContext GetDeviceContext() { return nullptr; }
  // Answer to an extension query identified by a four-character code.
  virtual intptr_t Extended(uint32_t id, void* data) {
    (void)id;
    (void)data;
    return 0;
  }
};
