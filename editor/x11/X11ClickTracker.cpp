#include "editor/x11/X11ClickTracker.h"

#include <cstdlib>

bool X11ClickTracker::Press(int button, int x, int y, unsigned long timeMs) {
  // Server time is a wrapping 32-bit millisecond count.
  const unsigned long elapsed = (timeMs - mTime) & 0xFFFFFFFFul;
  const bool isDouble = mHavePress && button == mButton && elapsed <= kMaxIntervalMs &&
                        std::abs(x - mX) <= kMaxDistance && std::abs(y - mY) <= kMaxDistance;
  if (isDouble) {
    mHavePress = false;
    return true;
  }
  mHavePress = true;
  mButton = button;
  mX = x;
  mY = y;
  mTime = timeMs;
  return false;
}
