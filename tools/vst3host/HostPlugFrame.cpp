#include "tools/vst3host/HostPlugFrame.h"

using namespace Steinberg;

namespace vst3host {

tresult PLUGIN_API HostPlugFrame::resizeView(IPlugView* view, ViewRect* newSize) {
  if (!view || !newSize) return kInvalidArgument;
  mResizeRequests.push_back(*newSize);
  // A fixed window: the new size is simply confirmed.
  return view->onSize(newSize);
}

tresult PLUGIN_API HostPlugFrame::queryInterface(const TUID iid, void** obj) {
  if (FUnknownPrivate::iidEqual(iid, IPlugFrame::iid) ||
      FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
    *obj = static_cast<IPlugFrame*>(this);
    return kResultOk;
  }
  if (mRunLoop && FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid)) {
    *obj = static_cast<Linux::IRunLoop*>(mRunLoop);
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

}  // namespace vst3host
