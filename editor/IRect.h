#pragma once

// A rectangle of editor pixels. Right and bottom are exclusive for hit tests;
// a rectangle whose four values are all 0 counts as empty.
struct IRect {
  int L = 0;
  int T = 0;
  int R = 0;
  int B = 0;

  IRect() = default;
  IRect(int l, int t, int r, int b) : L(l), T(t), R(r), B(b) {}

  bool Empty() const { return L == 0 && T == 0 && R == 0 && B == 0; }
  int W() const { return R - L; }
  int H() const { return B - T; }

  // The edges of `other` that face this rectangle's left and top include
  // equality; those facing its right and bottom do not. Rectangles that only
  // touch along this rectangle's right or bottom edge therefore intersect.
  bool Intersects(const IRect& other) const {
    return !Empty() && !other.Empty() && R >= other.L && L < other.R && B >= other.T &&
           T < other.B;
  }

  // Overlap of two intersecting rectangles; empty when they do not intersect.
  IRect Intersect(const IRect& other) const {
    if (!Intersects(other)) return IRect();
    return IRect(L > other.L ? L : other.L, T > other.T ? T : other.T,
                 R < other.R ? R : other.R, B < other.B ? B : other.B);
  }

  // An empty operand yields the other one.
  IRect Union(const IRect& other) const {
    if (Empty()) return other;
    if (other.Empty()) return *this;
    return IRect(L < other.L ? L : other.L, T < other.T ? T : other.T,
                 R > other.R ? R : other.R, B > other.B ? B : other.B);
  }

  bool Contains(int x, int y) const { return !Empty() && x >= L && x < R && y >= T && y < B; }

  bool operator==(const IRect& o) const { return L == o.L && T == o.T && R == o.R && B == o.B; }
  bool operator!=(const IRect& o) const { return !(*this == o); }
};
