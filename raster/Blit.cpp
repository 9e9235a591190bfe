#include <algorithm>
#include <cstring>

#include "raster/BitmapRows.h"
#include "raster/PixelOps.h"
#include "raster/RAS_Blit.h"

using namespace raster_ops;

namespace {

// The clipped area of one blit: rows x cols pixels from src to dst.
struct BlitArea {
  uint8_t* dst;
  const uint8_t* src;
  ptrdiff_t dstStep;
  ptrdiff_t srcStep;
  int cols;
  int rows;
};

void ChannelCopy(const BlitArea& a, unsigned int mode) {
  int from = mode & 3;
  int to = (mode >> 2) & 3;
  for (int y = 0; y < a.rows; ++y) {
    uint8_t* d = a.dst + y * a.dstStep;
    const uint8_t* s = a.src + y * a.srcStep;
    for (int x = 0; x < a.cols; ++x) {
      d[x * 4 + to] = s[x * 4 + from];
    }
  }
}

void CopyRows(const BlitArea& a) {
  size_t bytes = static_cast<size_t>(a.cols) * 4;
  for (int y = 0; y < a.rows; ++y) {
    std::memmove(a.dst + y * a.dstStep, a.src + y * a.srcStep, bytes);
  }
}

void HalveRows(const BlitArea& a) {
  for (int y = 0; y < a.rows; ++y) {
    uint8_t* d = a.dst + y * a.dstStep;
    const uint8_t* s = a.src + y * a.srcStep;
    for (int x = 0; x < a.cols; ++x) {
      uint32_t dw, sw;
      std::memcpy(&dw, d + x * 4, 4);
      std::memcpy(&sw, s + x * 4, 4);
      dw = HalfAndHalf(sw, dw);
      std::memcpy(d + x * 4, &dw, 4);
    }
  }
}

void CopyWeighted(const BlitArea& a, int ia) {
  for (int y = 0; y < a.rows; ++y) {
    uint8_t* d = a.dst + y * a.dstStep;
    const uint8_t* s = a.src + y * a.srcStep;
    for (int i = 0; i < a.cols * 4; ++i) {
      d[i] = Mix(s[i], d[i], ia);
    }
  }
}

// Copy weighted by each source pixel's alpha. Fully transparent pixels are
// skipped and, at full weight, fully opaque ones stored without arithmetic.
void CopyWithAlpha(const BlitArea& a, int ia) {
  for (int y = 0; y < a.rows; ++y) {
    uint8_t* d = a.dst + y * a.dstStep;
    const uint8_t* s = a.src + y * a.srcStep;
    if (ia == 256) {
      int x = 0;
      while (x < a.cols) {
        int alpha = s[x * 4 + kA];
        if (alpha == 255) {
          // A run of opaque pixels is stored as it is (its alpha is already 255).
          int end = x + 1;
          while (end < a.cols && s[end * 4 + kA] == 255) {
            ++end;
          }
          std::memcpy(d + x * 4, s + x * 4, static_cast<size_t>(end - x) * 4);
          x = end;
          continue;
        }
        if (alpha != 0) {
          uint8_t* dp = d + x * 4;
          const uint8_t* sp = s + x * 4;
          dp[kA] = static_cast<uint8_t>(std::min(dp[kA] + alpha, 255));
          for (int i = 0; i < 3; ++i) {
            dp[i] = static_cast<uint8_t>(sp[i] + (dp[i] - sp[i]) * (255 - alpha) / 256);
          }
        }
        ++x;
      }
    } else {
      for (int x = 0; x < a.cols; ++x, d += 4, s += 4) {
        int alpha = s[kA];
        if (alpha == 0) {
          continue;
        }
        int w = ia * (alpha + 1) / 256;
        d[kA] = static_cast<uint8_t>(std::min(d[kA] + w, 255));
        for (int i = 0; i < 3; ++i) {
          d[i] = Mix(s[i], d[i], w);
        }
      }
    }
  }
}

// Add, dodge, multiply and overlay. With useAlpha the weight follows each
// source pixel's alpha; without it every source pixel counts as opaque.
void BlendRows(const BlitArea& a, unsigned int lowByte, bool useAlpha, int ia) {
  bool skipTransparent = lowByte != RAS_BlitDodge;
  for (int y = 0; y < a.rows; ++y) {
    uint8_t* d = a.dst + y * a.dstStep;
    const uint8_t* s = a.src + y * a.srcStep;
    for (int x = 0; x < a.cols; ++x, d += 4, s += 4) {
      int alpha = useAlpha ? s[kA] : 255;
      if (alpha == 0 && skipTransparent) {
        continue;
      }
      BlendPixel(lowByte, d, s, ia * (alpha + 1) / 256, alpha);
    }
  }
}

}  // namespace

void RAS_BlitBitmap(RAS_IBitmap* dest, RAS_IBitmap* src, int dstX, int dstY,
                    const RAS_Rect* srcRect, float alpha, unsigned int mode) {
  if (!src || !dest || alpha == 0.0f) {
    return;
  }
  // 64-bit arithmetic: extreme rectangles and positions must not overflow.
  long long sx = 0, sy = 0;
  long long ex = src->GetWidth(), ey = src->GetHeight();
  long long dx = dstX, dy = dstY;
  if (srcRect) {
    ex = std::min<long long>(srcRect->R, ex);
    ey = std::min<long long>(srcRect->B, ey);
    if (srcRect->L < 0) {
      dx -= srcRect->L;
    } else {
      sx = srcRect->L;
    }
    if (srcRect->T < 0) {
      dy -= srcRect->T;
    } else {
      sy = srcRect->T;
    }
  }
  if (dx < 0) {
    sx -= dx;
    dx = 0;
  }
  if (dy < 0) {
    sy -= dy;
    dy = 0;
  }
  long long destWidth = dest->GetWidth(), destHeight = dest->GetHeight();
  if (sx >= ex || sy >= ey || dx >= destWidth || dy >= destHeight) {
    return;
  }
  long long cols = std::min(sx + destWidth - dx, ex) - sx;
  long long rows = std::min(sy + destHeight - dy, ey) - sy;
  if (cols <= 0 || rows <= 0) {
    return;
  }
  RAS_BitmapRows dstRows, srcRows;
  if (!RAS_GetBitmapRows(dest, &dstRows) || !RAS_GetBitmapRows(src, &srcRows)) {
    return;
  }
  BlitArea area{dstRows.Pixel(static_cast<int>(dx), static_cast<int>(dy)),
                srcRows.Pixel(static_cast<int>(sx), static_cast<int>(sy)),
                dstRows.step,
                srcRows.step,
                static_cast<int>(cols),
                static_cast<int>(rows)};

  unsigned int lowByte = mode & 0xFF;
  if (lowByte >= RAS_BlitChannelCopy) {
    ChannelCopy(area, mode);
    return;
  }
  if (mode == RAS_BlitCopy && alpha == 1.0f) {
    CopyRows(area);
    return;
  }
  if (mode == RAS_BlitCopy && alpha == 0.5f) {
    HalveRows(area);
    return;
  }
  int ia = WeightOf(alpha);
  if (ia == 0) {
    return;
  }
  bool useAlpha = (mode & RAS_BlitUseAlpha) != 0;
  if (lowByte == RAS_BlitCopy) {
    if (useAlpha) {
      CopyWithAlpha(area, ia);
    } else if (ia == 256) {
      CopyRows(area);
    } else {
      CopyWeighted(area, ia);
    }
    return;
  }
  BlendRows(area, lowByte, useAlpha, ia);
}
