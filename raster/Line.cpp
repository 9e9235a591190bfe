#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "raster/RAS_Blit.h"

namespace {

// floor(num / den) for den > 0.
long long FloorDiv(long long num, long long den) {
  long long q = num / den;
  return (num % den != 0 && num < 0) ? q - 1 : q;
}

void Plot(RAS_IBitmap* dest, long long x, long long y, uint32_t colour, float alpha, unsigned int mode) {
  if (x < 0 || y < 0 || x >= dest->GetWidth() || y >= dest->GetHeight()) {
    return;
  }
  RAS_FillRectangle(dest, static_cast<int>(x), static_cast<int>(y), 1, 1, colour, alpha, mode);
}

// A diagonal line stepped along its major axis; only the part of that axis
// inside the bitmap is visited, so clipping costs nothing and long lines
// far outside do no work. The minor coordinate is the exact line rounded to
// the nearest pixel; with antialias the two nearest pixels share the weight.
void DrawDiagonal(RAS_IBitmap* dest, long long x1, long long y1, long long x2, long long y2,
                  uint32_t colour, float alpha, unsigned int mode, bool antialias) {
  bool steep = std::llabs(y2 - y1) > std::llabs(x2 - x1);
  if (steep) {
    std::swap(x1, y1);
    std::swap(x2, y2);
  }
  if (x1 > x2) {
    std::swap(x1, x2);
    std::swap(y1, y2);
  }
  long long dx = x2 - x1, dy = y2 - y1;
  long long majorLimit = steep ? dest->GetHeight() : dest->GetWidth();
  long long from = std::max(x1, 0LL), to = std::min(x2, majorLimit - 1);
  for (long long major = from; major <= to; ++major) {
    long long t = major - x1;
    if (!antialias) {
      long long minor = y1 + FloorDiv(2 * t * dy + dx, 2 * dx);
      steep ? Plot(dest, minor, major, colour, alpha, mode) : Plot(dest, major, minor, colour, alpha, mode);
      continue;
    }
    double exact = static_cast<double>(y1) + static_cast<double>(t) * static_cast<double>(dy) / static_cast<double>(dx);
    double base = std::floor(exact);
    float frac = static_cast<float>(exact - base);
    long long minor = static_cast<long long>(base);
    if (steep) {
      Plot(dest, minor, major, colour, alpha * (1.0f - frac), mode);
      Plot(dest, minor + 1, major, colour, alpha * frac, mode);
    } else {
      Plot(dest, major, minor, colour, alpha * (1.0f - frac), mode);
      Plot(dest, major, minor + 1, colour, alpha * frac, mode);
    }
  }
}

}  // namespace

void RAS_DrawLine(RAS_IBitmap* dest, int x1, int y1, int x2, int y2, uint32_t colour, float alpha,
                  unsigned int mode, bool antialias) {
  if (!dest || dest->GetWidth() <= 0 || dest->GetHeight() <= 0) {
    return;
  }
  if (y1 == y2 || x1 == x2) {
    // Straight lines are one-pixel rectangles, limited to the bitmap first so
    // that the length cannot overflow.
    long long left = std::max<long long>(std::min(x1, x2), 0);
    long long right = std::min<long long>(std::max(x1, x2), dest->GetWidth() - 1LL);
    long long top = std::max<long long>(std::min(y1, y2), 0);
    long long bottom = std::min<long long>(std::max(y1, y2), dest->GetHeight() - 1LL);
    if (left > right || top > bottom) {
      return;
    }
    RAS_FillRectangle(dest, static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left + 1),
                      static_cast<int>(bottom - top + 1), colour, alpha, mode);
    return;
  }
  DrawDiagonal(dest, x1, y1, x2, y2, colour, alpha, mode, antialias);
}
