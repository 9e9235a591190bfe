#pragma once

#include "editor/IKnobMultiControl.h"
#include "editor/ITextStyle.h"

// A film-strip knob that prints its parameter's value across its middle.
// A click on the printed value opens the value entry; a click anywhere else
// on the knob starts an ordinary drag.
class IKnobMultiControlText : public IKnobMultiControl {
 public:
  static constexpr int kMaxText = 96;

  IKnobMultiControlText(IFxBase* plug, int x, int y, int paramIdx, const IFrameBitmap& bitmap,
                        const ITextStyle& style, bool showLabel);

  void MouseDown(int x, int y, const IMouseMod& mod) override;
  bool Draw(IGraphics& graphics) override;

  // Where the value text was last drawn (and where a click opens the entry).
  // Before the first draw it is a band of text height across the knob.
  const IRect& GetTextRect() const { return mTextRect; }
  const IRect& GetKnobRect() const { return mKnobRect; }
  // The text drawn last: the formatted value, plus a space and the display
  // label when the label is shown.
  const char* GetText() const { return mText; }

 private:
  // Formats the parameter's current value into mText (under the instance
  // lock when it is free at once); false when the lock was busy.
  bool UpdateText();

  IRect mTextRect;
  IRect mKnobRect;
  bool mShowLabel;
  char mText[kMaxText] = "";
};
