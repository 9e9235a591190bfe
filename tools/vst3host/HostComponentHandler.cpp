#include "tools/vst3host/HostComponentHandler.h"

namespace vst3host {

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

std::vector<HostComponentHandler::Call> HostComponentHandler::Calls() {
  std::lock_guard<std::mutex> guard(mMutex);
  return mCalls;
}

size_t HostComponentHandler::UnrecordedCalls() {
  std::lock_guard<std::mutex> guard(mMutex);
  return mUnrecorded;
}

void HostComponentHandler::Record(Kind kind, ParamID id, double value, int32 flags) {
  if (mCalls.size() >= kMaxRecordedCalls) {
    ++mUnrecorded;
    return;
  }
  mCalls.push_back(Call{kind, id, value, flags, std::this_thread::get_id()});
}

tresult PLUGIN_API HostComponentHandler::beginEdit(ParamID id) {
  std::lock_guard<std::mutex> guard(mMutex);
  Record(kBegin, id, 0.0, 0);
  return kResultOk;
}

tresult PLUGIN_API HostComponentHandler::performEdit(ParamID id, ParamValue value) {
  std::lock_guard<std::mutex> guard(mMutex);
  Record(kPerform, id, value, 0);
  mEdits.push_back(Edit{id, value});
  return kResultOk;
}

tresult PLUGIN_API HostComponentHandler::endEdit(ParamID id) {
  std::lock_guard<std::mutex> guard(mMutex);
  Record(kEnd, id, 0.0, 0);
  return kResultOk;
}

tresult PLUGIN_API HostComponentHandler::restartComponent(int32 flags) {
  std::lock_guard<std::mutex> guard(mMutex);
  Record(kRestart, 0, 0.0, flags);
  mRestartFlags |= flags;
  return kResultOk;
}

tresult PLUGIN_API HostComponentHandler::queryInterface(const TUID iid, void** obj) {
  QUERY_INTERFACE(iid, obj, FUnknown::iid, IComponentHandler)
  QUERY_INTERFACE(iid, obj, IComponentHandler::iid, IComponentHandler)
  *obj = nullptr;
  return kNoInterface;
}

}  // namespace vst3host
