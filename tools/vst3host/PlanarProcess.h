#pragma once

#include <vector>

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

namespace vst3host {

// What a process call carries besides audio; any of it may be absent.
struct BlockExtras {
  Steinberg::Vst::IParameterChanges* inputChanges = nullptr;
  Steinberg::Vst::IParameterChanges* outputChanges = nullptr;
  Steinberg::Vst::IEventList* inputEvents = nullptr;
  Steinberg::Vst::ProcessContext* context = nullptr;
};

// One real-time process() call on the caller's planar buffers, handed over as
// the main input and output bus (one vector per channel, all as long as the
// block). The pointer arrays are built on every call, so this allocates: it
// is for tests and tools that drive a plug-in directly, not for a real-time
// host (PluginInstance::Process is the host's own block).
Steinberg::tresult ProcessPlanar(Steinberg::Vst::IAudioProcessor& processor,
                                 std::vector<std::vector<float>>& inputs,
                                 std::vector<std::vector<float>>& outputs, const BlockExtras& extras = {});
Steinberg::tresult ProcessPlanar(Steinberg::Vst::IAudioProcessor& processor,
                                 std::vector<std::vector<double>>& inputs,
                                 std::vector<std::vector<double>>& outputs, const BlockExtras& extras = {});

// A block of no samples and no buses that carries only parameter changes and
// events (what hosts send to flush changes while stopped).
Steinberg::tresult ProcessChangesOnly(Steinberg::Vst::IAudioProcessor& processor, const BlockExtras& extras);

}  // namespace vst3host
