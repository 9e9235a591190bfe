#pragma once

// How a control's bitmap is composited into the back buffer. The weight is
// 1.0 normally, 0.25 while greyed out and 0.0 while hidden.
struct IBlend {
  enum Method { BlendNormal = 0, BlendOpaque = 1, BlendAdd = 2, BlendDodge = 3 };

  int method = BlendNormal;
  float weight = 1.0f;

  IBlend() = default;
  explicit IBlend(int m, float w = 1.0f) : method(m), weight(w) {}
};
