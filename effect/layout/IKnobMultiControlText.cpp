#include "effect/layout/IKnobMultiControlText.h"

#include <cstdio>
#include <cstring>

#include "core/IFxBase.h"
#include "core/IFxParam.h"
#include "editor/IGraphics.h"

namespace {

// The band of one text line centred on the knob (integer halves truncate, as
// the editor's measuring does), nudged two pixels down.
IRect CentredTextBand(const IRect& knob, int textSize) {
  const int height = knob.B - knob.T;
  const int band = textSize + 4;
  const int top = knob.T + height / 2 - band / 2 + 2;
  return IRect(knob.L, top, knob.R, top + band);
}

}  // namespace

IKnobMultiControlText::IKnobMultiControlText(IFxBase* plug, int x, int y, int paramIdx,
                                             const IFrameBitmap& bitmap, const ITextStyle& style,
                                             bool showLabel)
    : IKnobMultiControl(plug, x, y, paramIdx, bitmap, Vertical, 4.0), mShowLabel(showLabel) {
  mTextStyle = style;
  mKnobRect = mRect;
  mTextRect = CentredTextBand(mKnobRect, mTextStyle.size);
  DisablePrompt(false);
}

void IKnobMultiControlText::MouseDown(int x, int y, const IMouseMod& mod) {
  const IRect& t = mTextRect;
  const bool onText = !t.Empty() && x >= t.L && x < t.R && y >= t.T && y < t.B;
  if (!onText) {
    MouseDrag(x, y, 0, 0, mod);
    return;
  }
  IGraphics* graphics = GetGraphics();
  IFxParam* param = GetParam();
  if (graphics && param && !IsPromptDisabled()) {
    graphics->PromptParamEntry(this, param, &mTextRect);
    SetRedraw(true);
  }
}

bool IKnobMultiControlText::UpdateText() {
  const IFxParam* param = GetParam();
  if (!param) {
    mText[0] = '\0';
    return true;
  }
  // The parameter changes under the instance lock on other threads; drawing
  // never waits for the audio thread, it keeps the last text instead.
  platform::RecursiveLock* lock = mPlug ? &mPlug->GetLock() : nullptr;
  if (lock && !lock->TryLock()) return false;
  char value[kMaxText / 2];
  param->FormatCurrent(value, sizeof(value));
  if (value[0] == '\0') {
    mText[0] = '\0';  // nothing to print, not even the label
  } else if (mShowLabel) {
    // A text too long for the control is cut; the value comes first.
    const int written = std::snprintf(mText, sizeof(mText), "%s %s", value, param->DisplayLabel());
    (void)written;
  } else {
    std::snprintf(mText, sizeof(mText), "%s", value);
  }
  if (lock) lock->Unlock();
  return true;
}

bool IKnobMultiControlText::Draw(IGraphics& graphics) {
  IKnobMultiControl::Draw(graphics);
  if (!UpdateText()) SetRedraw(true);
  if (mText[0] == '\0') return true;
  // The text rectangle follows the measured text, so the click area for the
  // value entry is exactly the printed value.
  IRect measured = mTextRect;
  if (!graphics.DrawStyledText(mTextStyle, mText, measured, true)) return false;
  measured.B = measured.T + mTextStyle.size + 4;
  mTextRect = measured;
  IRect drawRect = mTextRect;
  return graphics.DrawStyledText(mTextStyle, mText, drawRect, false);
}
