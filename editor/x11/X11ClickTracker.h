#pragma once

// X reports single presses only; this tells a double click from two single
// ones: the same button pressed again within the time and distance limits
// of the previous press. A third press after a double click starts over.
class X11ClickTracker {
 public:
  static constexpr unsigned long kMaxIntervalMs = 400;
  static constexpr int kMaxDistance = 4;  // pixels, in x and in y

  // Feeds one button press (X server time in ms); answers whether it
  // completes a double click.
  bool Press(int button, int x, int y, unsigned long timeMs);
  // Forgets the previous press (the window closed, a menu took the mouse).
  void Reset() { mHavePress = false; }

 private:
  bool mHavePress = false;
  int mButton = 0;
  int mX = 0;
  int mY = 0;
  unsigned long mTime = 0;
};
