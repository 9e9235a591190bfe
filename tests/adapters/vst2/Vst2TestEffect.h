#pragma once

#include "adapters/vst2/IFxVST.h"

// A small effect built into a test VST2 module, so the adapter can be tested
// through real module loading without the shipping effect:
// - "Level" (0..100 %, curve shape 2) scales the audio by Level / 100;
// - "Mode" is an enumeration (A, B, C), "Switch" a switch; turning "Switch"
//   on from the host changes the latency to 32 samples;
// - "Trim" (-12..12 dB) shows its value negated;
// - MIDI it receives goes straight back out (the base's behaviour), and so do
//   system-exclusive messages; note 60 is named "Middle C";
// - its editor (120 x 80) accepts an X11 parent, and takes the parent's
//   handle as a descriptor to watch: each run-loop timer tick and each input
//   it sees is reported to the host as an automation of the parameters
//   "Ticks" and "Inputs" (index and a running count);
// - switching it off (effMainsChanged 0) performs an editor-like gesture on
//   "Level" (begin, value 0.125, end); a change of the presets is passed on
//   to the host as a preset change;
// - every block reports what it learnt of the host's time as automation of
//   indices from kTimeReport on (see TimeReport), value in the float option;
//   the transport record is kept between blocks, as the effect keeps it.
class Vst2TestEffect : public IFxVST {
 public:
  enum Param { kLevel, kMode, kSwitch, kTrim, kTicks, kInputs, kNumParams };
  static constexpr uint32_t kUniqueCode = 0x54733246;  // 'Ts2F'
  static constexpr uint32_t kMakerCode = 0x566C4D72;   // 'VlMr'
  static constexpr int kSwitchLatency = 32;
  static constexpr int kEditorWidth = 120;
  static constexpr int kEditorHeight = 80;
  // Host-notice indices of the time report, beyond the parameters.
  enum TimeReport {
    kTimeReport = 100,
    kReportTempo = kTimeReport,
    kReportSamplePosition,
    kReportPpq,
    kReportLastBar,
    kReportCycleStart,
    kReportCycleEnd,
    kReportNumerator,
    kReportDenominator,
    kReportRunning,
    kReportLooping,
    kReportTempoBpm,
    kReportSamplePos,
    kReportSigNumerator,
    kReportSigDenominator,
    kReportOffline,
    kTimeReportEnd
  };

  Vst2TestEffect();

  void ProcessAudio(double** inputs, double** outputs, int frames) override;
  void ParamChanged(int paramIdx, ParamChangeSource source) override;
  void HandleSysEx(const SysExMessage& message) override;
  bool GetMidiNoteText(int note, char* text, size_t textSize) override;
  void ActivationChanged(bool active) override;
  void HostChangedPresets() override { InformHostOfPresetChange(); }
  static constexpr double kGestureValue = 0.125;

 private:
  TransportInfo mTransport;
};
