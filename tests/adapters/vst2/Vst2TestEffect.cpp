#include "tests/adapters/vst2/Vst2TestEffect.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "adapters/vst2/Vst2ModuleHooks.h"
#include "core/IFxHostRunLoop.h"

namespace {

// The test editor: no drawing, only the window protocol and the run loop.
class RunLoopTestEditor : public IFxEditorLink, public IFxRunLoopClient {
 public:
  explicit RunLoopTestEditor(IFxVST* effect) : mEffect(effect) {}
  void PushParamToControls(int, double, bool) override {}
  void PrepareBackBuffer() override {}
  int EditorWidth() const override { return Vst2TestEffect::kEditorWidth; }
  int EditorHeight() const override { return Vst2TestEffect::kEditorHeight; }
  bool AcceptsParentType(const char* type) const override {
    return type != nullptr && std::strcmp(type, "X11EmbedWindowID") == 0;
  }
  bool OpenEditorWindow(void* parent, const char* type, IFxHostRunLoop* runLoop) override {
    if (!AcceptsParentType(type) || runLoop == nullptr || mRunLoop != nullptr) return false;
    mFd = static_cast<int>(reinterpret_cast<intptr_t>(parent));
    if (!runLoop->Register(this, mFd, 40)) return false;
    mRunLoop = runLoop;
    return true;
  }
  void CloseEditorWindow() override {
    if (mRunLoop != nullptr) mRunLoop->Unregister(this);
    mRunLoop = nullptr;
  }
  void OnRunLoopTimer() override {
    mEffect->InformHostOfParamChange(Vst2TestEffect::kTicks, ++mTicks);
  }
  void OnRunLoopInput(int fd) override {
    char byte;
    if (read(fd, &byte, 1) == 1) mEffect->InformHostOfParamChange(Vst2TestEffect::kInputs, ++mInputs);
  }

 private:
  IFxVST* mEffect;
  IFxHostRunLoop* mRunLoop = nullptr;
  int mFd = -1;
  int mTicks = 0;
  int mInputs = 0;
};

}  // namespace

Vst2TestEffect::Vst2TestEffect()
    : IFxVST(kNumParams, "1-1 2-2", 1, "StratumTestEffect2", "Test Product", "Velmar", 0x10203,
             kUniqueCode, kMakerCode, 0, true, true, false, 0) {
  GetParam(kLevel)->SetupDouble("Level", 50.0, 0.0, 100.0, 0.5, "%", "Main", 2.0);
  GetParam(kMode)->SetupEnum("Mode", 1, 3, "", "Tone");
  GetParam(kMode)->AddNamedValue(0, "A");
  GetParam(kMode)->AddNamedValue(1, "B");
  GetParam(kMode)->AddNamedValue(2, "C");
  GetParam(kSwitch)->SetupBool("Switch", false);
  GetParam(kTrim)->SetupDouble("Trim", 0.0, -12.0, 12.0, 0.1, "dB");
  GetParam(kTrim)->SetNegatedDisplay(true);
  GetParam(kTicks)->SetupDouble("Ticks", 0.0, 0.0, 1.0e6, 1.0);
  GetParam(kInputs)->SetupDouble("Inputs", 0.0, 0.0, 1.0e6, 1.0);
  AttachEditor(new RunLoopTestEditor(this));
  CreateDefaultPresets("-", 1);
}

void Vst2TestEffect::ProcessAudio(double** inputs, double** outputs, int frames) {
  const double gain = GetParam(kLevel)->Value() / 100.0;
  const int channels = NumInputChannels() < NumOutputChannels() ? NumInputChannels()
                                                                 : NumOutputChannels();
  for (int c = 0; c < channels; ++c) {
    for (int s = 0; s < frames; ++s) outputs[c][s] = inputs[c][s] * gain;
  }

  GetTransportInfo(&mTransport);
  int numerator = -1;
  int denominator = -1;
  GetTimeSignature(&numerator, &denominator);
  const double report[kTimeReportEnd - kTimeReport] = {
      mTransport.tempo, mTransport.samplePosition, mTransport.ppqPosition,
      mTransport.lastBarPosition, mTransport.cycleStart, mTransport.cycleEnd,
      static_cast<double>(mTransport.numerator), static_cast<double>(mTransport.denominator),
      mTransport.running ? 1.0 : 0.0, mTransport.looping ? 1.0 : 0.0, GetTempoBpm(),
      static_cast<double>(GetSamplePosition()), static_cast<double>(numerator),
      static_cast<double>(denominator), IsOfflineRender() ? 1.0 : 0.0};
  for (int i = 0; i < kTimeReportEnd - kTimeReport; ++i) {
    InformHostOfParamChange(kTimeReport + i, report[i]);
  }
}

void Vst2TestEffect::ParamChanged(int paramIdx, ParamChangeSource source) {
  if (paramIdx == kSwitch && source == SourceHost) {
    ChangeLatency(GetParam(kSwitch)->IsOn() ? kSwitchLatency : 0);
  }
}

void Vst2TestEffect::HandleSysEx(const SysExMessage& message) { SendSysExMessage(message); }

bool Vst2TestEffect::GetMidiNoteText(int note, char* text, size_t textSize) {
  if (note != 60) return IFxVST::GetMidiNoteText(note, text, textSize);
  std::snprintf(text, textSize, "Middle C");
  return true;
}

void Vst2TestEffect::ActivationChanged(bool active) {
  if (active) return;
  BeginInformHostOfParamChange(kLevel);
  SetParameterFromGUI(kLevel, kGestureValue);
  EndInformHostOfParamChange(kLevel);
}

IFxVST* MakeEffectInstance() { return new Vst2TestEffect(); }
