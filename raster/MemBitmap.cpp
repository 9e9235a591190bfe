#include "raster/RAS_MemBitmap.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr int kAlignSlack = 63;  // every allocation can be moved to a 64-byte boundary

}  // namespace

RAS_MemBitmap::RAS_MemBitmap(int width, int height) {
  if (width > 0 && height > 0) {
    Resize(width, height);
  }
}

RAS_MemBitmap::~RAS_MemBitmap() { std::free(mAllocation); }

uint32_t* RAS_MemBitmap::GetPixels() {
  if (!mAllocation) {
    return nullptr;
  }
  uintptr_t address = reinterpret_cast<uintptr_t>(mAllocation);
  address = (address + kAlignSlack) & ~uintptr_t(kAlignSlack);
  return reinterpret_cast<uint32_t*>(address);
}

bool RAS_MemBitmap::Resize(int width, int height) {
  if (width == mWidth && height == mHeight) {
    return false;
  }
  mWidth = width;
  mHeight = height;
  long long span = (static_cast<long long>(width) + mRowAlignMask) & ~static_cast<long long>(mRowAlignMask);
  long long needed = static_cast<long long>(height) * span * 4;
  // Sizes that cannot be recorded in an int (with growth headroom) count as a
  // failed allocation: the bitmap ends up empty instead of undersized.
  bool representable = needed <= (INT_MAX - kAlignSlack) / 5 * 4;

  if (needed > 0 && width > 0 && height > 0 && representable) {
    int neededBytes = static_cast<int>(needed);
    if (!mAllocation) {
      mAllocation = std::malloc(static_cast<size_t>(neededBytes) + kAlignSlack);
      mAllocatedBytes = mAllocation ? neededBytes : 0;
    } else if (mAllocatedBytes < neededBytes) {
      int grown = neededBytes / 4 * 5;
      void* moved = std::realloc(mAllocation, static_cast<size_t>(grown) + kAlignSlack);
      if (moved) {
        mAllocation = moved;
        mAllocatedBytes = grown;
      } else {
        std::free(mAllocation);
        mAllocation = std::malloc(static_cast<size_t>(neededBytes) + kAlignSlack);
        mAllocatedBytes = mAllocation ? neededBytes : 0;
      }
    }
  } else {
    std::free(mAllocation);
    mAllocation = nullptr;
    mAllocatedBytes = 0;
  }
  if (!mAllocation) {
    mWidth = 0;
    mHeight = 0;
  }
  return true;
}
