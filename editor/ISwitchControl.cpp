#include "editor/ISwitchControl.h"

ISwitchControl::ISwitchControl(IFxBase* plug, int x, int y, int paramIdx,
                               const IFrameBitmap& bitmap, int blendMethod)
    : IBitmapControl(plug, x, y, paramIdx, bitmap, blendMethod) {}

void ISwitchControl::MouseDown(int, int, const IMouseMod& mod) {
  if (mod.R) {
    PromptParamEntry();
  } else {
    const double step = mBitmap.N < 2 ? 1.0 : 1.0 / (mBitmap.N - 1);
    SetValue(GetValue() + step);
  }
  // Sums of thirds and the like land a little above 1; only a clear
  // overshoot wraps.
  if (GetValue() > 1.001) SetValue(0.0);
  MarkDirty(true);
}

void ISwitchControl::MouseDoubleClick(int x, int y, const IMouseMod& mod) { MouseDown(x, y, mod); }
