#include "editor/IKnobMultiControl.h"

#include "editor/IGraphics.h"

IKnobMultiControl::IKnobMultiControl(IFxBase* plug, int x, int y, int paramIdx,
                                     const IFrameBitmap& bitmap, int direction, double gearing)
    : IKnobControl(plug,
                   IRect(x, y, x + bitmap.W, y + bitmap.H / (bitmap.N > 0 ? bitmap.N : 1)),
                   paramIdx, direction, gearing, IBlend::BlendNormal),
      mBitmap(bitmap) {}

int IKnobMultiControl::CurrentFrame() const {
  const int n = mBitmap.N;
  const int i = static_cast<int>((n - 1) * GetValue() + 0.5);
  if (i < 0) return 1;
  return i + 1 < n ? i + 1 : n;
}

bool IKnobMultiControl::Draw(IGraphics& graphics) {
  const IBlend blend = GetBlend();
  return graphics.DrawBitmapFrame(mBitmap, mRect, CurrentFrame(), &blend);
}
