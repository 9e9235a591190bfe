#pragma once

#include <cstdint>
#include <vector>

#include "core/IFxBase.h"

// A host-neutral adapter for tests and tools: it implements every host-facing
// operation of IFxBase by appending the call to a plain list, and answers the
// time queries from values a test sets. Takes the same arguments as every
// adapter of the project; the host format defaults to VST3.
class IFxRecordingAdapter : public IFxBase {
 public:
  enum class HostCallKind {
    BeginParamChange,
    ParamChange,
    EndParamChange,
    PresetChange,
    ResizeEditor,
    MidiOut,
  };

  // One recorded call. index: the parameter index (or the width for a resize,
  // the status byte for MIDI); value: the normalised value (or the height, or
  // data 1 and data 2 packed as data1 * 256 + data2).
  struct HostCall {
    HostCallKind kind;
    int index;
    double value;
  };

  IFxRecordingAdapter(int numParams, const char* channelIO, int numPresets,
                      const char* effectName, const char* productName, const char* makerName,
                      int version, uint32_t uniqueCode, uint32_t makerCode, int latency,
                      bool doesMidi, bool doesChunks, bool isInstrument, int sideChainChannels,
                      HostFormat hostFormat = HostFormatVst3);

  // --- The recording, in call order.
  const std::vector<HostCall>& HostCalls() const { return mHostCalls; }
  void ClearHostCalls() { mHostCalls.clear(); }
  // The recorded calls of one kind, in order.
  std::vector<HostCall> HostCallsOf(HostCallKind kind) const;
  const std::vector<MidiMessage>& SentMidi() const { return mSentMidi; }
  int SideChainChannels() const { return mSideChainChannels; }

  // --- Settable answers.
  void SetTempo(double bpm) { mTransport.tempo = bpm; }
  void SetSamplePosition(int64_t samples) {
    mTransport.samplePosition = static_cast<double>(samples);
  }
  void SetTimeSignature(int numerator, int denominator) {
    mTransport.numerator = numerator;
    mTransport.denominator = denominator;
  }
  void SetTransportInfo(const TransportInfo& info) { mTransport = info; }
  void SetOfflineRender(bool offline) { mOfflineRender = offline; }
  void SetMidiOutAnswer(bool answer) { mMidiOutAnswer = answer; }

  // --- IFxBase host-facing operations.
  void BeginInformHostOfParamChange(int paramIdx) override;
  void InformHostOfParamChange(int paramIdx, double normalized) override;
  void EndInformHostOfParamChange(int paramIdx) override;
  void InformHostOfPresetChange() override;
  bool IsOfflineRender() override { return mOfflineRender; }
  int64_t GetSamplePosition() override;
  double GetTempoBpm() override { return mTransport.tempo; }
  void GetTimeSignature(int* numerator, int* denominator) override;
  void GetTransportInfo(TransportInfo* info) override;
  void ResizeEditorWindow(int width, int height) override;
  bool SendMidiMessage(const MidiMessage& message) override;

 private:
  void Record(HostCallKind kind, int index, double value);

  int mSideChainChannels = 0;
  TransportInfo mTransport;
  bool mOfflineRender = false;
  bool mMidiOutAnswer = false;
  std::vector<HostCall> mHostCalls;
  std::vector<MidiMessage> mSentMidi;
};
