#pragma once

#include <mutex>
#include <vector>

#include "pluginterfaces/vst/ivsteditcontroller.h"

namespace stratumhost {

// Receives what the plug-in's controller tells its host: parameter edits
// (from its editor, or changes it makes itself, e.g. from a linked instance)
// and restart requests. The host collects them and takes them between blocks.
// A plug-in may call in from any thread, so the lists are guarded.
class HostComponentHandler : public Steinberg::Vst::IComponentHandler {
 public:
  struct Edit {
    Steinberg::Vst::ParamID id;
    Steinberg::Vst::ParamValue value;
  };

  HostComponentHandler();
  virtual ~HostComponentHandler() = default;

  // Moves the edits received so far into edits (cleared first).
  void TakeEdits(std::vector<Edit>* edits);
  // The restart flags requested so far, cleared by the call.
  Steinberg::int32 TakeRestartFlags();

  Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) override;
  Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value) override;
  Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) override;
  Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) override;

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
  Steinberg::uint32 PLUGIN_API release() override { return 1; }

 private:
  std::mutex mMutex;
  std::vector<Edit> mEdits;
  Steinberg::int32 mRestartFlags = 0;
};

}  // namespace stratumhost
