#pragma once

#include "editor/ITextControl.h"

// Shows its parameter's display text (optionally followed by a space and the
// display label); a click opens the value prompt, which is enabled from
// construction.
class ICaptionControl : public ITextControl {
 public:
  ICaptionControl(IFxBase* plug, const IRect& rect, int paramIdx, const ITextStyle& style,
                  bool showLabel = true);

  void MouseDown(int x, int y, const IMouseMod& mod) override;
  void MouseDoubleClick(int x, int y, const IMouseMod& mod) override;
  bool Draw(IGraphics& graphics) override;

  // The text Draw shows for the parameter's current value.
  std::string CaptionText() const;

 private:
  bool mShowLabel;
};
