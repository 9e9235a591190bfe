#pragma once

#include <vector>

#include "pluginterfaces/vst/ivstparameterchanges.h"

namespace vst3host {

// One parameter's value points within a block, in sample-offset order. The
// capacity is fixed at construction so that filling a queue on the audio path
// never allocates. The host owns the object; reference counting is a no-op.
class HostParamValueQueue : public Steinberg::Vst::IParamValueQueue {
 public:
  explicit HostParamValueQueue(int maxPoints);
  virtual ~HostParamValueQueue() = default;

  void Reset(Steinberg::Vst::ParamID id);
  // The value of the last point; false when the queue has none.
  bool LastValue(Steinberg::Vst::ParamValue* value) const;

  Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return mId; }
  Steinberg::int32 PLUGIN_API getPointCount() override;
  Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& sampleOffset,
                                         Steinberg::Vst::ParamValue& value) override;
  // A point at an offset that is already present replaces that point's value.
  Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 sampleOffset, Steinberg::Vst::ParamValue value,
                                         Steinberg::int32& index) override;

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
  Steinberg::uint32 PLUGIN_API release() override { return 1; }

 private:
  struct Point {
    Steinberg::int32 offset;
    Steinberg::Vst::ParamValue value;
  };
  Steinberg::Vst::ParamID mId = 0;
  size_t mMaxPoints;
  std::vector<Point> mPoints;
};

// The set of parameter queues handed to process() as input or output changes:
// at most one queue per parameter ID, at most maxQueues queues.
class HostParameterChanges : public Steinberg::Vst::IParameterChanges {
 public:
  // Room for every parameter of a large plug-in, for hosts that do not size it.
  static constexpr int kDefaultQueues = 256;
  static constexpr int kDefaultPointsPerQueue = 16;

  explicit HostParameterChanges(int maxQueues = kDefaultQueues, int maxPointsPerQueue = kDefaultPointsPerQueue);
  virtual ~HostParameterChanges() = default;

  void Clear() { mUsed = 0; }
  // Adds one point, creating the parameter's queue when needed; false when full.
  bool Add(Steinberg::Vst::ParamID id, Steinberg::int32 sampleOffset, Steinberg::Vst::ParamValue value);
  // The queue of id, or null when the block has none.
  HostParamValueQueue* Find(Steinberg::Vst::ParamID id);

  Steinberg::int32 PLUGIN_API getParameterCount() override { return static_cast<Steinberg::int32>(mUsed); }
  Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override;
  Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                Steinberg::int32& index) override;

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
  Steinberg::uint32 PLUGIN_API release() override { return 1; }

 private:
  std::vector<HostParamValueQueue> mQueues;
  size_t mUsed = 0;
};

}  // namespace vst3host
