#include "effect/dsp/CircularBuffer.h"

#include <algorithm>
#include <cstring>

void CircularBuffer::Reserve(int capacity) {
  if (capacity > 0) {
    mItems.reserve(static_cast<size_t>(capacity));
  }
}

void CircularBuffer::Resize(int n) {
  mLength = n > 0 ? n : 0;
  mItems.assign(static_cast<size_t>(mLength), 0.0);
  mOwnsItems = true;
  mWritePosition = 0;
  Resized();
}

void CircularBuffer::Push(const double* samples, int count) {
  if (mLength <= 0) {
    return;
  }
  while (count > 0) {
    const int begin = mWritePosition;
    const int stretch = std::min(count, mLength - begin);
    std::memcpy(mItems.data() + begin, samples, sizeof(double) * static_cast<size_t>(stretch));
    samples += stretch;
    count -= stretch;
    mWritePosition = begin + stretch;
    ItemsWritten(begin, mWritePosition);
    if (mWritePosition >= mLength) {
      mWritePosition = 0;
      WrapNotification();
    }
  }
}
