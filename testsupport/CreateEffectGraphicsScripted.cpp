// The neutral effect's editor object: the scripted offscreen double, so tests
// can answer its menus and entries and see what a window would show.
#include "effect/CreateEffectGraphics.h"
#include "testsupport/IGraphicsScripted.h"

IGraphics* CreateEffectGraphics(IFxBase* plugin, int width, int height) {
  return new IGraphicsScripted(plugin, width, height, 0);
}
