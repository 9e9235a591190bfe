#include "tools/vst3host/PluginInstance.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "pluginterfaces/vst/vstspeaker.h"
#include "public.sdk/source/common/memorystream.h"
#include "tools/vst3host/HostContext.h"
#include "tools/vst3host/StateStream.h"
#include "tools/vst3host/TextConvert.h"

namespace vst3host {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int kPointsPerQueue = 64;
constexpr int kEventCapacity = 1024;

template <typename Interface>
Interface* QueryInterface(FUnknown* object) {
  void* result = nullptr;
  if (object == nullptr || object->queryInterface(Interface::iid, &result) != kResultOk) return nullptr;
  return static_cast<Interface*>(result);
}

template <typename Interface>
void ReleaseInterface(Interface*& object) {
  if (object != nullptr) object->release();
  object = nullptr;
}

SpeakerArrangement ArrangementFor(int channels) {
  return channels == 1 ? SpeakerArr::kMono : channels == 2 ? SpeakerArr::kStereo : SpeakerArr::kEmpty;
}

bool IsValidClassId(const TUID id) {
  static const TUID kZero = {};
  return std::memcmp(id, kZero, sizeof(TUID)) != 0;
}

}  // namespace

PluginInstance::PluginInstance(const ClassDescription& description)
    : mDescription(description), mInputEvents(kEventCapacity), mOutputEvents(kEventCapacity) {}

std::unique_ptr<PluginInstance> PluginInstance::Create(Vst3Module& module, const ClassDescription& description,
                                                       std::string* error, FUnknown* hostContext) {
  std::unique_ptr<PluginInstance> instance(new PluginInstance(description));
  if (hostContext == nullptr) hostContext = &HostContext();
  if (!instance->Initialise(module, hostContext, error)) return nullptr;
  return instance;
}

bool PluginInstance::Initialise(Vst3Module& module, FUnknown* hostContext, std::string* error) {
  IPluginFactory* factory = module.Factory();
  void* object = nullptr;
  if (factory->createInstance(mDescription.classId, IComponent::iid, &object) != kResultOk || object == nullptr) {
    *error = "cannot create " + Name() + ": the factory refused";
    return false;
  }
  mComponent = static_cast<IComponent*>(object);
  if (mComponent->initialize(hostContext) != kResultOk) {
    *error = "cannot initialise " + Name();
    return false;
  }
  mComponentInitialised = true;
  mProcessor = QueryInterface<IAudioProcessor>(mComponent);
  if (mProcessor == nullptr) {
    *error = Name() + " is not an audio processor";
    return false;
  }

  // The controller: the component itself when it is one, else the class it names.
  mController = QueryInterface<IEditController>(mComponent);
  if (mController == nullptr) {
    TUID controllerId = {};
    if (mComponent->getControllerClassId(controllerId) != kResultOk || !IsValidClassId(controllerId)) {
      *error = Name() + " has no edit controller";
      return false;
    }
    object = nullptr;
    if (factory->createInstance(controllerId, IEditController::iid, &object) != kResultOk || object == nullptr) {
      *error = "cannot create the edit controller of " + Name();
      return false;
    }
    mSeparateController = static_cast<IEditController*>(object);
    mSeparateController->addRef();
    mController = mSeparateController;
    if (mController->initialize(hostContext) != kResultOk) {
      *error = "cannot initialise the edit controller of " + Name();
      return false;
    }
    mControllerInitialised = true;
    mComponentConnection = QueryInterface<IConnectionPoint>(mComponent);
    mControllerConnection = QueryInterface<IConnectionPoint>(mController);
    if (mComponentConnection != nullptr && mControllerConnection != nullptr) {
      mComponentConnection->connect(mControllerConnection);
      mControllerConnection->connect(mComponentConnection);
    }
    // The controller starts from the component's state, when there is one.
    MemoryStream stream;
    if (mComponent->getState(&stream) == kResultOk && stream.getSize() > 0) {
      stream.seek(0, IBStream::kIBSeekSet, nullptr);
      mController->setComponentState(&stream);
    }
  }
  mController->setComponentHandler(&mHandler);
  ActivateDefaultBuses();
  ReadParameters();
  return true;
}

void PluginInstance::ActivateDefaultBuses() {
  for (MediaType type : {kAudio, kEvent}) {
    for (BusDirection direction : {kInput, kOutput}) {
      for (int32 i = 0; i < mComponent->getBusCount(type, direction); ++i) {
        BusInfo info = {};
        if (mComponent->getBusInfo(type, direction, i, info) == kResultTrue &&
            (info.flags & BusInfo::kDefaultActive) != 0) {
          mComponent->activateBus(type, direction, i, true);
        }
      }
    }
  }
}

void PluginInstance::ReadParameters() {
  const int32 count = mController->getParameterCount();
  for (int32 i = 0; i < count; ++i) {
    ParameterInfo info = {};
    if (mController->getParameterInfo(i, info) != kResultOk) continue;
    ParameterDescription parameter;
    parameter.id = info.id;
    parameter.title = Utf16ToUtf8(info.title);
    parameter.shortTitle = Utf16ToUtf8(info.shortTitle);
    parameter.units = Utf16ToUtf8(info.units);
    parameter.stepCount = info.stepCount;
    parameter.defaultNormalized = info.defaultNormalizedValue;
    parameter.flags = info.flags;
    mParameterIndex.emplace(info.id, static_cast<int>(mParameters.size()));
    mParameters.push_back(parameter);
  }
  mHostValues.assign(mParameters.size(), 0.0);
  mChangedFlag.assign(mParameters.size(), false);
  mChanged.reserve(mParameters.size());
  mPendingEdits.reserve(mParameters.size() * 4 + 16);
  const int capacity = static_cast<int>(mParameters.size()) + 16;
  mInputChanges = std::make_unique<HostParameterChanges>(capacity, kPointsPerQueue);
  mOutputChanges = std::make_unique<HostParameterChanges>(capacity, kPointsPerQueue);
  RefreshHostValues(false);
}

PluginInstance::~PluginInstance() {
  if (mProcessing) mProcessor->setProcessing(false);
  if (mActive) mComponent->setActive(false);
  if (mComponentConnection != nullptr && mControllerConnection != nullptr) {
    mComponentConnection->disconnect(mControllerConnection);
    mControllerConnection->disconnect(mComponentConnection);
  }
  ReleaseInterface(mComponentConnection);
  ReleaseInterface(mControllerConnection);
  if (mController != nullptr) mController->setComponentHandler(nullptr);
  if (mSeparateController != nullptr) {
    if (mControllerInitialised) mSeparateController->terminate();
    mSeparateController->release();  // the reference taken for the separate pointer
  }
  ReleaseInterface(mController);
  mSeparateController = nullptr;
  ReleaseInterface(mProcessor);
  if (mComponent != nullptr && mComponentInitialised) mComponent->terminate();
  ReleaseInterface(mComponent);
}

std::vector<BusDescription> PluginInstance::Buses() const {
  std::vector<BusDescription> buses;
  for (MediaType type : {kAudio, kEvent}) {
    for (BusDirection direction : {kInput, kOutput}) {
      const int32 count = mComponent->getBusCount(type, direction);
      for (int32 i = 0; i < count; ++i) {
        BusInfo info = {};
        if (mComponent->getBusInfo(type, direction, i, info) != kResultOk) continue;
        BusDescription bus;
        bus.name = Utf16ToUtf8(info.name);
        bus.audio = type == kAudio;
        bus.input = direction == kInput;
        bus.channels = info.channelCount;
        bus.main = info.busType == kMain;
        bus.defaultActive = (info.flags & BusInfo::kDefaultActive) != 0;
        buses.push_back(bus);
      }
    }
  }
  return buses;
}

bool PluginInstance::Prepare(int inputChannels, double sampleRate, int maxBlockSize, bool doublePrecision,
                             bool offline, std::string* error) {
  const int32 inputBusCount = mComponent->getBusCount(kAudio, kInput);
  const int32 outputBusCount = mComponent->getBusCount(kAudio, kOutput);
  if (inputBusCount < 1 || outputBusCount < 1) {
    *error = Name() + " is not an effect: it has no audio " + (inputBusCount < 1 ? "input" : "output");
    return false;
  }
  // Keep every bus as it is except the main pair, which follows the input file.
  std::vector<SpeakerArrangement> inputs(inputBusCount), outputs(outputBusCount);
  for (int32 i = 0; i < inputBusCount; ++i) mProcessor->getBusArrangement(kInput, i, inputs[i]);
  for (int32 i = 0; i < outputBusCount; ++i) mProcessor->getBusArrangement(kOutput, i, outputs[i]);
  inputs[0] = ArrangementFor(inputChannels);
  outputs[0] = ArrangementFor(inputChannels);
  mProcessor->setBusArrangements(inputs.data(), inputBusCount, outputs.data(), outputBusCount);

  BusInfo input = {}, output = {};
  mComponent->getBusInfo(kAudio, kInput, 0, input);
  mComponent->getBusInfo(kAudio, kOutput, 0, output);
  // What counts is the arrangement the plug-in ends up with: a refusal is
  // fine when it already has the wanted input (e.g. a mono-to-stereo effect
  // that offers only its own arrangement).
  if (input.channelCount != inputChannels || output.channelCount < 1) {
    *error = Name() + " refuses " + std::to_string(inputChannels) + "-channel audio (bus arrangement refused)";
    return false;
  }
  mInputChannels = input.channelCount;
  mOutputChannels = output.channelCount;

  for (int32 i = 0; i < inputBusCount; ++i) mComponent->activateBus(kAudio, kInput, i, i == 0);
  for (int32 i = 0; i < outputBusCount; ++i) mComponent->activateBus(kAudio, kOutput, i, i == 0);

  const int32 sampleSize = doublePrecision ? kSample64 : kSample32;
  if (mProcessor->canProcessSampleSize(sampleSize) != kResultOk) {
    *error = Name() + " cannot process " + (doublePrecision ? "64" : "32") + "-bit samples";
    return false;
  }
  ProcessSetup setup = {};
  setup.processMode = offline ? kOffline : kRealtime;
  setup.symbolicSampleSize = sampleSize;
  setup.maxSamplesPerBlock = maxBlockSize;
  setup.sampleRate = sampleRate;
  if (mProcessor->setupProcessing(setup) != kResultOk) {
    *error = Name() + " refuses to process at " + FormatNumber(sampleRate) + " Hz in blocks of " +
             std::to_string(maxBlockSize);
    return false;
  }
  mMaxBlockSize = maxBlockSize;
  mDoublePrecision = doublePrecision;
  mSampleRate = sampleRate;
  mProcessMode = setup.processMode;
  AllocateBuffers(&mInputBuses, &mInputStorage, kInput);
  AllocateBuffers(&mOutputBuses, &mOutputStorage, kOutput);

  if (mComponent->setActive(true) != kResultOk) {
    *error = Name() + " refuses to be activated";
    return false;
  }
  mActive = true;
  mProcessor->setProcessing(true);  // many plug-ins answer "not implemented"; that is fine
  mProcessing = true;
  return true;
}

void PluginInstance::AllocateBuffers(std::vector<AudioBusBuffers>* buses, std::vector<BusBuffers>* storage,
                                     BusDirection direction) {
  const int32 count = mComponent->getBusCount(kAudio, direction);
  buses->assign(count, AudioBusBuffers());
  storage->assign(count, BusBuffers());
  for (int32 i = 0; i < count; ++i) {
    BusInfo info = {};
    mComponent->getBusInfo(kAudio, direction, i, info);
    const int channels = std::max<int32>(info.channelCount, 0);
    BusBuffers& bus = (*storage)[i];
    bus.samples32.assign(channels, std::vector<float>(mMaxBlockSize, 0.0f));
    bus.samples64.assign(channels, std::vector<double>(mMaxBlockSize, 0.0));
    for (int c = 0; c < channels; ++c) {
      bus.pointers32.push_back(bus.samples32[c].data());
      bus.pointers64.push_back(bus.samples64[c].data());
    }
    AudioBusBuffers& buffers = (*buses)[i];
    buffers.numChannels = channels;
    buffers.silenceFlags = 0;
    if (mDoublePrecision) {
      buffers.channelBuffers64 = bus.pointers64.data();
    } else {
      buffers.channelBuffers32 = bus.pointers32.data();
    }
  }
}

uint32 PluginInstance::LatencySamples() { return mProcessor->getLatencySamples(); }

void PluginInstance::FillContext(const TransportSettings& transport) {
  ProcessContext& context = mContext;
  context = ProcessContext();
  context.state = ProcessContext::kTempoValid | ProcessContext::kTimeSigValid | ProcessContext::kContTimeValid |
                  ProcessContext::kProjectTimeMusicValid | ProcessContext::kBarPositionValid;
  if (transport.playing) context.state |= ProcessContext::kPlaying;
  context.sampleRate = mSampleRate;
  context.projectTimeSamples = mProjectPosition;
  context.continousTimeSamples = mContinuousPosition;
  context.tempo = transport.tempo;
  context.timeSigNumerator = 4;
  context.timeSigDenominator = 4;
  context.projectTimeMusic = static_cast<double>(mProjectPosition) / mSampleRate * transport.tempo / 60.0;
  context.barPositionMusic = std::floor(context.projectTimeMusic / 4.0) * 4.0;
}

void PluginInstance::Process(const double* const* input, double* const* output, int frames,
                             const TransportSettings& transport) {
  frames = std::min(frames, mMaxBlockSize);
  for (size_t bus = 0; bus < mInputStorage.size(); ++bus) {
    BusBuffers& storage = mInputStorage[bus];
    for (size_t c = 0; c < storage.samples64.size(); ++c) {
      const double* source = bus == 0 && static_cast<int>(c) < mInputChannels ? input[c] : nullptr;
      for (int i = 0; i < frames; ++i) {
        const double sample = source != nullptr ? source[i] : 0.0;
        storage.samples64[c][i] = sample;
        storage.samples32[c][i] = static_cast<float>(sample);
      }
    }
  }

  mInputChanges->Clear();
  for (const HostComponentHandler::Edit& edit : mPendingEdits) mInputChanges->Add(edit.id, 0, edit.value);
  mPendingEdits.clear();
  mOutputChanges->Clear();
  mInputEvents.Clear();
  mOutputEvents.Clear();
  FillContext(transport);

  ProcessData data;
  data.processMode = mProcessMode;
  data.symbolicSampleSize = mDoublePrecision ? kSample64 : kSample32;
  data.numSamples = frames;
  data.numInputs = static_cast<int32>(mInputBuses.size());
  data.numOutputs = static_cast<int32>(mOutputBuses.size());
  data.inputs = mInputBuses.data();
  data.outputs = mOutputBuses.data();
  data.inputParameterChanges = mInputChanges.get();
  data.outputParameterChanges = mOutputChanges.get();
  data.inputEvents = &mInputEvents;
  data.outputEvents = &mOutputEvents;
  data.processContext = &mContext;
  mProcessor->process(data);

  BusBuffers& main = mOutputStorage[0];
  for (int c = 0; c < mOutputChannels; ++c) {
    for (int i = 0; i < frames; ++i) {
      output[c][i] = mDoublePrecision ? main.samples64[c][i] : static_cast<double>(main.samples32[c][i]);
    }
  }

  // What the plug-in reported during the block reaches the host's view.
  for (int32 q = 0; q < mOutputChanges->getParameterCount(); ++q) {
    auto* queue = static_cast<HostParamValueQueue*>(mOutputChanges->getParameterData(q));
    double value = 0.0;
    if (!queue->LastValue(&value)) continue;
    TakeReportedValue(queue->getParameterId(), value, false);
    if (mSeparateController != nullptr) mSeparateController->setParamNormalized(queue->getParameterId(), value);
  }
  TakeHandlerReports();

  mContinuousPosition += frames;
  if (transport.playing) mProjectPosition += frames;
}

void PluginInstance::TakeReportedValue(ParamID id, double normalized, bool forwardToProcessor) {
  auto found = mParameterIndex.find(id);
  if (found == mParameterIndex.end()) return;
  const int index = found->second;
  if (forwardToProcessor) mPendingEdits.push_back(HostComponentHandler::Edit{id, normalized});
  if (mHostValues[index] == normalized) return;
  mHostValues[index] = normalized;
  if (!mChangedFlag[index]) {
    mChangedFlag[index] = true;
    mChanged.push_back(index);
  }
}

void PluginInstance::TakeHandlerReports() {
  // A controller's edits go to the processor, as in any host; a single-object
  // plug-in already holds the value in its processor.
  mHandler.TakeEdits(&mHandlerEdits);
  for (const HostComponentHandler::Edit& edit : mHandlerEdits) {
    TakeReportedValue(edit.id, edit.value, mSeparateController != nullptr);
  }
  const int32 restart = mHandler.TakeRestartFlags();
  if ((restart & (kParamValuesChanged | kReloadComponent)) != 0) RefreshHostValues(true);
}

void PluginInstance::RefreshHostValues(bool reportChanges) {
  for (size_t i = 0; i < mParameters.size(); ++i) {
    const double value = mController->getParamNormalized(mParameters[i].id);
    if (reportChanges) {
      TakeReportedValue(mParameters[i].id, value, false);
    } else {
      mHostValues[i] = value;
    }
  }
}

std::vector<int> PluginInstance::TakeChangedParameters() {
  TakeHandlerReports();
  std::vector<int> changed;
  changed.swap(mChanged);
  mChanged.reserve(mParameters.size());
  for (int index : changed) mChangedFlag[index] = false;
  return changed;
}

bool PluginInstance::SaveState(PluginState* state, std::string* error) {
  PluginState saved;
  std::memcpy(saved.classId, mDescription.classId, sizeof(TUID));
  saved.hasComponent = ReadStateStream(*mComponent, &saved.component);
  saved.hasController = ReadStateStream(*mController, &saved.controller);
  if (!saved.hasComponent && !saved.hasController) {
    *error = Name() + " gave no state";
    return false;
  }
  *state = std::move(saved);
  return true;
}

bool PluginInstance::LoadState(const PluginState& state, std::string* error) {
  if (std::memcmp(state.classId, mDescription.classId, sizeof(TUID)) != 0) {
    *error = "the state was saved by another plug-in than " + Name();
    return false;
  }
  if (state.hasComponent) {
    std::vector<uint8_t> bytes = state.component;
    MemoryStream stream(bytes.data(), static_cast<TSize>(bytes.size()));
    if (mComponent->setState(&stream) != kResultOk) {
      *error = Name() + " refused its saved component state";
      return false;
    }
    if (mSeparateController != nullptr) {
      stream.seek(0, IBStream::kIBSeekSet, nullptr);
      mSeparateController->setComponentState(&stream);
    }
  }
  if (state.hasController && WriteStateStream(*mController, state.controller) != kResultOk) {
    *error = Name() + " refused its saved controller state";
    return false;
  }
  // The restored values are the host's new view; they are no reported changes.
  TakeHandlerReports();
  RefreshHostValues(false);
  for (int index : mChanged) mChangedFlag[index] = false;
  mChanged.clear();
  return true;
}

}  // namespace vst3host
