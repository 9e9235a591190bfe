#include "raster/RAS_SysBitmap.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

// Linux version: a plain memory surface. Windows selects a top-down DIB
// section into a memory drawing context instead; the sizing rules are the same.

namespace {

constexpr size_t kAlignSlack = 63;

}  // namespace

RAS_SysBitmap::RAS_SysBitmap(int width, int height) { Resize(width, height); }

RAS_SysBitmap::~RAS_SysBitmap() { FreeSurface(); }

void RAS_SysBitmap::FreeSurface() {
  std::free(mSurface);
  mSurface = nullptr;
  mPixels = nullptr;
}

bool RAS_SysBitmap::Resize(int width, int height) {
  if (width == mWidth && height == mHeight) {
    return false;
  }
  mWidth = width;
  mHeight = height;
  if (width != 0 && height != 0 && mAllocatedWidth >= width && mAllocatedHeight >= height &&
      mPixels) {
    return true;  // the surface already covers the new size: keep it and its row span
  }
  long long allocatedWidth = (static_cast<long long>(width) + 3) & ~3LL;
  FreeSurface();
  if (allocatedWidth < 1 || height < 1) {
    // Nothing to show: an empty bitmap, never a negative size without pixels.
    mWidth = 0;
    mHeight = 0;
    mAllocatedWidth = 0;
    mAllocatedHeight = 0;
    return false;
  }
  long long bytes = allocatedWidth * height * 4;
  if (bytes <= static_cast<long long>(INT_MAX)) {
    // Zeroed like a fresh device-independent section.
    mSurface = std::calloc(static_cast<size_t>(bytes) + kAlignSlack, 1);
  }
  if (!mSurface) {
    mWidth = 0;
    mHeight = 0;
    mAllocatedWidth = 0;
    mAllocatedHeight = 0;
    return true;
  }
  mAllocatedWidth = static_cast<int>(allocatedWidth);
  mAllocatedHeight = height;
  uintptr_t address = (reinterpret_cast<uintptr_t>(mSurface) + kAlignSlack) & ~uintptr_t(kAlignSlack);
  mPixels = reinterpret_cast<uint32_t*>(address);
  return true;
}
