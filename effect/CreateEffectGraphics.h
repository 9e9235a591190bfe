#pragma once

class IFxBase;
class IGraphics;

// Creates the effect's editor object for this platform (the window does not
// exist yet). The caller fills it with controls and attaches it to the
// plug-in, which then owns it.
IGraphics* CreateEffectGraphics(IFxBase* plugin, int width, int height);
