#include "editor/ICaptionControl.h"

#include <cstring>

#include "core/IFxBase.h"
#include "core/IFxParam.h"
#include "editor/IGraphics.h"

ICaptionControl::ICaptionControl(IFxBase* plug, const IRect& rect, int paramIdx,
                                 const ITextStyle& style, bool showLabel)
    : ITextControl(plug, rect, paramIdx, style, ""), mShowLabel(showLabel) {
  // A caption exists to be clicked for its value prompt (the effect's group
  // list is one), so unlike other controls it starts with the prompt on.
  DisablePrompt(false);
}

void ICaptionControl::MouseDown(int, int, const IMouseMod& mod) {
  if (mod.L || mod.R) PromptParamEntry();
}

void ICaptionControl::MouseDoubleClick(int, int, const IMouseMod&) { PromptParamEntry(); }

std::string ICaptionControl::CaptionText() const {
  const IFxParam* param = GetParam();
  if (!param) return std::string();
  char text[IFxParam::kTextSize * 2];
  param->FormatCurrent(text, sizeof(text));
  std::string caption = text;
  if (mShowLabel) {
    caption += ' ';
    caption += param->DisplayLabel();
  }
  return caption;
}

bool ICaptionControl::Draw(IGraphics& graphics) {
  // The parameter changes under the instance lock on other threads; read it
  // only when the lock is free at once and otherwise draw the text read last
  // time, so that drawing never waits for the audio thread.
  if (mPlug && GetParam()) {
    platform::RecursiveLock& lock = mPlug->GetLock();
    if (lock.TryLock()) {
      const std::string caption = CaptionText();
      lock.Unlock();
      mText.Set(caption.c_str());
    } else {
      SetRedraw(true);
    }
  }
  return ITextControl::Draw(graphics);
}
