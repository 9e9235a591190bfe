#pragma once

// A rectangle in pixels: left and top inclusive, right and bottom exclusive.
struct RAS_Rect {
  int L = 0;
  int T = 0;
  int R = 0;
  int B = 0;
};
