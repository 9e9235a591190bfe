// The editor object of modules that show a real window on X11 displays.
#include "editor/x11/IGraphicsX11.h"
#include "effect/CreateEffectGraphics.h"

IGraphics* CreateEffectGraphics(IFxBase* plugin, int width, int height) {
  return new IGraphicsX11(plugin, width, height, 0);
}
