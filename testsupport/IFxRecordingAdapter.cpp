#include "testsupport/IFxRecordingAdapter.h"

IFxRecordingAdapter::IFxRecordingAdapter(int numParams, const char* channelIO, int numPresets,
                                         const char* effectName, const char* productName,
                                         const char* makerName, int version,
                                         uint32_t uniqueCode, uint32_t makerCode, int latency,
                                         bool doesMidi, bool doesChunks, bool isInstrument,
                                         int sideChainChannels, HostFormat hostFormat)
    : IFxBase(numParams, channelIO, numPresets, effectName, productName, makerName, version,
              uniqueCode, makerCode, latency, doesMidi, doesChunks, isInstrument, hostFormat),
      mSideChainChannels(sideChainChannels) {}

std::vector<IFxRecordingAdapter::HostCall> IFxRecordingAdapter::HostCallsOf(
    HostCallKind kind) const {
  std::vector<HostCall> calls;
  for (const HostCall& call : mHostCalls) {
    if (call.kind == kind) calls.push_back(call);
  }
  return calls;
}

void IFxRecordingAdapter::Record(HostCallKind kind, int index, double value) {
  mHostCalls.push_back(HostCall{kind, index, value});
}

void IFxRecordingAdapter::BeginInformHostOfParamChange(int paramIdx) {
  Record(HostCallKind::BeginParamChange, paramIdx, 0.0);
}

void IFxRecordingAdapter::InformHostOfParamChange(int paramIdx, double normalized) {
  Record(HostCallKind::ParamChange, paramIdx, normalized);
}

void IFxRecordingAdapter::EndInformHostOfParamChange(int paramIdx) {
  Record(HostCallKind::EndParamChange, paramIdx, 0.0);
}

void IFxRecordingAdapter::InformHostOfPresetChange() {
  Record(HostCallKind::PresetChange, -1, 0.0);
}

int64_t IFxRecordingAdapter::GetSamplePosition() {
  return static_cast<int64_t>(mTransport.samplePosition);
}

void IFxRecordingAdapter::GetTimeSignature(int* numerator, int* denominator) {
  if (numerator != nullptr) *numerator = mTransport.numerator;
  if (denominator != nullptr) *denominator = mTransport.denominator;
}

void IFxRecordingAdapter::GetTransportInfo(TransportInfo* info) {
  if (info != nullptr) *info = mTransport;
}

void IFxRecordingAdapter::ResizeEditorWindow(int width, int height) {
  Record(HostCallKind::ResizeEditor, width, height);
}

bool IFxRecordingAdapter::SendMidiMessage(const MidiMessage& message) {
  Record(HostCallKind::MidiOut, message.status, message.data1 * 256 + message.data2);
  mSentMidi.push_back(message);
  return mMidiOutAnswer;
}
