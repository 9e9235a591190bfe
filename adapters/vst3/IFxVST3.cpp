#include "adapters/vst3/IFxVST3.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <type_traits>

#include "adapters/vst3/IFxVST3View.h"
#include "adapters/vst3/Vst3Text.h"
#include "base/source/fstring.h"
#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/vstspeaker.h"
#include "platform/RecursiveLock.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// Longest host name we keep, in 8-bit characters.
constexpr int kHostNameSize = 128;

// A UTF-16 copy of an 8-bit text, for the SDK's bus and parameter classes.
struct Utf16Text {
  explicit Utf16Text(const char* text) { Utf8ToUtf16(text != nullptr ? text : "", chars, 128); }
  String128 chars;
};

// Marks the calling thread as the one inside process() for its duration.
class ProcessThreadScope {
 public:
  explicit ProcessThreadScope(std::atomic<std::thread::id>& slot) : mSlot(slot) {
    mSlot.store(std::this_thread::get_id());
  }
  ~ProcessThreadScope() { mSlot.store(std::thread::id()); }
  ProcessThreadScope(const ProcessThreadScope&) = delete;
  ProcessThreadScope& operator=(const ProcessThreadScope&) = delete;

 private:
  std::atomic<std::thread::id>& mSlot;
};

// The host's channel pointers of a bus, in the sample type of this call.
float* const* BusBuffers(const AudioBusBuffers& bus, float*) { return bus.channelBuffers32; }
double* const* BusBuffers(const AudioBusBuffers& bus, double*) { return bus.channelBuffers64; }

// The number of a host bus's channels that fit into limit channels of ours.
int ChannelsWithin(const AudioBusBuffers& bus, int limit) {
  const int count = bus.numChannels < limit ? bus.numChannels : limit;
  return count > 0 ? count : 0;
}

// A normalised value as the parameter objects expect it: inside 0..1, and 0
// for NaN. Hosts may send anything; a value outside the range would index
// past a list parameter's entries or format a number of 300 digits.
ParamValue ClampNormalized(ParamValue value) {
  if (!(value >= 0.0)) return 0.0;
  return value > 1.0 ? 1.0 : value;
}

// Reads up to size bytes, in as many reads as the stream needs; answers the
// number of bytes read. A count a stream reports beyond what was asked for
// is not believed.
int32 ReadUpTo(IBStream* stream, void* data, int32 size) {
  auto* bytes = static_cast<uint8_t*>(data);
  int32 total = 0;
  while (total < size) {
    int32 numRead = 0;
    if (stream->read(bytes + total, size - total, &numRead) != kResultOk) break;
    if (numRead <= 0) break;
    total += numRead < size - total ? numRead : size - total;
  }
  return total;
}

int32 SpeakerCount(SpeakerArrangement arrangement) {
  return SpeakerArr::getChannelCount(arrangement);
}

// Writes all bytes or reports failure.
bool WriteAll(IBStream* stream, const void* data, int32 size) {
  int32 written = 0;
  if (stream->write(const_cast<void*>(data), size, &written) != kResultOk) return false;
  return written == size;
}

}  // namespace

IFxVST3::IFxVST3(int numParams, const char* channelIO, int numPresets, const char* effectName,
                 const char* productName, const char* makerName, int version,
                 uint32_t uniqueCode, uint32_t makerCode, int latency, bool doesMidi,
                 bool doesChunks, bool isInstrument, int sideChainChannels)
    : IFxBase(numParams, channelIO, numPresets, effectName, productName, makerName, version,
              uniqueCode, makerCode, latency, doesMidi, doesChunks, isInstrument,
              HostFormatVst3),
      mSideChainChannels(sideChainChannels > 0 ? sideChainChannels : 0) {
  std::memset(&mProcessContext, 0, sizeof(mProcessContext));
  mOutputValues.assign(static_cast<size_t>(numParams > 0 ? numParams : 0), 0.0);
  mOutputPending.assign(mOutputValues.size(), false);
  mOutputOrder.reserve(mOutputValues.size());
  const size_t channels = static_cast<size_t>(std::max(NumInputChannels(), NumOutputChannels()));
  mFloatPointers.assign(channels, nullptr);
  mDoublePointers.assign(channels, nullptr);

  ConnectInputs(0, NumInputChannels(), true);
  ConnectOutputs(0, NumOutputChannels(), true);
  SetArrangedInputChannels(NumInputChannels() - mSideChainChannels);
  if (NumInputChannels() > 0) CreateBypassDelayLine();

  SetInputBusName(0, "Main Input");
  if (mSideChainChannels > 0) SetInputBusName(1, "Aux Input");
  if (isInstrument) {
    for (int pair = 0; pair * 2 < NumOutputChannels(); ++pair) {
      char name[32];
      std::snprintf(name, sizeof(name), "Output %i", pair + 1);
      SetOutputBusName(pair, name);
    }
  } else {
    SetOutputBusName(0, "Output");
  }
}

IFxVST3::~IFxVST3() = default;

SpeakerArrangement IFxVST3::ArrangementForChannels(int channels) {
  switch (channels) {
    case 1: return SpeakerArr::kMono;
    case 2: return SpeakerArr::kStereo;
    case 3: return SpeakerArr::k30Music;
    case 4: return SpeakerArr::kAmbi1stOrderACN;  // first-order B-format, 0xF00000
    case 5: return SpeakerArr::k50;
    case 6: return SpeakerArr::k51;
    default: return SpeakerArr::kEmpty;
  }
}

// ---------------------------------------------------------------------------
// Initialisation

tresult PLUGIN_API IFxVST3::initialize(FUnknown* context) {
  const tresult result = SingleComponentEffect::initialize(context);

  if (context != nullptr) {
    FUnknownPtr<IHostApplication> application(context);
    String128 name = {};
    if (application && application->getName(name) == kResultOk) {
      char hostName[kHostNameSize];
      Utf16ToUtf8(name, hostName, sizeof(hostName));
      SetHost(hostName, 0);
    }
  }

  if (result == kResultOk) BuildBusesAndParameters();

  HostIdentified();
  SelectPreset(0);
  return result;
}

void IFxVST3::BuildBusesAndParameters() {
  const int mainInputs = NumInputChannels() - mSideChainChannels;
  if (mainInputs >= 1 && mainInputs <= 6) {
    addAudioInput(Utf16Text(GetInputBusName(0)).chars, ArrangementForChannels(mainInputs));
  }
  if (IsInstrument()) {
    for (int pair = 0; pair * 2 < NumOutputChannels(); ++pair) {
      addAudioOutput(Utf16Text(GetOutputBusName(pair)).chars, SpeakerArr::kStereo);
    }
  } else {
    addAudioOutput(Utf16Text(GetOutputBusName(0)).chars,
                   ArrangementForChannels(NumOutputChannels()));
  }
  if (mSideChainChannels > 0) {
    const int sideChain = mSideChainChannels > 2 ? 2 : mSideChainChannels;
    addAudioInput(Utf16Text(GetInputBusName(1)).chars, ArrangementForChannels(sideChain), kAux, 0);
  }
  if (DoesMidi()) addEventInput(Utf16Text("MIDI Input").chars, 1);

  if (NumPresets() > 0) {
    parameters.addParameter(new Parameter(Utf16Text("Preset").chars, kPresetParamId,
                                          Utf16Text("").chars, 0.0, NumPresets(),
                                          ParameterInfo::kIsProgramChange, kRootUnitId));
  }
  if (!IsInstrument()) {
    auto* bypass = new StringListParameter(
        Utf16Text("Bypass").chars, kBypassParamId, nullptr,
        ParameterInfo::kCanAutomate | ParameterInfo::kIsList | ParameterInfo::kIsBypass,
        kRootUnitId);
    bypass->appendString(Utf16Text("off").chars);
    bypass->appendString(Utf16Text("on").chars);
    parameters.addParameter(bypass);
  }
  for (int i = 0; i < NumParams(); ++i) AddEffectParameter(i);
  if (DoesMidi()) {
    for (int n = 0; n < kNumMidiControllers; ++n) {
      auto* controller = new RangeParameter(Utf16Text("MIDI CC").chars,
                                            static_cast<ParamID>(NumParams() + n),
                                            Utf16Text("").chars, 0.0, 127.0, 0.0, 0,
                                            ParameterInfo::kCanAutomate, kRootUnitId);
      controller->setPrecision(1);
      parameters.addParameter(controller);
    }
  }
}

int IFxVST3::UnitForCategory(const char* category) {
  if (category == nullptr || category[0] == '\0') return kRootUnitId;
  for (size_t i = 0; i < mUnitNames.size(); ++i) {
    if (mUnitNames[i] == category) return static_cast<int>(i) + 1;
  }
  mUnitNames.emplace_back(category);
  return static_cast<int>(mUnitNames.size());
}

void IFxVST3::AddEffectParameter(int paramIdx) {
  const IFxParam* param = GetParam(paramIdx);
  const UnitID unit = UnitForCategory(param->Category());
  const ParamID id = static_cast<ParamID>(paramIdx);
  const double defaultNormalized = param->ValueToNormalized(param->Default());
  switch (param->Kind()) {
    case ParamKindBool:
    case ParamKindEnum: {
      const int32 flags = param->CanAutomate()
                              ? ParameterInfo::kCanAutomate | ParameterInfo::kIsList
                              : ParameterInfo::kIsList;
      auto* list = new StringListParameter(Utf16Text(param->Name()).chars, id,
                                           Utf16Text(param->DisplayLabel()).chars, flags, unit);
      for (int k = 0; k < param->NamedValueCount(); ++k) {
        list->appendString(Utf16Text(param->NamedValueAt(k)->text).chars);
      }
      // Hosts reset to this value; the list's own default would be the first entry.
      list->getInfo().defaultNormalizedValue = defaultNormalized;
      list->setNormalized(defaultNormalized);
      parameters.addParameter(list);
      break;
    }
    case ParamKindInt:
    case ParamKindDouble: {
      const int32 flags = param->CanAutomate() ? ParameterInfo::kCanAutomate : 0;
      auto* range = new RangeParameter(Utf16Text(param->Name()).chars, id,
                                       Utf16Text(param->DisplayLabel()).chars, param->Min(),
                                       param->Max(), param->Default(), 0, flags, unit);
      range->setPrecision(param->Precision());
      parameters.addParameter(range);
      break;
    }
    default:
      break;  // a parameter the effect never set up is not offered to the host
  }
}

tresult PLUGIN_API IFxVST3::terminate() {
  // The views stay alive until the host releases them; they just stop being ours.
  mViews.clear();
  return SingleComponentEffect::terminate();
}

tresult PLUGIN_API IFxVST3::setActive(TBool state) {
  DeliverDeferredRestart();
  ActivationChanged(state != 0);
  return kResultOk;
}

tresult PLUGIN_API IFxVST3::setComponentState(IBStream* /*state*/) { return kNotImplemented; }

// ---------------------------------------------------------------------------
// State stream

// Both directions hold the instance lock only while the values are taken or
// applied: a host's stream may be slow (or hostile), and the audio thread
// waits for the lock.
tresult PLUGIN_API IFxVST3::getState(IBStream* state) {
  if (state == nullptr) return kInvalidArgument;
  DeliverDeferredRestart();
  StateChunk chunk;
  bool bypassed = false;
  {
    platform::LockGuard guard(GetLock());
    if (!SaveState(chunk)) return kResultFalse;
    bypassed = IsBypassed();
  }
  if (!WriteAll(state, chunk.Data(), chunk.Size())) return kResultFalse;
  const uint32_t bypass = bypassed ? 1u : 0u;
  const uint8_t bytes[4] = {static_cast<uint8_t>(bypass), static_cast<uint8_t>(bypass >> 8),
                            static_cast<uint8_t>(bypass >> 16), static_cast<uint8_t>(bypass >> 24)};
  if (!WriteAll(state, bytes, 4)) return kResultFalse;
  return kResultOk;
}

tresult PLUGIN_API IFxVST3::setState(IBStream* state) {
  if (state == nullptr) return kInvalidArgument;
  DeliverDeferredRestart();

  // The stream holds exactly as many state bytes as the current state takes;
  // no more are read, whatever the stream claims to have.
  StateChunk scratch;
  SaveState(scratch);
  const int stateSize = scratch.Size();
  if (stateSize == 0) return kResultFalse;

  StateChunk chunk;
  chunk.Resize(stateSize);
  chunk.Resize(ReadUpTo(state, chunk.Data(), stateSize));
  uint8_t bytes[4] = {};
  const bool flagRead = ReadUpTo(state, bytes, 4) == 4;

  platform::LockGuard guard(GetLock());
  LoadState(chunk, 0);
  if (flagRead) {
    const uint32_t bypass = static_cast<uint32_t>(bytes[0]) |
                            (static_cast<uint32_t>(bytes[1]) << 8) |
                            (static_cast<uint32_t>(bytes[2]) << 16) |
                            (static_cast<uint32_t>(bytes[3]) << 24);
    SetBypassed(bypass != 0);
  }
  RefreshParamControls();
  return flagRead ? kResultOk : kResultFalse;
}

// ---------------------------------------------------------------------------
// Audio processor

// Replaces the bus at index by a new one with the arrangement when its channel
// count differs (or there is none). The new bus keeps the old one's
// activation: the host switched that bus on and will not do it again.
void IFxVST3::ReplaceBusIfResized(BusList& buses, int index, SpeakerArrangement arrangement,
                                  const char* name, BusType type, int32 flags) {
  const bool exists = static_cast<int>(buses.size()) > index;
  auto* bus = exists ? FCast<AudioBus>(buses.at(index).get()) : nullptr;
  if (bus != nullptr && SpeakerCount(bus->getArrangement()) == SpeakerCount(arrangement)) return;
  const bool wasActive = bus != nullptr ? bus->isActive() != 0 : false;
  if (exists) buses.erase(buses.begin() + index);
  auto* replacement = new AudioBus(Utf16Text(name).chars, type, flags, arrangement);
  replacement->setActive(wasActive);
  const int position = static_cast<int>(buses.size()) < index ? static_cast<int>(buses.size()) : index;
  buses.emplace(buses.begin() + position, replacement, false);
}

tresult PLUGIN_API IFxVST3::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                               SpeakerArrangement* outputs, int32 numOuts) {
  if (inputs == nullptr || outputs == nullptr || numIns <= 0 || numOuts <= 0) return kResultFalse;
  platform::LockGuard guard(GetLock());

  // Channels are connected again per block, from the buffers the host passes.
  ConnectInputs(0, NumInputChannels(), false);
  ConnectOutputs(0, NumOutputChannels(), false);

  const int32 requestedIns = SpeakerCount(inputs[0]);
  const int32 requestedOuts = SpeakerCount(outputs[0]);
  if (!LegalIO(requestedIns, requestedOuts)) return kResultFalse;

  ReplaceBusIfResized(audioInputs, 0, inputs[0], "Input", kMain, BusInfo::kDefaultActive);
  ReplaceBusIfResized(audioOutputs, 0, outputs[0], "Output", kMain, BusInfo::kDefaultActive);
  // The effect shapes itself (its stereo controls) after the arrangement, not
  // after the buffers of single blocks.
  if (requestedIns != ArrangedInputChannels()) {
    SetArrangedInputChannels(requestedIns);
    ResetProcessing();
  }

  if (mSideChainChannels == 0) return numIns == 1 ? kResultOk : kResultFalse;

  if (numIns != 2) return kResultFalse;
  ReplaceBusIfResized(audioInputs, 1, inputs[1], "Sidechain Input", kAux, 0);
  return kResultOk;
}

tresult PLUGIN_API IFxVST3::canProcessSampleSize(int32 symbolicSampleSize) {
  return symbolicSampleSize == kSample32 || symbolicSampleSize == kSample64 ? kResultTrue
                                                                             : kResultFalse;
}

tresult PLUGIN_API IFxVST3::setupProcessing(ProcessSetup& setup) {
  if (canProcessSampleSize(setup.symbolicSampleSize) != kResultTrue) return kResultFalse;
  // A rate or block size no processing can work with, or whose buffers could
  // not be allocated, is refused as well, and leaves the previous setup in force.
  if (!(setup.sampleRate >= kMinSampleRate && setup.sampleRate <= kMaxSampleRate) ||
      setup.maxSamplesPerBlock < 0 || setup.maxSamplesPerBlock > kMaxBlockFrames) {
    return kResultFalse;
  }
  DeliverDeferredRestart();
  platform::LockGuard guard(GetLock());
  // The bypass flag stays: hosts set up processing after restoring a
  // project's state, and only a bypass change or a state sets it.
  ChangeSampleRate(setup.sampleRate);
  ChangeBlockSize(setup.maxSamplesPerBlock);
  ResetProcessing();
  processSetup = setup;
  return kResultOk;
}

uint32 PLUGIN_API IFxVST3::getLatencySamples() {
  return static_cast<uint32>(GetLatency() > 0 ? GetLatency() : 0);
}

uint32 PLUGIN_API IFxVST3::getTailSamples() {
  return static_cast<uint32>(GetTailSize() > 0 ? GetTailSize() : 0);
}

bool IFxVST3::IsMidiControllerId(ParamID id) const {
  return DoesMidi() && id >= static_cast<ParamID>(NumParams()) &&
         id < static_cast<ParamID>(NumParams() + kNumMidiControllers);
}

tresult PLUGIN_API IFxVST3::process(ProcessData& data) {
  // More frames than any buffer of ours may hold cannot be processed.
  if (data.numSamples < 0 || data.numSamples > kMaxBlockFrames) return kInvalidArgument;
  platform::LockGuard guard(GetLock());
  ProcessThreadScope onProcessThread(mProcessThread);

  if (data.processContext != nullptr) mProcessContext = *data.processContext;
  if (data.inputParameterChanges != nullptr) ApplyInputParameterChanges(data.inputParameterChanges);
  if (DoesMidi() && data.inputEvents != nullptr) ApplyInputEvents(data.inputEvents);

  // The sample size of this call's buffers is the one the host states with
  // them; reading them with another size would run past their ends.
  if (data.numSamples > 0) {
    if (data.symbolicSampleSize == kSample32) {
      ProcessAudioBuses<float>(data);
    } else if (data.symbolicSampleSize == kSample64) {
      ProcessAudioBuses<double>(data);
    }
  } else if (!IsBypassed()) {
    // A call without frames still carries the block's housekeeping (group
    // values, transport); it touches no audio.
    RunEmptyBlock();
  }

  FlushOutputParameterChanges(data.outputParameterChanges);
  return kResultOk;
}

void IFxVST3::ApplyInputParameterChanges(IParameterChanges* changes) {
  const int32 queueCount = changes->getParameterCount();
  for (int32 q = 0; q < queueCount; ++q) {
    IParamValueQueue* queue = changes->getParameterData(q);
    if (queue == nullptr) continue;
    const int32 points = queue->getPointCount();
    if (points <= 0) continue;
    // Only the last point of a queue counts; its sample offset is ignored.
    int32 offset = 0;
    ParamValue value = 0.0;
    if (queue->getPoint(points - 1, offset, value) != kResultOk) continue;
    if (!std::isfinite(value)) continue;
    value = ClampNormalized(value);

    const ParamID id = queue->getParameterId();
    if (id == kBypassParamId) {
      SetBypassed(value > 0.5);
    } else if (id == kPresetParamId) {
      // Hosts send the value back that the plug-in reports (automation
      // playback, project load): the preset that is current stays as the
      // user left it.
      mPresetValue = value;
      const int index = static_cast<int>(value * NumPresets());
      if (index != GetCurrentPresetIndex()) SelectPreset(index);
    } else if (id < static_cast<ParamID>(NumParams())) {
      const int paramIdx = static_cast<int>(id);
      GetParam(paramIdx)->SetFromNormalized(value);
      if (IFxEditorLink* editor = GetEditor()) editor->PushParamToControls(paramIdx, value, true);
      ParamChanged(paramIdx, SourceHost);
    } else if (IsMidiControllerId(id)) {
      MidiMessage message;
      message.MakeControlChange(static_cast<int>(id) - NumParams(), value, 0);
      HandleMidiMessage(message);
    }
  }
}

void IFxVST3::ApplyInputEvents(IEventList* events) {
  const int32 count = events->getEventCount();
  for (int32 i = 0; i < count; ++i) {
    Event event = {};
    if (events->getEvent(i, event) != kResultOk) continue;
    MidiMessage message;
    if (event.type == Event::kNoteOnEvent) {
      message.MakeNoteOn(event.noteOn.pitch, static_cast<int>(event.noteOn.velocity * 127.0f),
                         event.sampleOffset, event.noteOn.channel);
    } else if (event.type == Event::kNoteOffEvent) {
      message.MakeNoteOff(event.noteOff.pitch, event.sampleOffset, event.noteOff.channel);
    } else {
      continue;
    }
    HandleMidiMessage(message);
  }
}

void IFxVST3::AttachHostInputs(int first, int count, float* const* buffers, int frames) {
  AttachInputs(first, count, buffers, frames);
}

void IFxVST3::AttachHostInputs(int first, int count, double* const* buffers, int /*frames*/) {
  AttachInputs(first, count, buffers);
}

template <typename Sample>
Sample** IFxVST3::PointerScratch() {
  if constexpr (std::is_same_v<Sample, float>) {
    return mFloatPointers.data();
  } else {
    return mDoublePointers.data();
  }
}

// Connects channels first .. first + count - 1 to the bus channels that have
// a buffer and hands those buffers over; a channel without one stays
// unconnected. Answers the number connected.
template <typename Sample>
int IFxVST3::AttachInputBus(const AudioBusBuffers& bus, int first, int count, int frames) {
  Sample* const nothing = nullptr;
  Sample* const* buffers = BusBuffers(bus, nothing);
  if (buffers == nullptr) return 0;
  Sample** usable = PointerScratch<Sample>();
  const int k = ChannelsWithin(bus, count);
  int n = 0;
  for (int c = 0; c < k; ++c) {
    if (buffers[c] == nullptr) continue;
    ConnectInputs(first + c, 1, true);
    usable[n++] = buffers[c];
  }
  if (n > 0) AttachHostInputs(first, count, usable, frames);
  return n;
}

template <typename Sample>
void IFxVST3::ProcessAudioBuses(ProcessData& data) {
  const int frames = data.numSamples;
  const int numInputs = NumInputChannels();
  const int numOutputs = NumOutputChannels();
  const int mainChannels = numInputs - mSideChainChannels;
  Sample* const nothing = nullptr;

  // Every channel the host does not feed this block reads (or writes) its own
  // buffer, never a host pointer left from an earlier block.
  ConnectInputs(0, numInputs, false);
  ConnectOutputs(0, numOutputs, false);

  if (data.numInputs > 0 && data.inputs != nullptr) {
    AttachInputBus<Sample>(data.inputs[0], 0, mainChannels, frames);
    if (mSideChainChannels > 0) {
      const int side = data.numInputs > 1
                           ? AttachInputBus<Sample>(data.inputs[1], mainChannels,
                                                    mSideChainChannels, frames)
                           : 0;
      mSideChainActive = side > 0;
    }
  }
  // A channel without a host buffer reads silence, not the samples an
  // earlier block left in its own buffer.
  SilenceUnconnectedInputs(frames);

  if (data.numOutputs > 0 && data.outputs != nullptr) {
    Sample** usable = PointerScratch<Sample>();
    int assigned = 0;
    for (int32 b = 0; b < data.numOutputs && assigned < numOutputs; ++b) {
      const AudioBusBuffers& bus = data.outputs[b];
      Sample* const* buffers = BusBuffers(bus, nothing);
      const int k = ChannelsWithin(bus, numOutputs - assigned);
      if (k <= 0) continue;
      const bool active =
          b < static_cast<int32>(audioOutputs.size()) && audioOutputs.at(b)->isActive();
      if (buffers != nullptr) {
        int n = 0;
        for (int c = 0; c < k; ++c) {
          if (buffers[c] == nullptr) continue;
          if (active) {
            ConnectOutputs(assigned + c, 1, true);
            usable[n++] = buffers[c];
          } else {
            // A switched-off bus gets silence rather than what the host left there.
            std::fill(buffers[c], buffers[c] + frames, Sample(0));
          }
        }
        if (n > 0) AttachOutputs(assigned, k, usable);
      }
      assigned += k;
    }
  }

  if constexpr (std::is_same_v<Sample, float>) {
    if (IsBypassed()) {
      RunBypassFloat(frames);
    } else {
      RunProcessingFloat(frames);
    }
  } else {
    if (IsBypassed()) {
      RunBypassDouble(frames);
    } else {
      RunProcessingDouble(frames);
    }
  }
}

void IFxVST3::FlushOutputParameterChanges(IParameterChanges* changes) {
  for (int paramIdx : mOutputOrder) {
    if (changes != nullptr) {
      int32 queueIndex = 0;
      IParamValueQueue* queue = changes->addParameterData(static_cast<ParamID>(paramIdx), queueIndex);
      if (queue != nullptr) {
        int32 pointIndex = 0;
        queue->addPoint(0, mOutputValues[paramIdx], pointIndex);
      }
    }
    mOutputPending[paramIdx] = false;
  }
  mOutputOrder.clear();
}

// ---------------------------------------------------------------------------
// Edit controller

tresult PLUGIN_API IFxVST3::getParameterInfo(int32 paramIndex, ParameterInfo& info) {
  if (paramIndex < 0 || paramIndex >= getParameterCount()) return kInvalidArgument;
  return SingleComponentEffect::getParameterInfo(paramIndex, info);
}

tresult PLUGIN_API IFxVST3::getParamStringByValue(ParamID id, ParamValue normalized,
                                                  String128 text) {
  if (text == nullptr) return kInvalidArgument;
  normalized = ClampNormalized(normalized);
  if (id < static_cast<ParamID>(NumParams())) {
    char display[128];
    GetParam(static_cast<int>(id))->FormatValue(normalized, true, display, sizeof(display), true);
    Utf8ToUtf16(display, text, 128);
    return kResultOk;
  }
  // Preset, Bypass and the controller parameters: the SDK parameter's own text.
  return SingleComponentEffect::getParamStringByValue(id, normalized, text);
}

tresult PLUGIN_API IFxVST3::getParamValueByString(ParamID id, TChar* text,
                                                  ParamValue& normalized) {
  if (text == nullptr) return kInvalidArgument;
  ParamValue value = 0.0;
  if (SingleComponentEffect::getParamValueByString(id, text, value) != kResultTrue) {
    return kResultFalse;
  }
  // "nan" or "1e999" would pass the parameter objects' range checks.
  if (!std::isfinite(value)) return kResultFalse;
  normalized = ClampNormalized(value);
  return kResultTrue;
}

ParamValue PLUGIN_API IFxVST3::normalizedParamToPlain(ParamID id, ParamValue normalized) {
  return SingleComponentEffect::normalizedParamToPlain(id, ClampNormalized(normalized));
}

ParamValue PLUGIN_API IFxVST3::plainParamToNormalized(ParamID id, ParamValue plain) {
  if (id < static_cast<ParamID>(NumParams())) {
    return GetParam(static_cast<int>(id))->ValueToNormalized(plain);
  }
  // The SDK parameter's linear mapping; an unknown ID gives the value back.
  const ParamValue normalized = SingleComponentEffect::plainParamToNormalized(id, plain);
  if (!parameters.getParameter(id)) return normalized;
  return ClampNormalized(normalized);
}

ParamValue PLUGIN_API IFxVST3::getParamNormalized(ParamID id) {
  DeliverDeferredRestart();
  if (id == kBypassParamId) return IsBypassed() ? 1.0 : 0.0;
  if (id == kPresetParamId) return mPresetValue;
  if (id < static_cast<ParamID>(NumParams())) return GetParam(static_cast<int>(id))->GetNormalized();
  return 0.0;
}

tresult PLUGIN_API IFxVST3::setParamNormalized(ParamID id, ParamValue value) {
  if (!std::isfinite(value)) return kResultFalse;
  value = ClampNormalized(value);
  // Controller and processor are one object: the controller's bypass is the
  // processor's. A later change through processing still wins.
  if (id == kBypassParamId) {
    platform::LockGuard guard(GetLock());
    SetBypassed(value > 0.5);
    return kResultOk;
  }
  if (id == kPresetParamId && NumPresets() > 0) {
    mPresetValue = value;
    return kResultOk;
  }
  if (id >= static_cast<ParamID>(NumParams())) return kResultFalse;
  // The host's controller-side copy of a value it already sent to processing:
  // store it, without notices and without touching the editor.
  platform::LockGuard guard(GetLock());
  GetParam(static_cast<int>(id))->SetFromNormalized(value);
  return kResultOk;
}

IPlugView* PLUGIN_API IFxVST3::createView(FIDString name) {
  if (name == nullptr || std::strcmp(name, ViewType::kEditor) != 0) return nullptr;
  auto* view = new IFxVST3View(this);
  mViews.push_back(view);
  return view;
}

void IFxVST3::RemoveView(IFxVST3View* view) {
  for (auto it = mViews.begin(); it != mViews.end(); ++it) {
    if (*it == view) {
      mViews.erase(it);
      return;
    }
  }
}

// ---------------------------------------------------------------------------
// MIDI mapping and units

tresult PLUGIN_API IFxVST3::getMidiControllerAssignment(int32 /*busIndex*/, int16 /*channel*/,
                                                        CtrlNumber midiControllerNumber,
                                                        ParamID& id) {
  // Only the 128 controllers have parameters; aftertouch, pitch bend and the
  // other pseudo-controllers above them would point past the last one.
  if (!DoesMidi() || midiControllerNumber < 0 || midiControllerNumber >= kNumMidiControllers) {
    return kResultFalse;
  }
  id = static_cast<ParamID>(NumParams() + midiControllerNumber);
  return kResultOk;
}

int32 PLUGIN_API IFxVST3::getUnitCount() { return static_cast<int32>(mUnitNames.size()) + 1; }

tresult PLUGIN_API IFxVST3::getUnitInfo(int32 unitIndex, UnitInfo& info) {
  if (unitIndex < 0 || unitIndex > static_cast<int32>(mUnitNames.size())) return kResultFalse;
  info.id = unitIndex;
  info.parentUnitId = unitIndex == 0 ? kNoParentUnitId : kRootUnitId;
  info.programListId = kNoProgramListId;
  Utf8ToUtf16(unitIndex == 0 ? "Root Unit" : mUnitNames[unitIndex - 1].c_str(), info.name, 128);
  return kResultOk;
}

int32 PLUGIN_API IFxVST3::getProgramListCount() { return 0; }

tresult PLUGIN_API IFxVST3::getProgramListInfo(int32 listIndex, ProgramListInfo& info) {
  if (listIndex != 0) return kResultFalse;
  info.id = kPresetParamId;
  info.programCount = NumPresets();
  Utf8ToUtf16("Factory Presets", info.name, 128);
  return kResultOk;
}

tresult PLUGIN_API IFxVST3::getProgramName(ProgramListID listId, int32 programIndex,
                                           String128 name) {
  if (listId != static_cast<ProgramListID>(kPresetParamId) || name == nullptr) return kResultFalse;
  Utf8ToUtf16(PresetName(programIndex), name, 128);
  return kResultOk;
}

tresult PLUGIN_API IFxVST3::getProgramInfo(ProgramListID, int32, Vst::CString, String128) {
  return kNotImplemented;
}

tresult PLUGIN_API IFxVST3::hasProgramPitchNames(ProgramListID, int32) { return kNotImplemented; }

tresult PLUGIN_API IFxVST3::getProgramPitchName(ProgramListID, int32, int16, String128) {
  return kNotImplemented;
}

UnitID PLUGIN_API IFxVST3::getSelectedUnit() { return kRootUnitId; }

tresult PLUGIN_API IFxVST3::selectUnit(UnitID) { return kNotImplemented; }

tresult PLUGIN_API IFxVST3::getUnitByBus(MediaType, BusDirection, int32, int32, UnitID&) {
  return kNotImplemented;
}

tresult PLUGIN_API IFxVST3::setUnitProgramData(int32, int32, IBStream*) { return kNotImplemented; }

// ---------------------------------------------------------------------------
// Base operations

bool IFxVST3::OnProcessThread() const {
  return mProcessThread.load() == std::this_thread::get_id();
}

void IFxVST3::DeliverDeferredRestart() {
  if (OnProcessThread()) return;
  if (mRestartLatencyPending.exchange(false) && componentHandler != nullptr) {
    componentHandler->restartComponent(kLatencyChanged);
  }
}

void IFxVST3::BeginInformHostOfParamChange(int paramIdx) {
  // A gesture's begin and end belong to the user-interface thread; from
  // inside process() the value alone reaches the host (see below).
  if (OnProcessThread()) return;
  beginEdit(static_cast<ParamID>(paramIdx));
}

void IFxVST3::InformHostOfParamChange(int paramIdx, double normalized) {
  if (OnProcessThread()) {
    if (paramIdx < 0 || paramIdx >= static_cast<int>(mOutputValues.size())) return;
    mOutputValues[paramIdx] = normalized;
    if (!mOutputPending[paramIdx]) {
      mOutputPending[paramIdx] = true;
      mOutputOrder.push_back(paramIdx);  // never grows past the reserved size
    }
    return;
  }
  performEdit(static_cast<ParamID>(paramIdx), normalized);
}

void IFxVST3::EndInformHostOfParamChange(int paramIdx) {
  if (OnProcessThread()) return;
  endEdit(static_cast<ParamID>(paramIdx));
}

bool IFxVST3::IsOfflineRender() { return processSetup.processMode == kOffline; }

int64_t IFxVST3::GetSamplePosition() {
  return static_cast<int64_t>(mProcessContext.projectTimeSamples);
}

double IFxVST3::GetTempoBpm() { return mProcessContext.tempo; }

void IFxVST3::GetTimeSignature(int* numerator, int* denominator) {
  if (numerator != nullptr) *numerator = mProcessContext.timeSigNumerator;
  if (denominator != nullptr) *denominator = mProcessContext.timeSigDenominator;
}

void IFxVST3::GetTransportInfo(TransportInfo* info) {
  if (info == nullptr) return;
  info->tempo = mProcessContext.tempo;
  info->samplePosition = static_cast<double>(mProcessContext.projectTimeSamples);
  info->ppqPosition = mProcessContext.projectTimeMusic;
  info->lastBarPosition = mProcessContext.barPositionMusic;
  info->cycleStart = mProcessContext.cycleStartMusic;
  info->cycleEnd = mProcessContext.cycleEndMusic;
  info->numerator = mProcessContext.timeSigNumerator;
  info->denominator = mProcessContext.timeSigDenominator;
  info->running = (mProcessContext.state & ProcessContext::kPlaying) != 0;
  info->looping = (mProcessContext.state & ProcessContext::kCycleActive) != 0;
}

void IFxVST3::ChangeLatency(int samples) {
  IFxBase::ChangeLatency(samples);
  if (componentHandler == nullptr) return;
  if (OnProcessThread()) {
    mRestartLatencyPending.store(true);
  } else {
    componentHandler->restartComponent(kLatencyChanged);
  }
}

void IFxVST3::ResizeEditorWindow(int width, int height) {
  if (GetEditor() == nullptr || mViews.empty()) return;
  IFxVST3View* view = mViews.front();
  view->expectingNewSize = true;
  if (IPlugFrame* frame = view->Frame()) {
    ViewRect rect(0, 0, width, height);
    frame->resizeView(view, &rect);
  }
}

void IFxVST3::ShowHostContextMenu(int paramIdx, int x, int y) {
  if (componentHandler == nullptr || mViews.empty()) return;
  FUnknownPtr<IComponentHandler3> handler(componentHandler);
  if (!handler) return;
  const ParamID id = static_cast<ParamID>(paramIdx);
  IContextMenu* menu = handler->createContextMenu(mViews.front(), &id);
  if (menu == nullptr) return;
  menu->popup(x, y);
  menu->release();
}

bool IFxVST3::SendMidiMessage(const MidiMessage& /*message*/) { return false; }

bool IFxVST3::SendSysExMessage(const SysExMessage& /*message*/) { return false; }
