#pragma once

#include <cstdint>

// Per-pixel arithmetic shared by the blit, the fill and the line. A pixel is
// four bytes B, G, R, A; w is a weight in 1..256. Division truncates toward
// zero, as the formulas are defined.

namespace raster_ops {

constexpr int kA = 3;  // byte index of alpha

inline uint8_t ClampByte(int v) { return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); }

// Weight of a call alpha: (int)(alpha * 256), limited to 0..256 so that a
// weight outside 0..1 (or not a number) cannot push bytes out of range.
inline int WeightOf(float alpha) {
  if (!(alpha > 0.0f)) {
    return 0;
  }
  if (alpha >= 1.0f) {
    return 256;
  }
  return static_cast<int>(alpha * 256.0f);
}

// d moves towards s by w / 256.
inline uint8_t Mix(int s, int d, int w) { return static_cast<uint8_t>(s + (d - s) * (256 - w) / 256); }

// Word-level halving average of two pixels, per byte, rounding down.
inline uint32_t HalfAndHalf(uint32_t a, uint32_t b) { return ((a >> 1) & 0x7F7F7F7Fu) + ((b >> 1) & 0x7F7F7F7Fu); }

// Additive blend: colour bytes gain w * s / 256, alpha gains a * w / 256.
inline void AddPixel(uint8_t* d, const uint8_t* s, int w, int a) {
  for (int i = 0; i < 3; ++i) {
    d[i] = ClampByte(d[i] + w * s[i] / 256);
  }
  d[kA] = ClampByte(d[kA] + a * w / 256);
}

// Colour dodge on all four bytes.
inline void DodgePixel(uint8_t* d, const uint8_t* s, int w) {
  for (int i = 0; i < 4; ++i) {
    int k = w * s[i] / 256;
    int v = k > 254 ? d[i] * 256 : d[i] * 256 / (256 - k);
    d[i] = static_cast<uint8_t>(v > 255 ? 255 : v);
  }
}

// Multiply (d * s / 255) or overlay (multiply in the dark half, screen in
// the light half) of the colour bytes, reached by weight w; alpha is kept.
inline void MultiplyPixel(uint8_t* d, const uint8_t* s, int w) {
  for (int i = 0; i < 3; ++i) {
    d[i] = Mix(d[i] * s[i] / 255, d[i], w);
  }
}

inline void OverlayPixel(uint8_t* d, const uint8_t* s, int w) {
  for (int i = 0; i < 3; ++i) {
    int target = d[i] < 128 ? 2 * d[i] * s[i] / 255 : 255 - 2 * (255 - d[i]) * (255 - s[i]) / 255;
    d[i] = Mix(ClampByte(target), d[i], w);
  }
}

// The blends that the blit and the fill share beyond plain copy. The source
// counts with alpha a (255 when the mode does not weight by alpha); w is the
// weight already scaled by that alpha. Hue/saturation/value adjustment has
// no defined arithmetic and leaves the pixel unchanged.
inline void BlendPixel(unsigned int lowByte, uint8_t* d, const uint8_t* s, int w, int a) {
  switch (lowByte) {
    case 1:
      AddPixel(d, s, w, a);
      break;
    case 2:
      DodgePixel(d, s, w);
      break;
    case 3:
      MultiplyPixel(d, s, w);
      break;
    case 4:
      OverlayPixel(d, s, w);
      break;
    default:
      break;
  }
}

}  // namespace raster_ops
