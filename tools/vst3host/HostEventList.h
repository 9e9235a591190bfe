#pragma once

#include <vector>

#include "pluginterfaces/vst/ivstevents.h"

namespace vst3host {

// Events of one block (input or output), with a fixed capacity so that adding
// events never allocates. The host owns the object; reference counting is a no-op.
class HostEventList : public Steinberg::Vst::IEventList {
 public:
  static constexpr int kDefaultCapacity = 1024;

  explicit HostEventList(int capacity = kDefaultCapacity);
  virtual ~HostEventList() = default;

  void Clear() { mEvents.clear(); }

  Steinberg::int32 PLUGIN_API getEventCount() override { return static_cast<Steinberg::int32>(mEvents.size()); }
  Steinberg::tresult PLUGIN_API getEvent(Steinberg::int32 index, Steinberg::Vst::Event& e) override;
  Steinberg::tresult PLUGIN_API addEvent(Steinberg::Vst::Event& e) override;

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
  Steinberg::uint32 PLUGIN_API release() override { return 1; }

 private:
  size_t mCapacity;
  std::vector<Steinberg::Vst::Event> mEvents;
};

}  // namespace vst3host
