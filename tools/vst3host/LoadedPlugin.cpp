#include "tools/vst3host/LoadedPlugin.h"

#include "tools/vst3host/HostContext.h"

namespace vst3host {

bool LoadPlugin(const std::string& path, LoadedPlugin* plugin, std::string* error) {
  plugin->module = Vst3Module::Load(path, error);
  if (!plugin->module) return false;
  plugin->module->SetHostContext(&HostContext());
  if (plugin->module->FirstAudioEffect() == nullptr) {
    *error = "'" + path + "' offers no audio effect class";
    return false;
  }
  plugin->instance = CreateFirstEffect(*plugin->module, error);
  return plugin->instance != nullptr;
}

std::unique_ptr<PluginInstance> CreateFirstEffect(Vst3Module& module, std::string* error) {
  const ClassDescription* effect = module.FirstAudioEffect();
  if (effect == nullptr) {
    *error = "'" + module.LibraryPath() + "' offers no audio effect class";
    return nullptr;
  }
  return PluginInstance::Create(module, *effect, error);
}

}  // namespace vst3host
