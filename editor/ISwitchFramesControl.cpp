#include "editor/ISwitchFramesControl.h"

ISwitchFramesControl::ISwitchFramesControl(IFxBase* plug, int x, int y, int paramIdx,
                                           const IFrameBitmap& bitmap, bool splitHorizontally,
                                           int blendMethod)
    : ISwitchControl(plug, x, y, paramIdx, bitmap, blendMethod),
      mSplitHorizontally(splitHorizontally),
      mFrameCount(bitmap.N) {
  DisablePrompt(false);
  BuildClickRects();
}

void ISwitchFramesControl::BuildClickRects() {
  mClickRects.clear();
  if (mFrameCount < 1) return;
  const int w = mRect.W() / mFrameCount;
  const int h = mRect.H() / mFrameCount;
  for (int i = 0; i < mFrameCount; ++i) {
    if (mSplitHorizontally)
      mClickRects.emplace_back(mRect.L + i * w, mRect.T, mRect.L + (i + 1) * w, mRect.B);
    else
      mClickRects.emplace_back(mRect.L, mRect.T + i * h, mRect.R, mRect.T + (i + 1) * h);
  }
}

void ISwitchFramesControl::MouseDown(int x, int y, const IMouseMod&) {
  const int n = static_cast<int>(mClickRects.size());
  for (int i = 0; i < n; ++i) {
    if (mClickRects[static_cast<size_t>(i)].Contains(x, y)) {
      SetValue(n > 1 ? static_cast<double>(i) / (n - 1) : 0.0);
      break;
    }
  }
  // Sent even when the click fell between two rectangles.
  MarkDirty(true);
}

void ISwitchFramesControl::MouseDoubleClick(int x, int y, const IMouseMod& mod) {
  MouseDown(x, y, mod);
}

void ISwitchFramesControl::MoveTo(int x, int y) {
  ISwitchControl::MoveTo(x, y);
  BuildClickRects();
}
