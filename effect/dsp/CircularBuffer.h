#pragma once

#include <vector>

// A fixed-length ring of samples. Pushing writes at the write position and
// wraps to the start; derived classes hear about every written stretch and
// every wrap.
class CircularBuffer {
 public:
  virtual ~CircularBuffer() = default;

  // Makes room for rings of up to capacity items, so that later resizes
  // within it do not allocate. Call outside audio blocks.
  void Reserve(int capacity);

  // length = n, all items 0, write position 0. Allocates only when n exceeds
  // the reserved capacity.
  void Resize(int n);

  // Writes the samples in order, wrapping at the length. A ring of length 0
  // takes nothing.
  void Push(const double* samples, int count);

  int Length() const { return mLength; }
  int WritePosition() const { return mWritePosition; }
  bool OwnsItems() const { return mOwnsItems; }
  const double* Items() const { return mItems.data(); }

 protected:
  // Called each time the write position wraps to 0.
  virtual void WrapNotification() {}
  // Called after items [begin, end) were written, before any wrap.
  virtual void ItemsWritten(int /*begin*/, int /*end*/) {}
  // Called after Resize has cleared the ring.
  virtual void Resized() {}
  // For derived classes that repair items in place.
  double* MutableItems() { return mItems.data(); }

 private:
  std::vector<double> mItems;
  int mLength = 0;
  int mWritePosition = 0;
  bool mOwnsItems = false;
};
