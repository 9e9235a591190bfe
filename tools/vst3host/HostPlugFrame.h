#pragma once

#include <vector>

#include "pluginterfaces/gui/iplugview.h"
#include "tools/vst3host/HostRunLoop.h"

namespace vst3host {

// The frame a host gives a plug-in's editor view: it records size requests
// and hands out the host's run loop.
class HostPlugFrame : public Steinberg::IPlugFrame {
 public:
  explicit HostPlugFrame(HostRunLoop* runLoop) : mRunLoop(runLoop) {}

  Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view,
                                           Steinberg::ViewRect* newSize) override;
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
  Steinberg::uint32 PLUGIN_API release() override { return 1; }

  const std::vector<Steinberg::ViewRect>& ResizeRequests() const { return mResizeRequests; }

 private:
  HostRunLoop* mRunLoop;
  std::vector<Steinberg::ViewRect> mResizeRequests;
};

}  // namespace vst3host
