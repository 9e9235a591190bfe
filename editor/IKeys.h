#pragma once

// Key codes the window layer hands to IGraphics::KeyDown: space, the four
// arrows, the digits 0-9 (5-14) and the letters A-Z (15-40).
enum IKeyCode {
  KEY_SPACE = 0,
  KEY_UPARROW = 1,
  KEY_DOWNARROW = 2,
  KEY_LEFTARROW = 3,
  KEY_RIGHTARROW = 4,
  KEY_DIGIT_0 = 5,
  KEY_DIGIT_9 = 14,
  KEY_ALPHA_A = 15,
  KEY_ALPHA_Z = 40,
};
