#include "adapters/vst2/IFxVST.h"

#include <cmath>
#include <cstring>

#include "core/IFxEditorLink.h"

namespace {

// Every transport field GetTransportInfo asks the host for.
constexpr VstIntPtr kTransportRequest =
    kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstCyclePosValid | kVstTimeSigValid;

// Room for the host's product name.
constexpr int kHostNameSize = 256;

}  // namespace

IFxVST::IFxVST(int numParams, const char* channelIO, int numPresets, const char* effectName,
               const char* productName, const char* makerName, int version, uint32_t uniqueCode,
               uint32_t makerCode, int latency, bool doesMidi, bool doesChunks,
               bool isInstrument, int /*sideChainChannels*/)
    : IFxBase(numParams, channelIO, numPresets, effectName, productName, makerName, version,
              uniqueCode, makerCode, latency, doesMidi, doesChunks, isInstrument,
              HostFormatVst2) {
  std::memset(&mRecord, 0, sizeof(mRecord));
  AEffect& effect = mRecord.effect;
  effect.magic = vst2::kEffectMagic;
  effect.object = this;
  effect.dispatcher = VSTDispatcher;
  effect.process = VSTProcess;
  effect.setParameter = VSTSetParameter;
  effect.getParameter = VSTGetParameter;
  effect.processReplacing = VSTProcessReplacing;
  effect.processDoubleReplacing = VSTProcessDoubleReplacing;
  effect.numPrograms = numPresets;
  effect.numParams = numParams;
  effect.numInputs = NumInputChannels();
  effect.numOutputs = NumOutputChannels();
  effect.uniqueID = static_cast<t_fstInt32>(uniqueCode);
  effect.version = EffectVersion(true);
  effect.initialDelay = latency;
  effect.float1 = 1.0f;  // ioRatio
  VstIntPtr flags = effFlagsCanReplacing | effFlagsCanDoubleReplacing;
  if (doesChunks) flags |= effFlagsProgramChunks;
  if (LegalIO(1, -1)) flags |= vst2::kFlagsCanMono;
  if (isInstrument) flags |= effFlagsIsSynth;
  effect.flags = flags;

  FillArrangement(mInputArrangement, NumInputChannels());
  FillArrangement(mOutputArrangement, NumOutputChannels());

  ConnectInputs(0, NumInputChannels(), true);
  ConnectOutputs(0, NumOutputChannels(), true);
  ChangeBlockSize(1024);
}

IFxVST::~IFxVST() {
  // A host that deletes the instance with the window open gets it closed.
  if (IFxEditorLink* editor = GetEditor()) editor->CloseEditorWindow();
  mRecord.effect.object = nullptr;
}

void IFxVST::FillArrangement(vst2::SpeakerArrangement& arrangement, int channels) {
  std::memset(&arrangement, 0, sizeof(arrangement));
  switch (channels) {
    case 0: arrangement.type = kSpeakerArrEmpty; break;
    case 1: arrangement.type = kSpeakerArrMono; break;
    case 2: arrangement.type = kSpeakerArrStereo; break;
    default: arrangement.type = kSpeakerArrUserDefined; break;
  }
  arrangement.numChannels = channels;
}

IFxVST* IFxVST::FromRecord(AEffect* effect) {
  if (effect == nullptr) return nullptr;
  return static_cast<IFxVST*>(effect->object);
}

VstIntPtr IFxVST::CallHost(int opcode, int index, VstIntPtr value, void* ptr, float opt) {
  if (mHostCallback == nullptr) return 0;
  return mHostCallback(&mRecord.effect, opcode, index, value, ptr, opt);
}

// --- Host notices -------------------------------------------------------------

void IFxVST::BeginInformHostOfParamChange(int paramIdx) {
  CallHost(audioMasterBeginEdit, paramIdx);
}

void IFxVST::InformHostOfParamChange(int paramIdx, double normalized) {
  CallHost(audioMasterAutomate, paramIdx, 0, nullptr, static_cast<float>(normalized));
}

void IFxVST::EndInformHostOfParamChange(int paramIdx) { CallHost(audioMasterEndEdit, paramIdx); }

void IFxVST::InformHostOfPresetChange() { CallHost(vst2::kAudioMasterUpdateDisplay); }

bool IFxVST::IsOfflineRender() {
  return CallHost(audioMasterGetCurrentProcessLevel) == kVstProcessLevelOffline;
}

// --- Time -------------------------------------------------------------------

const VstTimeInfo* IFxVST::HostTimeInfo(VstIntPtr requestFlags) {
  return reinterpret_cast<const VstTimeInfo*>(CallHost(audioMasterGetTime, 0, requestFlags));
}

int64_t IFxVST::GetSamplePosition() {
  const VstTimeInfo* time = HostTimeInfo(0);
  // Also refuses NaN and positions beyond what the answer can hold.
  if (time == nullptr || !(time->samplePos >= 0.0) || time->samplePos >= 9.0e18) return 0;
  return static_cast<int64_t>(time->samplePos + 0.5);
}

double IFxVST::GetTempoBpm() {
  if (mHostCallback == nullptr) return 0.0;
  const VstTimeInfo* time = HostTimeInfo(kVstTempoValid);
  if (time == nullptr || (time->flags & kVstTempoValid) == 0 || !(time->tempo >= 0.0) ||
      !std::isfinite(time->tempo)) {
    return 0.0;
  }
  return time->tempo;
}

void IFxVST::GetTimeSignature(int* numerator, int* denominator) {
  if (numerator != nullptr) *numerator = 0;
  if (denominator != nullptr) *denominator = 0;
  const VstTimeInfo* time = HostTimeInfo(kVstTimeSigValid);
  if (time == nullptr || (time->flags & kVstTimeSigValid) == 0) return;
  if (time->timeSigNumerator < 0 || time->timeSigDenominator < 0) return;
  if (numerator != nullptr) *numerator = time->timeSigNumerator;
  if (denominator != nullptr) *denominator = time->timeSigDenominator;
}

void IFxVST::GetTransportInfo(TransportInfo* info) {
  if (info == nullptr) return;
  const VstTimeInfo* time = HostTimeInfo(kTransportRequest);
  if (time == nullptr || (time->flags & kTransportRequest) == 0) return;
  // Positions a host reports as NaN are taken as not supplied.
  if (std::isfinite(time->samplePos)) info->samplePosition = time->samplePos;
  if ((time->flags & kVstPpqPosValid) != 0 && time->ppqPos >= 0.0) {
    info->ppqPosition = time->ppqPos;
  }
  if ((time->flags & kVstTempoValid) != 0 && time->tempo > 0.0 && std::isfinite(time->tempo)) {
    info->tempo = time->tempo;
  }
  if ((time->flags & kVstBarsValid) != 0 && time->barStartPos >= 0.0) {
    info->lastBarPosition = time->barStartPos;
  }
  if ((time->flags & kVstCyclePosValid) != 0 && time->cycleStartPos >= 0.0 &&
      time->cycleEndPos >= 0.0) {
    info->cycleStart = time->cycleStartPos;
    info->cycleEnd = time->cycleEndPos;
  }
  if ((time->flags & kVstTimeSigValid) != 0 && time->timeSigNumerator > 0 &&
      time->timeSigDenominator > 0) {
    info->numerator = time->timeSigNumerator;
    info->denominator = time->timeSigDenominator;
  }
  info->running = (time->flags & kVstTransportPlaying) != 0;
  info->looping = (time->flags & kVstTransportCycleActive) != 0;
}

// --- Host identification ------------------------------------------------------

int IFxVST::GetHostId() {
  if (IFxBase::GetHostId() != HostNotIdentified) return IFxBase::GetHostId();
  char name[kHostNameSize] = {};
  CallHost(audioMasterGetProductString, 0, 0, name);
  name[kHostNameSize - 1] = '\0';  // a host that fills the whole buffer
  int version = 0;
  if (name[0] != '\0') {
    const VstIntPtr d = CallHost(audioMasterGetVendorVersion);
    version = static_cast<int>((d / 10000) * 65536 + ((d % 10000) / 100) * 256 + (d % 100));
  }
  SetHost(name, version);
  return IFxBase::GetHostId();
}

void IFxVST::InitForHost() {
  if (mHostSpecificInitDone) return;
  mHostSpecificInitDone = true;
  const int host = GetHostId();
  if (host == HostForte || host == HostAudition || host == HostOrion || host == HostSawStudio) {
    RestrictToStereo();
  }
  mRecord.effect.numInputs = NumInputChannels();
  mInputArrangement.numChannels = NumInputChannels();
  mRecord.effect.numOutputs = NumOutputChannels();
  mOutputArrangement.numChannels = NumOutputChannels();
  HostIdentified();
}

// --- Editor, latency, MIDI out ------------------------------------------------

void IFxVST::SetEditRectFromEditor() {
  IFxEditorLink* editor = GetEditor();
  if (editor == nullptr) return;
  mEditRect.top = 0;
  mEditRect.left = 0;
  mEditRect.bottom = static_cast<short>(editor->EditorHeight());
  mEditRect.right = static_cast<short>(editor->EditorWidth());
}

void IFxVST::AttachEditor(IFxEditorLink* editor) {
  IFxBase::AttachEditor(editor);
  if (GetEditor() == nullptr) return;
  mRecord.effect.flags |= effFlagsHasEditor;
  SetEditRectFromEditor();
}

void IFxVST::ResizeEditorWindow(int /*width*/, int /*height*/) {
  if (GetEditor() == nullptr) return;
  SetEditRectFromEditor();
  EditorResized();
}

void IFxVST::ChangeLatency(int samples) {
  mRecord.effect.initialDelay = samples;
  IFxBase::ChangeLatency(samples);
}

namespace {

// A VstEvents list with room for its one event, as the published record
// lays it out (the header declares an open array).
struct SingleEventList {
  int32_t numEvents;
  VstIntPtr reserved;
  VstEvent* events[2];
};
static_assert(offsetof(SingleEventList, events) == offsetof(VstEvents, events),
              "event list layout");

}  // namespace

bool IFxVST::SendMidiMessage(const MidiMessage& message) {
  VstMidiEvent event;
  std::memset(&event, 0, sizeof(event));
  event.type = kVstMidiType;
  event.byteSize = sizeof(VstMidiEvent);
  event.deltaFrames = message.offset;
  event.midiData[0] = message.status;
  event.midiData[1] = message.data1;
  event.midiData[2] = message.data2;
  SingleEventList list = {1, 0, {reinterpret_cast<VstEvent*>(&event), nullptr}};
  return CallHost(audioMasterProcessEvents, 0, 0, &list) == 1;
}

bool IFxVST::SendSysExMessage(const SysExMessage& message) {
  VstMidiSysexEvent event;
  std::memset(&event, 0, sizeof(event));
  event.type = kVstSysExType;
  event.byteSize = sizeof(VstMidiSysexEvent);
  event.deltaFrames = message.offset;
  event.dumpBytes = message.size;
  event.sysexDump = const_cast<char*>(reinterpret_cast<const char*>(message.data));
  SingleEventList list = {1, 0, {reinterpret_cast<VstEvent*>(&event), nullptr}};
  return CallHost(audioMasterProcessEvents, 0, 0, &list) == 1;
}
