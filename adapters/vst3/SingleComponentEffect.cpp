#include "adapters/vst3/SingleComponentEffect.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

SingleComponentEffect::SingleComponentEffect()
    : audioInputs(kAudio, kInput),
      audioOutputs(kAudio, kOutput),
      eventInputs(kEvent, kInput),
      eventOutputs(kEvent, kOutput) {
  processSetup.processMode = kRealtime;
  processSetup.symbolicSampleSize = kSample32;
  processSetup.maxSamplesPerBlock = 1024;
  processSetup.sampleRate = 44100.0;
}

SingleComponentEffect::~SingleComponentEffect() = default;

AudioBus* SingleComponentEffect::addAudioInput(const TChar* name, SpeakerArrangement arrangement,
                                               BusType busType, int32 flags) {
  auto* bus = new AudioBus(name, busType, flags, arrangement);
  audioInputs.emplace_back(bus, false);
  return bus;
}

AudioBus* SingleComponentEffect::addAudioOutput(const TChar* name, SpeakerArrangement arrangement,
                                                BusType busType, int32 flags) {
  auto* bus = new AudioBus(name, busType, flags, arrangement);
  audioOutputs.emplace_back(bus, false);
  return bus;
}

EventBus* SingleComponentEffect::addEventInput(const TChar* name, int32 channels, BusType busType,
                                               int32 flags) {
  auto* bus = new EventBus(name, busType, flags, channels);
  eventInputs.emplace_back(bus, false);
  return bus;
}

EventBus* SingleComponentEffect::addEventOutput(const TChar* name, int32 channels, BusType busType,
                                                int32 flags) {
  auto* bus = new EventBus(name, busType, flags, channels);
  eventOutputs.emplace_back(bus, false);
  return bus;
}

tresult SingleComponentEffect::removeAudioBusses() {
  audioInputs.clear();
  audioOutputs.clear();
  return kResultOk;
}

tresult SingleComponentEffect::removeEventBusses() {
  eventInputs.clear();
  eventOutputs.clear();
  return kResultOk;
}

tresult PLUGIN_API SingleComponentEffect::initialize(FUnknown* context) {
  return EditControllerEx1::initialize(context);
}

tresult PLUGIN_API SingleComponentEffect::terminate() {
  removeAudioBusses();
  removeEventBusses();
  return EditControllerEx1::terminate();
}

// The controller is this object itself; there is no separate controller class.
tresult PLUGIN_API SingleComponentEffect::getControllerClassId(TUID /*classId*/) {
  return kNotImplemented;
}

tresult PLUGIN_API SingleComponentEffect::setIoMode(IoMode /*mode*/) { return kNotImplemented; }

BusList* SingleComponentEffect::getBusList(MediaType type, BusDirection dir) {
  if (type == kAudio) return dir == kInput ? &audioInputs : &audioOutputs;
  if (type == kEvent) return dir == kInput ? &eventInputs : &eventOutputs;
  return nullptr;
}

int32 PLUGIN_API SingleComponentEffect::getBusCount(MediaType type, BusDirection dir) {
  BusList* list = getBusList(type, dir);
  return list != nullptr ? static_cast<int32>(list->size()) : 0;
}

tresult PLUGIN_API SingleComponentEffect::getBusInfo(MediaType type, BusDirection dir,
                                                     int32 index, BusInfo& info) {
  BusList* list = getBusList(type, dir);
  if (list == nullptr || index < 0 || index >= static_cast<int32>(list->size())) {
    return kInvalidArgument;
  }
  info.mediaType = type;
  info.direction = dir;
  return list->at(index)->getInfo(info) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API SingleComponentEffect::getRoutingInfo(RoutingInfo& /*inInfo*/,
                                                         RoutingInfo& /*outInfo*/) {
  return kNotImplemented;
}

tresult PLUGIN_API SingleComponentEffect::activateBus(MediaType type, BusDirection dir,
                                                      int32 index, TBool state) {
  BusList* list = getBusList(type, dir);
  if (list == nullptr || index < 0 || index >= static_cast<int32>(list->size())) {
    return kInvalidArgument;
  }
  list->at(index)->setActive(state);
  return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::setActive(TBool /*state*/) { return kResultOk; }

tresult PLUGIN_API SingleComponentEffect::setState(IBStream* /*state*/) { return kNotImplemented; }

tresult PLUGIN_API SingleComponentEffect::getState(IBStream* /*state*/) { return kNotImplemented; }

// Accepts the arrangements when there is one per bus, and takes them over.
tresult PLUGIN_API SingleComponentEffect::setBusArrangements(SpeakerArrangement* inputs,
                                                             int32 numIns,
                                                             SpeakerArrangement* outputs,
                                                             int32 numOuts) {
  if (numIns < 0 || numOuts < 0) return kInvalidArgument;
  if (numIns != static_cast<int32>(audioInputs.size()) ||
      numOuts != static_cast<int32>(audioOutputs.size())) {
    return kResultFalse;
  }
  for (int32 i = 0; i < numIns; ++i) {
    if (auto* bus = FCast<AudioBus>(audioInputs.at(i).get())) bus->setArrangement(inputs[i]);
  }
  for (int32 i = 0; i < numOuts; ++i) {
    if (auto* bus = FCast<AudioBus>(audioOutputs.at(i).get())) bus->setArrangement(outputs[i]);
  }
  return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::getBusArrangement(BusDirection dir, int32 index,
                                                            SpeakerArrangement& arrangement) {
  BusList* list = getBusList(kAudio, dir);
  if (list == nullptr || index < 0 || index >= static_cast<int32>(list->size())) {
    return kInvalidArgument;
  }
  auto* bus = FCast<AudioBus>(list->at(index).get());
  if (bus == nullptr) return kResultFalse;
  arrangement = bus->getArrangement();
  return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::canProcessSampleSize(int32 symbolicSampleSize) {
  return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API SingleComponentEffect::setupProcessing(ProcessSetup& setup) {
  if (canProcessSampleSize(setup.symbolicSampleSize) != kResultTrue) return kResultFalse;
  processSetup = setup;
  return kResultOk;
}

tresult PLUGIN_API SingleComponentEffect::setProcessing(TBool /*state*/) { return kResultOk; }

tresult PLUGIN_API SingleComponentEffect::process(ProcessData& /*data*/) {
  return kNotImplemented;
}
