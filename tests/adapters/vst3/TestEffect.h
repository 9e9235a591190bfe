#pragma once

#include "adapters/vst3/IFxVST3.h"

// A small effect built into a test VST3 module, so the adapter can be tested
// through real module loading without the shipping effect:
// - "Level" (0..100 %, curve shape 2) scales the audio by Level / 100;
// - "Mode" is an enumeration, "Switch" a switch; turning "Switch" on from the
//   host changes the latency to 32 samples (a restart request made while
//   processing);
// - every MIDI message it receives is written into the three "MIDI ..."
//   parameters and reported to the host, like group values applied during a
//   block;
// - switching it off (setActive false) performs an editor-like gesture on
//   "Level" (begin, value 0.125, end) from the calling thread.
class TestEffect : public IFxVST3 {
 public:
  enum Param { kLevel, kMode, kSwitch, kMidiStatus, kMidiData1, kMidiData2, kNumParams };
  static constexpr uint32_t kUniqueCode = 0x54734566;  // 'TsEf'
  static constexpr uint32_t kMakerCode = 0x566C4D72;   // 'VlMr'
  static constexpr int kSwitchLatency = 32;

  TestEffect();

  void ProcessAudio(double** inputs, double** outputs, int frames) override;
  void ParamChanged(int paramIdx, ParamChangeSource source) override;
  void HandleMidiMessage(const MidiMessage& message) override;
  void ActivationChanged(bool active) override;
  static constexpr double kGestureValue = 0.125;
};
