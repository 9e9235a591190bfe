#include "editor/IKnobControl.h"

IKnobControl::IKnobControl(IFxBase* plug, const IRect& rect, int paramIdx, int direction,
                           double gearing, int blendMethod)
    : IControl(plug, rect, paramIdx, blendMethod), mDirection(direction), mGearing(gearing) {}

void IKnobControl::MouseDrag(int, int, int dX, int dY, const IMouseMod& mod) {
  double gearing = mGearing;
  if (mod.C || mod.S) gearing *= 10.0;
  double value = GetValue();
  if (mDirection == Vertical)
    value += static_cast<double>(dY) / static_cast<double>(mRect.T - mRect.B) / gearing;
  else
    value += static_cast<double>(dX) / static_cast<double>(mRect.R - mRect.L) / gearing;
  SetValue(value);
  MarkDirty(true);
}

void IKnobControl::MouseWheel(int, int, const IMouseMod& mod, double steps) {
  const double perStep = (mod.C || mod.S) ? 0.001 : 0.01;
  SetValue(GetValue() + steps * perStep);
  MarkDirty(true);
}
