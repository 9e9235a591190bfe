#pragma once

#include <vector>

#include "editor/ISwitchControl.h"

// A switch with one click rectangle per frame: clicking rectangle i selects
// value i / (N - 1). The rectangles split the control evenly, side by side or
// stacked.
class ISwitchFramesControl : public ISwitchControl {
 public:
  ISwitchFramesControl(IFxBase* plug, int x, int y, int paramIdx, const IFrameBitmap& bitmap,
                       bool splitHorizontally = false, int blendMethod = IBlend::BlendNormal);

  void MouseDown(int x, int y, const IMouseMod& mod) override;
  void MouseDoubleClick(int x, int y, const IMouseMod& mod) override;
  void MoveTo(int x, int y) override;

  const std::vector<IRect>& GetClickRects() const { return mClickRects; }

 private:
  void BuildClickRects();

  std::vector<IRect> mClickRects;
  bool mSplitHorizontally;
  int mFrameCount;
};
