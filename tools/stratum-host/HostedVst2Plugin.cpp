// A VST2 effect behind the commands' plug-in interface.
#include "tools/stratum-host/HostedPlugin.h"
#include "tools/stratum-host/HostedPluginFormats.h"
#include "tools/vst2host/Vst2StateFile.h"

namespace stratumhost {

namespace {

class HostedVst2Plugin : public HostedPlugin {
 public:
  explicit HostedVst2Plugin(std::unique_ptr<vst2host::Vst2Plugin> plugin)
      : mPlugin(std::move(plugin)) {}

  vst2host::Vst2Plugin* Vst2() override { return mPlugin.get(); }
  std::string Name() override { return mPlugin->EffectName(); }
  int NumParameters() override { return mPlugin->NumParameters(); }
  std::string ParameterTitle(int index) override { return mPlugin->ParameterName(index); }
  int FindParameter(const std::string& title) override { return mPlugin->FindParameter(title); }
  bool SetFromText(int index, const std::string& text, std::string* error) override {
    return mPlugin->SetFromText(index, text, error);
  }
  std::string ValueText(int index) override { return mPlugin->ParameterDisplay(index); }
  std::vector<int> TakeChangedParameters() override { return mPlugin->TakeChangedParameters(); }
  bool Prepare(int inputChannels, double sampleRate, int maxBlockSize, bool doublePrecision,
               bool offline, std::string* error) override {
    return mPlugin->Prepare(inputChannels, sampleRate, maxBlockSize, doublePrecision, offline,
                            error);
  }
  int InputChannels() override { return mPlugin->InputChannels(); }
  int OutputChannels() override { return mPlugin->OutputChannels(); }
  int MaxBlockSize() override { return mPlugin->MaxBlockSize(); }
  int64_t LatencySamples() override { return mPlugin->Latency(); }
  void Process(const double* const* input, double* const* output, int frames,
               const vst3host::TransportSettings& transport) override {
    vst2host::Vst2Transport time;
    time.tempo = transport.tempo;
    time.playing = transport.playing;
    mPlugin->Process(input, output, frames, time);
  }
  bool SaveStateFile(std::vector<uint8_t>* bytes, std::string* error) override {
    vst2host::Vst2State state;
    state.uniqueId = mPlugin->UniqueId();
    if (mPlugin->KeepsChunks()) {
      if (!mPlugin->SaveState(true, &state.bank, error)) return false;
      state.hasBank = true;
    }
    if (!mPlugin->SaveState(false, &state.program, error)) return false;
    state.hasProgram = true;
    *bytes = vst2host::EncodeVst2StateFile(state);
    return true;
  }
  bool LoadStateFile(const std::vector<uint8_t>& bytes, std::string* error) override {
    vst2host::Vst2State state;
    if (!vst2host::DecodeVst2StateFile(bytes, &state, error)) return false;
    if (state.uniqueId != mPlugin->UniqueId()) {
      *error = "the state was saved by another plug-in";
      return false;
    }
    // The bank brings back the presets, then the program the current values.
    if (state.hasBank && mPlugin->KeepsChunks() && !mPlugin->LoadState(true, state.bank, error)) {
      return false;
    }
    return !state.hasProgram || mPlugin->LoadState(false, state.program, error);
  }

 private:
  std::unique_ptr<vst2host::Vst2Plugin> mPlugin;
};

}  // namespace

std::unique_ptr<HostedPlugin> OpenVst2Plugin(const std::string& path, std::string* error) {
  std::unique_ptr<vst2host::Vst2Plugin> plugin = vst2host::Vst2Plugin::Load(path, error);
  if (plugin == nullptr) return nullptr;
  return std::make_unique<HostedVst2Plugin>(std::move(plugin));
}

}  // namespace stratumhost
