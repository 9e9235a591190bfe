#pragma once

#include <mutex>
#include <thread>
#include <vector>

#include "pluginterfaces/vst/ivsteditcontroller.h"

namespace vst3host {

// Receives what the plug-in's controller tells its host: parameter edits
// (from its editor, or changes it makes itself, e.g. from a linked instance)
// and restart requests. The host collects them and takes them between blocks.
// Every call is also kept, with the thread it came from, so that a test can
// see what reached the host and from where. A plug-in may call in from any
// thread, so the lists are guarded.
class HostComponentHandler : public Steinberg::Vst::IComponentHandler {
 public:
  struct Edit {
    Steinberg::Vst::ParamID id;
    Steinberg::Vst::ParamValue value;
  };
  enum Kind { kBegin, kPerform, kEnd, kRestart };
  struct Call {
    Kind kind;
    Steinberg::Vst::ParamID id;    // 0 for restarts
    double value;                  // performEdit's value, else 0
    Steinberg::int32 flags;        // restartComponent's flags, else 0
    std::thread::id thread;
  };
  // The record keeps this many calls at most; later ones are only counted.
  static constexpr size_t kMaxRecordedCalls = 65536;

  HostComponentHandler();
  virtual ~HostComponentHandler() = default;

  // Moves the edits received so far into edits (cleared first).
  void TakeEdits(std::vector<Edit>* edits);
  // The restart flags requested so far, cleared by the call.
  Steinberg::int32 TakeRestartFlags();
  // Every call received so far, in order (the record is not cleared).
  std::vector<Call> Calls();
  // Calls left out of the record because it was full.
  size_t UnrecordedCalls();

  Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) override;
  Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value) override;
  Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) override;
  Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) override;

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
  Steinberg::uint32 PLUGIN_API release() override { return 1; }

 private:
  // Caller holds mMutex.
  void Record(Kind kind, Steinberg::Vst::ParamID id, double value, Steinberg::int32 flags);

  std::mutex mMutex;
  std::vector<Edit> mEdits;
  Steinberg::int32 mRestartFlags = 0;
  std::vector<Call> mCalls;
  size_t mUnrecorded = 0;
};

}  // namespace vst3host
