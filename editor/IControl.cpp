#include "editor/IControl.h"

#include <cstring>

#include "core/IFxBase.h"
#include "core/IFxParam.h"
#include "editor/IGraphics.h"
#include "editor/ITextControl.h"
#include "platform/FatalAssert.h"

IControl::IControl(IFxBase* plug, const IRect& rect, int paramIdx, int blendMethod)
    : mPlug(plug), mRect(rect), mTargetRect(rect), mParamIdx(paramIdx), mBlendMethod(blendMethod) {}

IControl::~IControl() = default;

void IControl::MouseDown(int, int, const IMouseMod& mod) {
  if (mod.R) PromptParamEntry();
}

void IControl::MouseUp(int, int, const IMouseMod&) {}

void IControl::MouseDrag(int, int, int, int, const IMouseMod&) {}

void IControl::MouseDoubleClick(int, int, const IMouseMod&) {
  const double defaultValue = GetDefaultValue();
  if (defaultValue >= 0.0) {
    SetValue(defaultValue);
    MarkDirty(true);
  }
}

void IControl::MouseWheel(int, int, const IMouseMod&, double) {}

bool IControl::KeyDown(int, int, int) { return false; }

void IControl::MouseOver(int, int, const IMouseMod&) {}

void IControl::MouseOut() {}

void IControl::TakeParamValue(double value) {
  if (GetDefaultValue() < 0.0) {
    // The first value (the parameter's value when the editor is attached)
    // is also the one a double click restores.
    SetValue(value);
    SetDefaultValue(value);
    return;
  }
  if (value != GetValue()) {
    SetValue(value);
    MarkChanged();
  }
}

void IControl::TakeEnteredText(const char*) {}

void IControl::Hide(bool hide) {
  mHidden.store(hide, std::memory_order_relaxed);
  mBlendWeight.store(hide ? 0.0f : 1.0f, std::memory_order_relaxed);
  MarkChanged();
}

void IControl::GreyOut(bool grey) {
  mGreyed.store(grey, std::memory_order_relaxed);
  mBlendWeight.store(grey ? 0.25f : 1.0f, std::memory_order_relaxed);
  // The host thread greys while the interface thread may be drawing.
  MarkChanged();
}

bool IControl::IsHit(int x, int y) const { return mTargetRect.Contains(x, y); }

void IControl::MarkDirty(bool pushToPlug) {
  const double value = GetValue();
  if (value < mClampLow)
    SetValue(mClampLow);
  else if (value > mClampHigh)
    SetValue(mClampHigh);
  mDrawFlags.fetch_or(kDirty, std::memory_order_acq_rel);

  if (pushToPlug && mPlug && mParamIdx >= 0) {
    // Held over the display texts too: other threads change parameters
    // under the same lock.
    platform::LockGuard guard(mPlug->GetLock());
    mPlug->SetParameterFromGUI(mParamIdx, GetValue());
    IFxParam* param = GetParam();
    if (param && mValueDisplay) {
      char text[IFxParam::kTextSize * 2];
      param->FormatCurrent(text, sizeof(text));
      mValueDisplay->ShowText(text);
    }
    if (param && mNameDisplay) mNameDisplay->ShowText(param->Name());
  }
}

void IControl::MarkClean() {
  // dirty = redraw, redraw = false, as one atomic step.
  uint8_t flags = mDrawFlags.load(std::memory_order_acquire);
  while (!mDrawFlags.compare_exchange_weak(flags, (flags & kRedraw) != 0 ? kDirty : 0,
                                           std::memory_order_acq_rel)) {
  }
}

bool IControl::IsDirty() const {
  return (mDrawFlags.load(std::memory_order_acquire) & kDirty) != 0;
}

void IControl::TakeAuxParamValue(int auxIdx, double value) {
  FX_ASSERT(auxIdx > -1 && auxIdx < GetNAuxParams(), "idx > -1 && idx < mAuxParams.GetSize()");
  AuxParam& aux = *mAuxParams[static_cast<size_t>(auxIdx)];
  if (value != aux.value.load(std::memory_order_relaxed)) {
    aux.value.store(value, std::memory_order_relaxed);
    MarkChanged();
  }
}

void IControl::MoveTo(int x, int y) { SetRect(IRect(x, y, x + mRect.W(), y + mRect.H())); }

IFxParam* IControl::GetParam() const {
  if (!mPlug || mParamIdx < 0 || mParamIdx >= mPlug->NumParams()) return nullptr;
  return mPlug->GetParam(mParamIdx);
}

void IControl::PromptParamEntry() {
  if (mParamIdx < 0 || mDisablePrompt) return;
  IFxParam* param = GetParam();
  if (!param || !mGraphics) return;

  if (param->NamedValueCount() > 0) {
    mGraphics->PromptParamEntry(this, param, &mRect);
  } else {
    // Centred on the control; an odd-sized control loses one pixel.
    const int cx = (mRect.L + mRect.R) / 2;
    const int cy = (mRect.T + mRect.B) / 2;
    const int hw = (mRect.R - mRect.L) / 2;
    const int hh = (mRect.B - mRect.T) / 2;
    const IRect entryRect(cx - hw, cy - hh, cx + hw, cy + hh);
    mGraphics->PromptParamEntry(this, param, &entryRect);
  }
  SetRedraw(true);
}

void IControl::SetValueFromEntry(double value) {
  if (value != GetValue()) {
    SetValue(value);
    MarkDirty(true);
    SetRedraw(true);
  }
}

int IControl::AddAuxParam(int paramIdx) {
  mAuxParams.push_back(std::make_unique<AuxParam>(paramIdx));
  return GetNAuxParams() - 1;
}

int IControl::AuxParamIndex(int paramIdx) const {
  for (int i = 0; i < GetNAuxParams(); ++i)
    if (mAuxParams[static_cast<size_t>(i)]->paramIdx == paramIdx) return i;
  return -1;
}

int IControl::GetAuxParamIdx(int auxIdx) const {
  FX_ASSERT(auxIdx > -1 && auxIdx < GetNAuxParams(), "idx > -1 && idx < mAuxParams.GetSize()");
  return mAuxParams[static_cast<size_t>(auxIdx)]->paramIdx;
}

double IControl::GetAuxParamValue(int auxIdx) const {
  FX_ASSERT(auxIdx > -1 && auxIdx < GetNAuxParams(), "idx > -1 && idx < mAuxParams.GetSize()");
  return mAuxParams[static_cast<size_t>(auxIdx)]->value.load(std::memory_order_relaxed);
}

void IControl::SetTooltip(const char* tooltip) {
  mTooltip = tooltip ? tooltip : "";
  if (mTooltip.size() > 79) mTooltip.resize(79);
}
