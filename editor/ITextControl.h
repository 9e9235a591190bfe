#pragma once

#include <string>

#include "editor/IControl.h"
#include "editor/SharedText.h"

// A static or plug-in-updated text. ShowText may be called from the
// processing thread while the interface thread draws: the text changes hands
// through a SharedText, without locking or allocating.
class ITextControl : public IControl {
 public:
  ITextControl(IFxBase* plug, const IRect& rect, const ITextStyle& style, const char* text = "");

  bool Draw(IGraphics& graphics) override;

  // Replaces the text and marks the control dirty when it differs.
  // Real-time safe. Texts longer than SharedText::kCapacity - 1 bytes are cut.
  void ShowText(const char* text);
  std::string GetText() const { return mText.Get(); }
  void GetText(char* out, size_t outSize) const { mText.Get(out, outSize); }

 protected:
  // For derived controls bound to a parameter.
  ITextControl(IFxBase* plug, const IRect& rect, int paramIdx, const ITextStyle& style,
               const char* text);

  SharedText mText;
};
