#pragma once

class RAS_IBitmap;

// A film strip of N frames, stacked vertically or side by side. The decoded
// image is owned by the process-wide image cache, never by this record.
struct IFrameBitmap {
  RAS_IBitmap* bitmap = nullptr;
  int W = 0;  // width of the whole strip
  int H = 0;  // height of the whole strip
  int N = 0;  // frame count
  bool framesHorizontal = false;

  IFrameBitmap() = default;
  IFrameBitmap(RAS_IBitmap* bmp, int w, int h, int n, bool horizontal)
      : bitmap(bmp), W(w), H(h), N(n), framesHorizontal(horizontal) {}
};
