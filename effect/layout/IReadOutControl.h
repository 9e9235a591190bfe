#pragma once

#include <atomic>

#include "editor/ITextControl.h"

// A numeric read-out of the highest level since the user last clicked it.
// The click only raises a flag; the effect's metering (audio thread) takes
// the flag, resets its maxima and writes the next text with ShowText.
class IReadOutControl : public ITextControl {
 public:
  IReadOutControl(IFxBase* plug, const IRect& rect, const ITextStyle& style);

  void MouseDown(int x, int y, const IMouseMod& mod) override;

  bool IsClicked() const { return mClicked.load(std::memory_order_acquire); }
  void ClearClicked() { mClicked.store(false, std::memory_order_release); }
  // Answers whether the read-out was clicked and clears the flag in one step,
  // so a click that lands between a test and a clear is never lost.
  bool TakeClicked() { return mClicked.exchange(false, std::memory_order_acq_rel); }

 private:
  std::atomic<bool> mClicked{false};
};
