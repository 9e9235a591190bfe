#pragma once

#include "pluginterfaces/base/ipluginbase.h"

// The module-wide side of a VST3 module, whatever its platform's entry point
// names: the entry count, the one class factory made from the module's
// description, and the creation lock around the factory hook (see
// Vst3ModuleHooks.h). A deliverable's entry points (ModuleEntry/ModuleExit on
// Linux, InitDll/ExitDll on Windows, GetPluginFactory) only forward here.

// The host enters the module; the first entry records the module's handle.
bool EnterVst3Module(void* moduleHandle);
// The host leaves the module; the last exit forgets the handle.
bool ExitVst3Module();
// The module's factory, made on first use; every call hands the host one
// reference.
Steinberg::IPluginFactory* AcquireVst3ModuleFactory();
