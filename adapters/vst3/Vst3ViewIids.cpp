// Interface IDs of the view interfaces, which the SDK copy declares but does
// not define anywhere. The values are the ones the declarations give.
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

namespace Steinberg {
namespace {
const TUID kPlugViewId = INLINE_UID(0x5BC32507, 0xD06049EA, 0xA6151B52, 0x2B755B29);
const TUID kPlugFrameId = INLINE_UID(0x367FAF01, 0xAFA94693, 0x8D4DA2A0, 0xED0882A3);
const TUID kContentScaleId = INLINE_UID(0x65ED9690, 0x8AC44525, 0x8AADEF7A, 0x72EA703F);
const TUID kEventHandlerId = INLINE_UID(0x561E65C9, 0x13A0496F, 0x813A2C35, 0x654D7983);
const TUID kTimerHandlerId = INLINE_UID(0x10BDD94F, 0x41424774, 0x821FAD8F, 0xECA72CA9);
const TUID kRunLoopId = INLINE_UID(0x18C35366, 0x97764F1A, 0x9C5B8385, 0x7A871389);
}  // namespace

const FUID IPlugView::iid(kPlugViewId);
const FUID IPlugFrame::iid(kPlugFrameId);
const FUID IPlugViewContentScaleSupport::iid(kContentScaleId);
const FUID Linux::IEventHandler::iid(kEventHandlerId);
const FUID Linux::ITimerHandler::iid(kTimerHandlerId);
const FUID Linux::IRunLoop::iid(kRunLoopId);
}  // namespace Steinberg
