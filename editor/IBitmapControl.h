#pragma once

#include "editor/IControl.h"
#include "editor/IFrameBitmap.h"

// Draws one frame of a film strip chosen by its value. Its rectangle is the
// top-left corner plus one frame: (x, y, x + W, y + H / N).
class IBitmapControl : public IControl {
 public:
  IBitmapControl(IFxBase* plug, int x, int y, int paramIdx, const IFrameBitmap& bitmap,
                 int blendMethod = IBlend::BlendNormal);
  IBitmapControl(IFxBase* plug, int x, int y, const IFrameBitmap& bitmap,
                 int blendMethod = IBlend::BlendNormal);

  bool Draw(IGraphics& graphics) override;

  const IFrameBitmap& GetBitmap() const { return mBitmap; }
  // Frame number (from 1) that the current value selects.
  int CurrentFrame() const;

 protected:
  IFrameBitmap mBitmap;
};
