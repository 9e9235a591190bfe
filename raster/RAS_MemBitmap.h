#pragma once

#include "raster/RAS_IBitmap.h"

// A heap bitmap. Rows are padded to a multiple of four pixels and the pixels
// start on a 64-byte boundary. Growing reserves 25 % headroom; shrinking keeps
// the allocation. Pixel contents are undefined after Resize.
class RAS_MemBitmap : public RAS_IBitmap {
 public:
  RAS_MemBitmap() = default;
  RAS_MemBitmap(int width, int height);
  ~RAS_MemBitmap() override;
  RAS_MemBitmap(const RAS_MemBitmap&) = delete;
  RAS_MemBitmap& operator=(const RAS_MemBitmap&) = delete;

  uint32_t* GetPixels() override;
  int GetWidth() override { return mWidth; }
  int GetHeight() override { return mHeight; }
  int GetRowSpan() override { return (mWidth + mRowAlignMask) & ~mRowAlignMask; }
  bool Resize(int width, int height) override;

  // Bytes reserved for pixels (without the alignment slack); 0 when none.
  int GetAllocatedBytes() const { return mAllocatedBytes; }

 private:
  void* mAllocation = nullptr;
  int mWidth = 0;
  int mHeight = 0;
  int mAllocatedBytes = 0;
  int mRowAlignMask = 3;
};
