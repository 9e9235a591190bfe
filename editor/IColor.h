#pragma once

#include <cstdint>

// A colour as four 0-255 channels. As a pixel word it is A R G B from the
// most significant byte down, each channel taken modulo 256.
struct IColor {
  int A = 255;
  int R = 0;
  int G = 0;
  int B = 0;

  IColor() = default;
  IColor(int a, int r, int g, int b) : A(a), R(r), G(g), B(b) {}

  uint32_t Word() const {
    return (static_cast<uint32_t>(A & 0xFF) << 24) | (static_cast<uint32_t>(R & 0xFF) << 16) |
           (static_cast<uint32_t>(G & 0xFF) << 8) | static_cast<uint32_t>(B & 0xFF);
  }

  bool operator==(const IColor& o) const { return A == o.A && R == o.R && G == o.G && B == o.B; }
  bool operator!=(const IColor& o) const { return !(*this == o); }
};
