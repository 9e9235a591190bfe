#include "tools/vst3host/PlanarProcess.h"

namespace vst3host {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

void TakeExtras(const BlockExtras& extras, ProcessData* data) {
  data->inputParameterChanges = extras.inputChanges;
  data->outputParameterChanges = extras.outputChanges;
  data->inputEvents = extras.inputEvents;
  data->processContext = extras.context;
}

template <typename Sample>
tresult ProcessPlanarSamples(IAudioProcessor& processor, std::vector<std::vector<Sample>>& inputs,
                             std::vector<std::vector<Sample>>& outputs, const BlockExtras& extras) {
  std::vector<Sample*> in;
  std::vector<Sample*> out;
  for (auto& channel : inputs) in.push_back(channel.data());
  for (auto& channel : outputs) out.push_back(channel.data());
  AudioBusBuffers inBus;
  AudioBusBuffers outBus;
  inBus.numChannels = static_cast<int32>(in.size());
  outBus.numChannels = static_cast<int32>(out.size());
  if constexpr (sizeof(Sample) == sizeof(float)) {
    inBus.channelBuffers32 = in.data();
    outBus.channelBuffers32 = out.data();
  } else {
    inBus.channelBuffers64 = in.data();
    outBus.channelBuffers64 = out.data();
  }
  ProcessData data;
  data.processMode = kRealtime;
  data.symbolicSampleSize = sizeof(Sample) == sizeof(float) ? kSample32 : kSample64;
  data.numSamples = outputs.empty() ? 0 : static_cast<int32>(outputs[0].size());
  data.numInputs = 1;
  data.numOutputs = 1;
  data.inputs = &inBus;
  data.outputs = &outBus;
  TakeExtras(extras, &data);
  return processor.process(data);
}

}  // namespace

tresult ProcessPlanar(IAudioProcessor& processor, std::vector<std::vector<float>>& inputs,
                      std::vector<std::vector<float>>& outputs, const BlockExtras& extras) {
  return ProcessPlanarSamples(processor, inputs, outputs, extras);
}

tresult ProcessPlanar(IAudioProcessor& processor, std::vector<std::vector<double>>& inputs,
                      std::vector<std::vector<double>>& outputs, const BlockExtras& extras) {
  return ProcessPlanarSamples(processor, inputs, outputs, extras);
}

tresult ProcessChangesOnly(IAudioProcessor& processor, const BlockExtras& extras) {
  ProcessData data;
  data.processMode = kRealtime;
  data.symbolicSampleSize = kSample32;
  data.numSamples = 0;
  TakeExtras(extras, &data);
  return processor.process(data);
}

}  // namespace vst3host
