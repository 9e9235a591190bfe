#pragma once

#include "editor/IControl.h"

// Base of knobs: a vertical (or horizontal) drag over the control's height
// (width) times the gearing covers the whole range; control or shift make the
// drag and the wheel ten times finer.
class IKnobControl : public IControl {
 public:
  enum Direction { Vertical = 0, Horizontal = 1 };

  IKnobControl(IFxBase* plug, const IRect& rect, int paramIdx, int direction = Vertical,
               double gearing = 4.0, int blendMethod = IBlend::BlendNormal);

  void MouseDrag(int x, int y, int dX, int dY, const IMouseMod& mod) override;
  void MouseWheel(int x, int y, const IMouseMod& mod, double steps) override;

  int GetDirection() const { return mDirection; }
  double GetGearing() const { return mGearing; }

 protected:
  int mDirection;
  double mGearing;
};
