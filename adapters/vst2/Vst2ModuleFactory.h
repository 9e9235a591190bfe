#pragma once

#include "adapters/vst2/Vst2Interface.h"

// The module-wide side of a VST2 module, whatever its platform's entry point
// names: a deliverable's exported VSTPluginMain and main only forward here.
// Records the module's handle, then under the process-wide creation lock
// makes an instance through the factory hook (Vst2ModuleHooks.h), hands it
// the host callback and fills its free presets. Answers the instance's
// record, or null when no instance could be made.
AEffect* CreateVst2Instance(audioMasterCallback hostCallback);
