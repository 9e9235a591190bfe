// The entry points of a Linux VST3 module: ModuleEntry and ModuleExit (what
// InitDll and ExitDll are on Windows) and GetPluginFactory, and nothing else
// of the module is exported (Vst3Exports.map). The work is the adapter's; the
// module's own part is its description and factory hook beside this file.

#include "adapters/vst3/Vst3ModuleFactory.h"
#include "pluginterfaces/base/fplatform.h"

extern "C" {

SMTG_EXPORT_SYMBOL bool ModuleEntry(void* sharedLibraryHandle) { return EnterVst3Module(sharedLibraryHandle); }

SMTG_EXPORT_SYMBOL bool ModuleExit() { return ExitVst3Module(); }

SMTG_EXPORT_SYMBOL Steinberg::IPluginFactory* PLUGIN_API GetPluginFactory() { return AcquireVst3ModuleFactory(); }

}  // extern "C"
