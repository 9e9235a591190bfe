#include "effect/layout/IReadOutControl.h"

IReadOutControl::IReadOutControl(IFxBase* plug, const IRect& rect, const ITextStyle& style)
    : ITextControl(plug, rect, style, "") {}

void IReadOutControl::MouseDown(int, int, const IMouseMod&) {
  mClicked.store(true, std::memory_order_release);
}
