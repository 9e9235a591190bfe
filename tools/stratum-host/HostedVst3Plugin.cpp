// A VST3 class behind the commands' plug-in interface.
#include "tools/stratum-host/HostedPlugin.h"
#include "tools/stratum-host/HostedPluginFormats.h"
#include "tools/vst3host/LoadedPlugin.h"
#include "tools/vst3host/PluginState.h"

namespace stratumhost {

namespace {

class HostedVst3Plugin : public HostedPlugin {
 public:
  explicit HostedVst3Plugin(vst3host::LoadedPlugin plugin) : mPlugin(std::move(plugin)) {}
  ~HostedVst3Plugin() override { mPlugin.instance.reset(); }  // before the module

  vst3host::PluginInstance* Vst3() override { return mPlugin.instance.get(); }
  std::string Name() override { return Instance().Description().name; }
  int NumParameters() override { return static_cast<int>(Instance().Parameters().size()); }
  std::string ParameterTitle(int index) override { return Instance().Parameters()[index].title; }
  int FindParameter(const std::string& title) override { return Instance().FindParameter(title); }
  bool SetFromText(int index, const std::string& text, std::string* error) override {
    double normalized = 0.0;
    if (!Instance().ParseValue(index, text, &normalized, error)) return false;
    Instance().SetParameter(index, normalized);
    return true;
  }
  std::string ValueText(int index) override { return Instance().HostValueText(index); }
  std::vector<int> TakeChangedParameters() override { return Instance().TakeChangedParameters(); }
  bool Prepare(int inputChannels, double sampleRate, int maxBlockSize, bool doublePrecision,
               bool offline, std::string* error) override {
    return Instance().Prepare(inputChannels, sampleRate, maxBlockSize, doublePrecision, offline,
                              error);
  }
  int InputChannels() override { return Instance().InputChannels(); }
  int OutputChannels() override { return Instance().OutputChannels(); }
  int MaxBlockSize() override { return Instance().MaxBlockSize(); }
  int64_t LatencySamples() override { return Instance().LatencySamples(); }
  void Process(const double* const* input, double* const* output, int frames,
               const vst3host::TransportSettings& transport) override {
    Instance().Process(input, output, frames, transport);
  }
  bool SaveStateFile(std::vector<uint8_t>* bytes, std::string* error) override {
    vst3host::PluginState state;
    if (!Instance().SaveState(&state, error)) return false;
    *bytes = vst3host::EncodeStateFile(state);
    return true;
  }
  bool LoadStateFile(const std::vector<uint8_t>& bytes, std::string* error) override {
    vst3host::PluginState state;
    return vst3host::DecodeStateFile(bytes, &state, error) && Instance().LoadState(state, error);
  }

 private:
  vst3host::PluginInstance& Instance() { return *mPlugin.instance; }
  vst3host::LoadedPlugin mPlugin;
};

}  // namespace

std::unique_ptr<HostedPlugin> OpenVst3Plugin(const std::string& path, std::string* error) {
  vst3host::LoadedPlugin plugin;
  if (!vst3host::LoadPlugin(path, &plugin, error)) return nullptr;
  return std::make_unique<HostedVst3Plugin>(std::move(plugin));
}

}  // namespace stratumhost
