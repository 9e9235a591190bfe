#include "tools/stratum-host/HostedPlugin.h"

#include <filesystem>

#include "platform/LoadableModule.h"
#include "tools/stratum-host/HostedPluginFormats.h"

namespace stratumhost {

std::unique_ptr<HostedPlugin> OpenHostedPlugin(const std::string& path, std::string* error) {
  // A bundle folder, or a module with the VST3 factory, is a VST3 plug-in;
  // a module with a VST2 entry point (and no factory) a VST2 one.
  std::error_code ignored;
  bool vst2 = false;
  if (!std::filesystem::is_directory(path, ignored)) {
    platform::LoadableModule module;
    vst2 = module.Open(path) && module.Symbol("GetPluginFactory") == nullptr &&
           (module.Symbol("VSTPluginMain") != nullptr || module.Symbol("main") != nullptr);
  }
  return vst2 ? OpenVst2Plugin(path, error) : OpenVst3Plugin(path, error);
}

}  // namespace stratumhost
