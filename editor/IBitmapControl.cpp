#include "editor/IBitmapControl.h"

#include "editor/IGraphics.h"

namespace {

// The rectangle is one frame tall whatever the strip's direction.
IRect FrameRect(int x, int y, const IFrameBitmap& bitmap) {
  const int frames = bitmap.N > 0 ? bitmap.N : 1;
  return IRect(x, y, x + bitmap.W, y + bitmap.H / frames);
}

}  // namespace

IBitmapControl::IBitmapControl(IFxBase* plug, int x, int y, int paramIdx,
                               const IFrameBitmap& bitmap, int blendMethod)
    : IControl(plug, FrameRect(x, y, bitmap), paramIdx, blendMethod), mBitmap(bitmap) {}

IBitmapControl::IBitmapControl(IFxBase* plug, int x, int y, const IFrameBitmap& bitmap,
                               int blendMethod)
    : IBitmapControl(plug, x, y, -1, bitmap, blendMethod) {}

int IBitmapControl::CurrentFrame() const {
  const int n = mBitmap.N;
  if (n < 2) return 1;
  int frame = static_cast<int>((n - 1) * GetValue() + 0.5) + 1;
  if (frame < 1) frame = 1;
  if (frame > n) frame = n;
  return frame;
}

bool IBitmapControl::Draw(IGraphics& graphics) {
  const IBlend blend = GetBlend();
  return graphics.DrawBitmapFrame(mBitmap, mRect, CurrentFrame(), &blend);
}
