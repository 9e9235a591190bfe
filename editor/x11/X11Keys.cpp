#include "editor/x11/X11Keys.h"

#include <X11/keysym.h>

#include "editor/IKeys.h"

int TranslateX11Key(unsigned long keysym) {
  switch (keysym) {
    case XK_space: return KEY_SPACE;
    case XK_Up:
    case XK_KP_Up: return KEY_UPARROW;
    case XK_Down:
    case XK_KP_Down: return KEY_DOWNARROW;
    case XK_Left:
    case XK_KP_Left: return KEY_LEFTARROW;
    case XK_Right:
    case XK_KP_Right: return KEY_RIGHTARROW;
    default: break;
  }
  if (keysym >= XK_0 && keysym <= XK_9) return KEY_DIGIT_0 + static_cast<int>(keysym - XK_0);
  if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return KEY_DIGIT_0 + static_cast<int>(keysym - XK_KP_0);
  if (keysym >= XK_a && keysym <= XK_z) return KEY_ALPHA_A + static_cast<int>(keysym - XK_a);
  if (keysym >= XK_A && keysym <= XK_Z) return KEY_ALPHA_A + static_cast<int>(keysym - XK_A);
  return -1;
}
