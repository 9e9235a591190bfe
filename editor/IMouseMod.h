#pragma once

// Buttons and modifier keys held during a mouse event.
struct IMouseMod {
  bool L = false;  // left button
  bool R = false;  // right button
  bool S = false;  // shift
  bool C = false;  // control
  bool A = false;  // alt

  IMouseMod() = default;
  IMouseMod(bool l, bool r = false, bool s = false, bool c = false, bool a = false)
      : L(l), R(r), S(s), C(c), A(a) {}
};
