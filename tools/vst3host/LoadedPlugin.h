#pragma once

#include <memory>
#include <string>

#include "tools/vst3host/PluginInstance.h"
#include "tools/vst3host/Vst3Module.h"

namespace vst3host {

// A module with one instance of its first audio effect class. The instance
// goes before the module that holds its code.
struct LoadedPlugin {
  std::unique_ptr<Vst3Module> module;
  std::unique_ptr<PluginInstance> instance;
};

// Loads a bundle folder or module file, hands its factory the host context
// and creates one instance of its first audio effect class. False with a
// one-line reason when any step fails.
bool LoadPlugin(const std::string& path, LoadedPlugin* plugin, std::string* error);

// One more instance of the module's first audio effect class; null with a
// reason when there is none or it cannot be created.
std::unique_ptr<PluginInstance> CreateFirstEffect(Vst3Module& module, std::string* error);

}  // namespace vst3host
