#include "tests/adapters/vst3/TestEffect.h"

#include "adapters/vst3/Vst3ModuleHooks.h"

TestEffect::TestEffect()
    : IFxVST3(kNumParams, "1-1 2-2", 1, "StratumTestEffect", "", "Velmar", 0x10203, kUniqueCode,
              kMakerCode, 0, true, true, false, 0) {
  GetParam(kLevel)->SetupDouble("Level", 50.0, 0.0, 100.0, 0.5, "%", "Main", 2.0);
  GetParam(kMode)->SetupEnum("Mode", 1, 3, "", "Tone");
  GetParam(kMode)->AddNamedValue(0, "A");
  GetParam(kMode)->AddNamedValue(1, "B");
  GetParam(kMode)->AddNamedValue(2, "C");
  GetParam(kSwitch)->SetupBool("Switch", false, "", "Tone");
  GetParam(kMidiStatus)->SetupDouble("MIDI Status", 0.0, 0.0, 255.0, 1.0);
  GetParam(kMidiData1)->SetupDouble("MIDI Data 1", 0.0, 0.0, 255.0, 1.0);
  GetParam(kMidiData2)->SetupDouble("MIDI Data 2", 0.0, 0.0, 255.0, 1.0);
  CreateDefaultPresets("-", 1);
}

void TestEffect::ProcessAudio(double** inputs, double** outputs, int frames) {
  const double gain = GetParam(kLevel)->Value() / 100.0;
  const int channels = NumInputChannels() < NumOutputChannels() ? NumInputChannels()
                                                                 : NumOutputChannels();
  for (int c = 0; c < channels; ++c) {
    for (int s = 0; s < frames; ++s) outputs[c][s] = inputs[c][s] * gain;
  }
}

void TestEffect::ParamChanged(int paramIdx, ParamChangeSource source) {
  if (paramIdx == kSwitch && source == SourceHost) {
    ChangeLatency(GetParam(kSwitch)->IsOn() ? kSwitchLatency : 0);
  }
}

void TestEffect::HandleMidiMessage(const MidiMessage& message) {
  const double values[3] = {static_cast<double>(message.status),
                            static_cast<double>(message.data1),
                            static_cast<double>(message.data2)};
  for (int i = 0; i < 3; ++i) {
    IFxParam* param = GetParam(kMidiStatus + i);
    param->SetValueClamped(values[i]);
    InformHostOfParamChange(kMidiStatus + i, param->GetNormalized());
  }
}

void TestEffect::ActivationChanged(bool active) {
  if (active) return;
  BeginInformHostOfParamChange(kLevel);
  SetParameterFromGUI(kLevel, kGestureValue);
  EndInformHostOfParamChange(kLevel);
}

IFxVST3* MakeEffectInstance() { return new TestEffect(); }

const Vst3ModuleDescription kVst3ModuleDescription = {
    "Velmar", "https://velmar.example", "support@velmar.example", "StratumTestEffect",
    TestEffect::kMakerCode, TestEffect::kUniqueCode, 0x10203, "Fx|Test"};
