#pragma once

// Host-side pieces for driving the shipping bundle the way careless or
// hostile hosts do: process calls assembled by hand (any bus layout, null
// pointers, zero frames, a transport), and output parameter changes that
// never allocate, so the processing thread can be watched for allocations.

#include <cstring>
#include <vector>

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "tools/vst3host/HostParameterChanges.h"

// Host objects below live on the test's stack; their reference counts are
// not used to free them.
#define STRATUM_TEST_UNKNOWN(Interface)                                                    \
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj)      \
      override {                                                                           \
    if (Steinberg::FUnknownPrivate::iidEqual(iid, Interface::iid) ||                       \
        Steinberg::FUnknownPrivate::iidEqual(iid, Steinberg::FUnknown::iid)) {             \
      *obj = static_cast<Interface*>(this);                                                \
      return Steinberg::kResultOk;                                                         \
    }                                                                                      \
    *obj = nullptr;                                                                        \
    return Steinberg::kNoInterface;                                                        \
  }                                                                                        \
  Steinberg::uint32 PLUGIN_API addRef() override { return 1; }                             \
  Steinberg::uint32 PLUGIN_API release() override { return 1; }

// Input parameter changes at the start of a block.
struct BlockChanges : vst3host::HostParameterChanges {
  void Add(Steinberg::Vst::ParamID id, double value) { HostParameterChanges::Add(id, 0, value); }
};

// One stereo block of float audio with its process data; tests bend the
// buses (null pointers, missing buses) before calling Run.
struct HostBlock {
  explicit HostBlock(int frames) : inL(frames), inR(frames), outL(frames, 42.0f), outR(frames, 42.0f) {
    for (int s = 0; s < frames; ++s) {
      inL[s] = 0.5f * static_cast<float>(s % 37) / 37.0f - 0.2f;
      inR[s] = -0.4f * static_cast<float>(s % 23) / 23.0f + 0.1f;
    }
    in[0] = inL.data();
    in[1] = inR.data();
    out[0] = outL.data();
    out[1] = outR.data();
    inBus.numChannels = 2;
    inBus.channelBuffers32 = in;
    outBus.numChannels = 2;
    outBus.channelBuffers32 = out;
    std::memset(&context, 0, sizeof(context));
    context.tempo = 120.0;
    context.sampleRate = 48000.0;
    data.processMode = Steinberg::Vst::kRealtime;
    data.symbolicSampleSize = Steinberg::Vst::kSample32;
    data.numSamples = frames;
    data.numInputs = 1;
    data.numOutputs = 1;
    data.inputs = &inBus;
    data.outputs = &outBus;
    data.processContext = &context;
  }
  HostBlock(const HostBlock&) = delete;
  HostBlock& operator=(const HostBlock&) = delete;

  void SetPlaying(bool playing) {
    context.state = playing ? Steinberg::Vst::ProcessContext::kPlaying : 0;
  }
  // Refills the outputs with a value the plug-in never writes.
  void PoisonOutputs() {
    outL.assign(outL.size(), 42.0f);
    outR.assign(outR.size(), 42.0f);
  }
  Steinberg::tresult Run(Steinberg::Vst::IAudioProcessor* processor,
                         Steinberg::Vst::IParameterChanges* inChanges = nullptr,
                         Steinberg::Vst::IParameterChanges* outChanges = nullptr) {
    data.inputParameterChanges = inChanges;
    data.outputParameterChanges = outChanges;
    return processor->process(data);
  }

  std::vector<float> inL, inR, outL, outR;
  float* in[2];
  float* out[2];
  Steinberg::Vst::AudioBusBuffers inBus;
  Steinberg::Vst::AudioBusBuffers outBus;
  Steinberg::Vst::ProcessContext context;
  Steinberg::Vst::ProcessData data;
};

// Output parameter changes with fixed storage, as a real-time host keeps
// them: adding queues and points never allocates.
class FixedParameterChanges : public Steinberg::Vst::IParameterChanges {
 public:
  static constexpr int kQueues = 64;
  static constexpr int kPoints = 8;

  class Queue : public Steinberg::Vst::IParamValueQueue {
   public:
    Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return id; }
    Steinberg::int32 PLUGIN_API getPointCount() override { return count; }
    Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& offset,
                                           Steinberg::Vst::ParamValue& value) override {
      if (index < 0 || index >= count) return Steinberg::kResultFalse;
      offset = offsets[index];
      value = values[index];
      return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 offset,
                                           Steinberg::Vst::ParamValue value,
                                           Steinberg::int32& index) override {
      if (count >= kPoints) return Steinberg::kResultFalse;
      offsets[count] = offset;
      values[count] = value;
      index = count++;
      return Steinberg::kResultOk;
    }
    STRATUM_TEST_UNKNOWN(Steinberg::Vst::IParamValueQueue)

    Steinberg::Vst::ParamID id = 0;
    Steinberg::int32 count = 0;
    Steinberg::int32 offsets[kPoints] = {};
    double values[kPoints] = {};
  };

  Steinberg::int32 PLUGIN_API getParameterCount() override { return mCount; }
  Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override {
    return index >= 0 && index < mCount ? &mQueues[index] : nullptr;
  }
  Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                Steinberg::int32& index) override {
    for (int i = 0; i < mCount; ++i) {
      if (mQueues[i].id == id) {
        index = i;
        return &mQueues[i];
      }
    }
    if (mCount >= kQueues) return nullptr;
    mQueues[mCount].id = id;
    mQueues[mCount].count = 0;
    index = mCount;
    return &mQueues[mCount++];
  }
  STRATUM_TEST_UNKNOWN(Steinberg::Vst::IParameterChanges)

  // The last value reported for id, or -1 when none was.
  double Last(Steinberg::Vst::ParamID id) const {
    for (int i = 0; i < mCount; ++i) {
      if (mQueues[i].id == id && mQueues[i].count > 0) return mQueues[i].values[mQueues[i].count - 1];
    }
    return -1.0;
  }
  void Clear() { mCount = 0; }

 private:
  Queue mQueues[kQueues];
  int mCount = 0;
};
