#pragma once

#include "raster/RAS_IBitmap.h"

// The platform bitmap the editor draws its back buffer into. On Linux it is a
// zero-initialised memory surface without a drawing context (the window
// layer copies from its pixels); its row span is the allocated width, a
// multiple of four, which may exceed the width. Shrinking keeps the surface.
class RAS_SysBitmap : public RAS_IBitmap {
 public:
  RAS_SysBitmap(int width, int height);
  ~RAS_SysBitmap() override;
  RAS_SysBitmap(const RAS_SysBitmap&) = delete;
  RAS_SysBitmap& operator=(const RAS_SysBitmap&) = delete;

  uint32_t* GetPixels() override { return mPixels; }
  int GetWidth() override { return mWidth; }
  int GetHeight() override { return mHeight; }
  int GetRowSpan() override { return mAllocatedWidth; }
  bool Resize(int width, int height) override;
  RAS_DeviceContext GetDeviceContext() override { return nullptr; }

  int GetAllocatedWidth() const { return mAllocatedWidth; }
  int GetAllocatedHeight() const { return mAllocatedHeight; }

 private:
  void FreeSurface();

  int mWidth = 0;
  int mHeight = 0;
  uint32_t* mPixels = nullptr;
  int mAllocatedWidth = 0;
  int mAllocatedHeight = 0;
  void* mSurface = nullptr;  // raw allocation behind mPixels
};
