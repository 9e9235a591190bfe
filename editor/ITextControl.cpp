#include "editor/ITextControl.h"

#include "editor/IGraphics.h"

ITextControl::ITextControl(IFxBase* plug, const IRect& rect, const ITextStyle& style,
                           const char* text)
    : ITextControl(plug, rect, -1, style, text) {}

ITextControl::ITextControl(IFxBase* plug, const IRect& rect, int paramIdx,
                           const ITextStyle& style, const char* text)
    : IControl(plug, rect, paramIdx, IBlend::BlendNormal), mText(text) {
  mTextStyle = style;
}

bool ITextControl::Draw(IGraphics& graphics) {
  char text[SharedText::kCapacity];
  mText.Get(text, sizeof(text));
  if (text[0] == '\0') return true;
  IRect rect = mRect;
  return graphics.DrawStyledText(mTextStyle, text, rect, false);
}

void ITextControl::ShowText(const char* text) {
  if (mText.Set(text)) {
    // A text replaced while the old one was being drawn must still be drawn
    // after the drawing marks the control clean.
    MarkChanged();
  }
}
