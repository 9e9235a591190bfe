#include "tools/vst3host/HostParameterChanges.h"

namespace vst3host {

using namespace Steinberg;
using namespace Steinberg::Vst;

HostParamValueQueue::HostParamValueQueue(int maxPoints) : mMaxPoints(maxPoints > 0 ? maxPoints : 1) {
  mPoints.reserve(mMaxPoints);
}

void HostParamValueQueue::Reset(ParamID id) {
  mId = id;
  mPoints.clear();
}

bool HostParamValueQueue::LastValue(ParamValue* value) const {
  if (mPoints.empty()) return false;
  *value = mPoints.back().value;
  return true;
}

int32 PLUGIN_API HostParamValueQueue::getPointCount() { return static_cast<int32>(mPoints.size()); }

tresult PLUGIN_API HostParamValueQueue::getPoint(int32 index, int32& sampleOffset, ParamValue& value) {
  if (index < 0 || static_cast<size_t>(index) >= mPoints.size()) return kResultFalse;
  sampleOffset = mPoints[index].offset;
  value = mPoints[index].value;
  return kResultTrue;
}

tresult PLUGIN_API HostParamValueQueue::addPoint(int32 sampleOffset, ParamValue value, int32& index) {
  size_t at = 0;
  while (at < mPoints.size() && mPoints[at].offset < sampleOffset) ++at;
  if (at < mPoints.size() && mPoints[at].offset == sampleOffset) {
    mPoints[at].value = value;
    index = static_cast<int32>(at);
    return kResultTrue;
  }
  if (mPoints.size() >= mMaxPoints) return kResultFalse;
  mPoints.insert(mPoints.begin() + at, Point{sampleOffset, value});
  index = static_cast<int32>(at);
  return kResultTrue;
}

tresult PLUGIN_API HostParamValueQueue::queryInterface(const TUID iid, void** obj) {
  QUERY_INTERFACE(iid, obj, FUnknown::iid, IParamValueQueue)
  QUERY_INTERFACE(iid, obj, IParamValueQueue::iid, IParamValueQueue)
  *obj = nullptr;
  return kNoInterface;
}

HostParameterChanges::HostParameterChanges(int maxQueues, int maxPointsPerQueue) {
  mQueues.reserve(maxQueues > 0 ? maxQueues : 1);
  for (int i = 0; i < maxQueues; ++i) mQueues.emplace_back(maxPointsPerQueue);
}

bool HostParameterChanges::Add(ParamID id, int32 sampleOffset, ParamValue value) {
  int32 index = 0;
  IParamValueQueue* queue = addParameterData(id, index);
  return queue != nullptr && queue->addPoint(sampleOffset, value, index) == kResultTrue;
}

HostParamValueQueue* HostParameterChanges::Find(ParamID id) {
  for (size_t i = 0; i < mUsed; ++i) {
    if (mQueues[i].getParameterId() == id) return &mQueues[i];
  }
  return nullptr;
}

IParamValueQueue* PLUGIN_API HostParameterChanges::getParameterData(int32 index) {
  if (index < 0 || static_cast<size_t>(index) >= mUsed) return nullptr;
  return &mQueues[index];
}

IParamValueQueue* PLUGIN_API HostParameterChanges::addParameterData(const ParamID& id, int32& index) {
  if (HostParamValueQueue* queue = Find(id)) {
    index = static_cast<int32>(queue - mQueues.data());
    return queue;
  }
  if (mUsed >= mQueues.size()) return nullptr;
  mQueues[mUsed].Reset(id);
  index = static_cast<int32>(mUsed);
  return &mQueues[mUsed++];
}

tresult PLUGIN_API HostParameterChanges::queryInterface(const TUID iid, void** obj) {
  QUERY_INTERFACE(iid, obj, FUnknown::iid, IParameterChanges)
  QUERY_INTERFACE(iid, obj, IParameterChanges::iid, IParameterChanges)
  *obj = nullptr;
  return kNoInterface;
}

}  // namespace vst3host
