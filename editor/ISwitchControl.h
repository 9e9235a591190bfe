#pragma once

#include "editor/IBitmapControl.h"

// A click advances to the next frame's value and wraps after the last one:
// a two-frame switch toggles 0 <-> 1, a four-frame one steps 0, 1/3, 2/3, 1.
class ISwitchControl : public IBitmapControl {
 public:
  ISwitchControl(IFxBase* plug, int x, int y, int paramIdx, const IFrameBitmap& bitmap,
                 int blendMethod = IBlend::BlendNormal);

  void MouseDown(int x, int y, const IMouseMod& mod) override;
  // Same as a press, so a double click advances twice.
  void MouseDoubleClick(int x, int y, const IMouseMod& mod) override;
};
