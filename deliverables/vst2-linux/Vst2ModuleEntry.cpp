// The entry points of a Linux VST2 module: VSTPluginMain and its legacy
// alias main, which do the same, and nothing else of the module is exported
// (Vst2Exports.map). The work is the adapter's; the module's own part is its
// factory hook.

#include "adapters/vst2/Vst2ModuleFactory.h"

#define STRATUM_VST2_EXPORT extern "C" __attribute__((visibility("default")))

STRATUM_VST2_EXPORT AEffect* VSTPluginMain(audioMasterCallback hostCallback) {
  return CreateVst2Instance(hostCallback);
}

// The legacy entry point is exported under the name "main", which C++ keeps
// for the program's own entry; the assembler name gives it to this function.
STRATUM_VST2_EXPORT AEffect* VSTPluginMainLegacy(audioMasterCallback hostCallback)
    __asm__("main");
AEffect* VSTPluginMainLegacy(audioMasterCallback hostCallback) {
  return CreateVst2Instance(hostCallback);
}
