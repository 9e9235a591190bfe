// Construction, the base behaviour of the virtual operations, parameters and
// identity. Channels live in IFxBaseChannels.cpp, state and presets in
// IFxBasePresets.cpp.
#include "core/IFxBase.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/FatalAssert.h"

namespace {

void CopyName(char* destination, const char* source) {
  if (source == nullptr) source = "";
  size_t length = strnlen(source, IFxBase::kNameSize - 1);
  memcpy(destination, source, length);
  destination[length] = '\0';
}

}  // namespace

IFxBase::IFxBase(int numParams, const char* channelIO, int numPresets, const char* effectName,
                 const char* productName, const char* makerName, int version,
                 uint32_t uniqueCode, uint32_t makerCode, int latency, bool doesMidi,
                 bool doesChunks, bool isInstrument, HostFormat hostFormat)
    : mUniqueCode(uniqueCode),
      mMakerCode(makerCode),
      mVersion(version),
      mHostFormat(hostFormat),
      mDoesStateChunks(doesChunks),
      mIsInstrument(isInstrument),
      mDoesMidi(doesMidi),
      mLatency(latency > 0 ? latency : 0) {
  for (int i = 0; i < numParams; ++i) mParams.push_back(std::make_unique<IFxParam>());
  for (int i = 0; i < numPresets; ++i) mPresets.push_back(std::make_unique<PresetSlot>());
  CopyName(mEffectName, effectName);
  CopyName(mProductName, productName);
  CopyName(mMakerName, makerName);
  ParseChannelIO(channelIO);

  int maxInputs = 0;
  int maxOutputs = 0;
  for (const ChannelIOPair& pair : mChannelIOPairs) {
    if (pair.inputs > maxInputs) maxInputs = pair.inputs;
    if (pair.outputs > maxOutputs) maxOutputs = pair.outputs;
  }
  mInputChannels.resize(static_cast<size_t>(maxInputs));
  mOutputChannels.resize(static_cast<size_t>(maxOutputs));
  // Every channel starts on its own (still empty) buffer; EnsureBufferCapacity
  // and ChangeBlockSize re-point them when the buffers get their size.
  mInputPointers.assign(static_cast<size_t>(maxInputs), nullptr);
  mOutputPointers.assign(static_cast<size_t>(maxOutputs), nullptr);
}

IFxBase::~IFxBase() {
  // The editor refers to the parameters, so it goes before them.
  mEditor.reset();
}

void IFxBase::ParseChannelIO(const char* channelIO) {
  const char* text = channelIO != nullptr ? channelIO : "";
  while (*text != '\0') {
    ChannelIOPair pair;
    int consumed = 0;
    const bool parsed = sscanf(text, "%d-%d%n", &pair.inputs, &pair.outputs, &consumed) == 2;
    FX_ASSERT(parsed, "channelIOStrValid");
    mChannelIOPairs.push_back(pair);
    text += consumed;
    while (*text == ' ') ++text;
  }
}

void IFxBase::ResetProcessing() { platform::LockGuard guard(mLock); }

void IFxBase::ParamChanged(int, ParamChangeSource) { platform::LockGuard guard(mLock); }

void IFxBase::ProcessAudio(double** inputs, double** outputs, int frames) {
  const int numInputs = NumInputChannels();
  const int numOutputs = NumOutputChannels();
  const size_t bytes = static_cast<size_t>(frames > 0 ? frames : 0) * sizeof(double);
  for (int i = 0; i < numOutputs; ++i) {
    if (bytes == 0) break;
    if (i < numInputs) {
      if (outputs[i] != inputs[i]) memmove(outputs[i], inputs[i], bytes);
    } else {
      memset(outputs[i], 0, bytes);
    }
  }
}

void IFxBase::ActivationChanged(bool) { platform::LockGuard guard(mLock); }

void IFxBase::HandleMidiMessage(const MidiMessage& message) { SendMidiMessage(message); }

bool IFxBase::GetMidiNoteText(int, char* text, size_t textSize) {
  if (text != nullptr && textSize > 0) text[0] = '\0';
  return false;
}

bool IFxBase::StateMatches(const uint8_t* data, int dataSize, int startIndex) {
  if (data == nullptr || startIndex < 0) return false;
  const int64_t needed = (static_cast<int64_t>(startIndex) + NumParams()) * 8;
  if (needed > dataSize) return false;
  for (int i = 0; i < NumParams(); ++i) {
    double stored;
    memcpy(&stored, data + (static_cast<size_t>(startIndex) + i) * 8, 8);
    const float difference =
        static_cast<float>(mParams[i]->Value()) - static_cast<float>(stored);
    if (!(std::fabs(difference) < 0.00001f)) return false;
  }
  return true;
}

void IFxBase::SetParameterFromGUI(int paramIdx, double normalized) {
  platform::LockGuard guard(mLock);
  IFxParam* param = GetParam(paramIdx);
  if (param == nullptr) return;
  param->SetFromNormalized(normalized);
  // The host hears the value the control produced, not the quantised one.
  InformHostOfParamChange(paramIdx, normalized);
  ParamChanged(paramIdx, SourceEditor);
}

void IFxBase::AttachEditor(IFxEditorLink* editor) {
  platform::LockGuard guard(mLock);
  if (editor != nullptr) {
    for (int i = 0; i < NumParams(); ++i) {
      editor->PushParamToControls(i, mParams[i]->GetNormalized(), true);
    }
    editor->PrepareBackBuffer();
  }
  if (editor != mEditor.get()) mEditor.reset(editor);
}

void IFxBase::ChangeLatency(int samples) {
  mLatency = samples > 0 ? samples : 0;
  if (mDelayLine) mDelayLine->SetDelay(mLatency);
}

void IFxBase::RefreshParamControls() {
  if (!mEditor) return;
  for (int i = 0; i < NumParams(); ++i) {
    mEditor->PushParamToControls(i, mParams[i]->Value(), false);
  }
}

IFxParam* IFxBase::GetParam(int paramIdx) {
  if (paramIdx < 0 || paramIdx >= NumParams()) return nullptr;
  return mParams[paramIdx].get();
}

const IFxParam* IFxBase::GetParam(int paramIdx) const {
  if (paramIdx < 0 || paramIdx >= NumParams()) return nullptr;
  return mParams[paramIdx].get();
}

void IFxBase::NotifyAllParams(ParamChangeSource source) {
  for (int i = 0; i < NumParams(); ++i) ParamChanged(i, source);
}

int IFxBase::EffectVersion(bool decimal) const {
  if (!decimal) return mVersion;
  const int major = (mVersion >> 16) & 0xFFFF;
  const int minor = (mVersion >> 8) & 0xFF;
  const int patch = mVersion & 0xFF;
  return major * 10000 + minor * 100 + patch;
}

void IFxBase::SetHost(const char* hostName, int hostVersion) {
  mHostId = FindHostId(hostName);
  mHostVersion = hostVersion;
}
