#include "tools/vst3host/HostEventList.h"

namespace vst3host {

using namespace Steinberg;
using namespace Steinberg::Vst;

HostEventList::HostEventList(int capacity) : mCapacity(capacity > 0 ? capacity : 1) {
  mEvents.reserve(mCapacity);
}

tresult PLUGIN_API HostEventList::getEvent(int32 index, Event& e) {
  if (index < 0 || static_cast<size_t>(index) >= mEvents.size()) return kResultFalse;
  e = mEvents[index];
  return kResultTrue;
}

tresult PLUGIN_API HostEventList::addEvent(Event& e) {
  if (mEvents.size() >= mCapacity) return kResultFalse;
  mEvents.push_back(e);
  return kResultTrue;
}

tresult PLUGIN_API HostEventList::queryInterface(const TUID iid, void** obj) {
  QUERY_INTERFACE(iid, obj, FUnknown::iid, IEventList)
  QUERY_INTERFACE(iid, obj, IEventList::iid, IEventList)
  *obj = nullptr;
  return kNoInterface;
}

}  // namespace vst3host
