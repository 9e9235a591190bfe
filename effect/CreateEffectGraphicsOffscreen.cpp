// The editor object without a window system: the offscreen layer. A window
// layer replaces this file for builds that show a real window.
#include "editor/offscreen/IGraphicsOffscreen.h"
#include "effect/CreateEffectGraphics.h"

IGraphics* CreateEffectGraphics(IFxBase* plugin, int width, int height) {
  return new IGraphicsOffscreen(plugin, width, height, 0);
}
