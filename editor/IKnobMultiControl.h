#pragma once

#include "editor/IFrameBitmap.h"
#include "editor/IKnobControl.h"

// A knob drawn from a film strip: the value picks one of its N frames.
class IKnobMultiControl : public IKnobControl {
 public:
  IKnobMultiControl(IFxBase* plug, int x, int y, int paramIdx, const IFrameBitmap& bitmap,
                    int direction = Vertical, double gearing = 4.0);

  bool Draw(IGraphics& graphics) override;

  const IFrameBitmap& GetBitmap() const { return mBitmap; }
  int CurrentFrame() const;

 protected:
  IFrameBitmap mBitmap;
};
