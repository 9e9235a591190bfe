#include "tools/stratum-host/HostComponentHandler.h"

namespace stratumhost {

using namespace Steinberg;
using namespace Steinberg::Vst;

HostComponentHandler::HostComponentHandler() { mEdits.reserve(256); }

void HostComponentHandler::TakeEdits(std::vector<Edit>* edits) {
  edits->clear();
  std::lock_guard<std::mutex> guard(mMutex);
  edits->swap(mEdits);
}

int32 HostComponentHandler::TakeRestartFlags() {
  std::lock_guard<std::mutex> guard(mMutex);
  const int32 flags = mRestartFlags;
  mRestartFlags = 0;
  return flags;
}

tresult PLUGIN_API HostComponentHandler::beginEdit(ParamID) { return kResultOk; }

tresult PLUGIN_API HostComponentHandler::performEdit(ParamID id, ParamValue value) {
  std::lock_guard<std::mutex> guard(mMutex);
  mEdits.push_back(Edit{id, value});
  return kResultOk;
}

tresult PLUGIN_API HostComponentHandler::endEdit(ParamID) { return kResultOk; }

tresult PLUGIN_API HostComponentHandler::restartComponent(int32 flags) {
  std::lock_guard<std::mutex> guard(mMutex);
  mRestartFlags |= flags;
  return kResultOk;
}

tresult PLUGIN_API HostComponentHandler::queryInterface(const TUID iid, void** obj) {
  QUERY_INTERFACE(iid, obj, FUnknown::iid, IComponentHandler)
  QUERY_INTERFACE(iid, obj, IComponentHandler::iid, IComponentHandler)
  *obj = nullptr;
  return kNoInterface;
}

}  // namespace stratumhost
