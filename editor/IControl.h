#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/IBlend.h"
#include "editor/IMouseMod.h"
#include "editor/IRect.h"
#include "editor/ITextStyle.h"

class IFxBase;
class IFxParam;
class IGraphics;
class ITextControl;

// A rectangle of the editor bound to at most one parameter (plus optional
// auxiliary parameters) that draws itself from its value and turns mouse
// input into new values.
//
// The value is the parameter's normalised value (0 to 1). The plug-in pushes
// values in with TakeParamValue / TakeAuxParamValue, which never call back;
// a user change leaves through MarkDirty(true), which clamps the value and
// hands it to the plug-in's SetParameterFromGUI.
//
// The processing thread sets values, flags and weights while the interface
// thread draws, so those fields are atomics (relaxed: a control may be drawn
// with a value one update old). Mouse handling and drawing stay on the
// interface thread.
class IControl {
 public:
  IControl(IFxBase* plug, const IRect& rect, int paramIdx = -1,
           int blendMethod = IBlend::BlendNormal);
  virtual ~IControl();

  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  // A right-button press opens the parameter's value prompt.
  virtual void MouseDown(int x, int y, const IMouseMod& mod);
  virtual void MouseUp(int x, int y, const IMouseMod& mod);
  virtual void MouseDrag(int x, int y, int dX, int dY, const IMouseMod& mod);
  // Restores the default value (the first value the control received).
  virtual void MouseDoubleClick(int x, int y, const IMouseMod& mod);
  virtual void MouseWheel(int x, int y, const IMouseMod& mod, double steps);
  virtual bool KeyDown(int x, int y, int key);
  virtual void MouseOver(int x, int y, const IMouseMod& mod);
  virtual void MouseOut();
  virtual bool Draw(IGraphics& graphics) = 0;
  virtual void TakeParamValue(double value);
  virtual void TakeEnteredText(const char* text);
  virtual void Hide(bool hide);
  virtual void GreyOut(bool grey);
  virtual bool IsHit(int x, int y) const;
  virtual void MarkDirty(bool pushToPlug);
  virtual void MarkClean();
  virtual bool IsDirty() const;
  virtual void Reserved18() {}
  virtual void TakeAuxParamValue(int auxIdx, double value);
  virtual void MoveTo(int x, int y);

  // Opens the editor's value prompt for the parameter (pop-up menu for named
  // values, else a text entry centred on the control). Nothing without a
  // parameter or while the prompt is disabled.
  void PromptParamEntry();
  // A value (normalised) typed or chosen in a prompt.
  void SetValueFromEntry(double value);

  // Auxiliary parameters: extra parameters the control follows.
  int AddAuxParam(int paramIdx);
  int AuxParamIndex(int paramIdx) const;
  int GetNAuxParams() const { return static_cast<int>(mAuxParams.size()); }
  int GetAuxParamIdx(int auxIdx) const;
  double GetAuxParamValue(int auxIdx) const;

  IFxBase* GetPlug() const { return mPlug; }
  // The editor that owns the control; set by IGraphics when it takes it.
  IGraphics* GetGraphics() const { return mGraphics; }
  void SetGraphics(IGraphics* graphics) { mGraphics = graphics; }
  IFxParam* GetParam() const;
  int ParamIdx() const { return mParamIdx; }

  const IRect& GetRect() const { return mRect; }
  const IRect& GetTargetRect() const { return mTargetRect; }
  void SetTargetRect(const IRect& rect) { mTargetRect = rect; }

  double GetValue() const { return mValue.load(std::memory_order_relaxed); }
  // Sets the value without marking or sending it.
  void SetValue(double value) { mValue.store(value, std::memory_order_relaxed); }
  double GetDefaultValue() const { return mDefaultValue.load(std::memory_order_relaxed); }
  void SetDefaultValue(double value) { mDefaultValue.store(value, std::memory_order_relaxed); }
  void SetClamp(double low, double high) {
    mClampLow = low;
    mClampHigh = high;
  }
  double GetClampLow() const { return mClampLow; }
  double GetClampHigh() const { return mClampHigh; }

  bool IsHidden() const { return mHidden.load(std::memory_order_relaxed); }
  bool IsGreyed() const { return mGreyed.load(std::memory_order_relaxed); }
  bool GetRedraw() const { return (mDrawFlags.load(std::memory_order_acquire) & kRedraw) != 0; }
  void SetRedraw(bool redraw) {
    if (redraw) {
      mDrawFlags.fetch_or(kRedraw, std::memory_order_acq_rel);
    } else {
      mDrawFlags.fetch_and(static_cast<uint8_t>(~kRedraw), std::memory_order_acq_rel);
    }
  }
  bool IsPromptDisabled() const { return mDisablePrompt; }
  void DisablePrompt(bool disable) { mDisablePrompt = disable; }
  bool GetDblAsSingleClick() const { return mDblAsSingleClick; }
  void SetDblAsSingleClick(bool single) { mDblAsSingleClick = single; }
  bool GetHoverWhileGreyed() const { return mHoverWhileGreyed; }
  void SetHoverWhileGreyed(bool hover) { mHoverWhileGreyed = hover; }

  // The blend as drawn now (its weight follows greying and hiding).
  IBlend GetBlend() const { return IBlend(mBlendMethod, mBlendWeight.load(std::memory_order_relaxed)); }

  ITextStyle& GetTextStyle() { return mTextStyle; }
  const ITextStyle& GetTextStyle() const { return mTextStyle; }
  void SetTextStyle(const ITextStyle& style) { mTextStyle = style; }
  int GetTextEntryLength() const { return mTextEntryLength; }
  void SetTextEntryLength(int length) { mTextEntryLength = length; }

  // Text controls that show this control's value and parameter name whenever
  // the user changes the value. Not owned.
  void SetValueDisplayControl(ITextControl* control) { mValueDisplay = control; }
  void SetNameDisplayControl(ITextControl* control) { mNameDisplay = control; }

  // At most 79 characters; longer tooltips are cut.
  void SetTooltip(const char* tooltip);
  const char* GetTooltip() const { return mTooltip.empty() ? nullptr : mTooltip.c_str(); }

 protected:
  // Marks the control dirty for this drawing and the next one, in one step:
  // a change made while the interface thread draws (between a control's
  // Draw and its MarkClean) is drawn at the next tick, never lost.
  void MarkChanged() { mDrawFlags.fetch_or(kDirty | kRedraw, std::memory_order_acq_rel); }

  struct AuxParam {
    std::atomic<double> value{0.0};
    int paramIdx;
    explicit AuxParam(int idx) : paramIdx(idx) {}
  };

  void SetRect(const IRect& rect) {
    mRect = rect;
    mTargetRect = rect;
  }

  int mTextEntryLength = 7;
  ITextStyle mTextStyle;
  IFxBase* mPlug;
  IRect mRect;
  IRect mTargetRect;
  int mParamIdx;
  std::vector<std::unique_ptr<AuxParam>> mAuxParams;
  std::atomic<double> mValue{0.0};
  std::atomic<double> mDefaultValue{-1.0};
  double mClampLow = 0.0;
  double mClampHigh = 1.0;
  // Dirty and redraw live in one word, so that MarkClean and a concurrent
  // change cannot interleave between the two.
  static constexpr uint8_t kDirty = 1;
  static constexpr uint8_t kRedraw = 2;
  std::atomic<uint8_t> mDrawFlags{kDirty};
  std::atomic<bool> mHidden{false};
  std::atomic<bool> mGreyed{false};
  bool mDisablePrompt = true;
  bool mDblAsSingleClick = false;
  bool mHoverWhileGreyed = false;
  int mBlendMethod;
  std::atomic<float> mBlendWeight{1.0f};
  ITextControl* mValueDisplay = nullptr;
  ITextControl* mNameDisplay = nullptr;
  std::string mTooltip;
  IGraphics* mGraphics = nullptr;
};
