#pragma once

#include "adapters/vst3/Vst3ModuleDescription.h"

class IFxVST3;

// What a VST3 module built on this adapter provides, once per module: the
// description of its one class (kVst3ModuleDescription, see
// Vst3ModuleDescription.h) and this factory hook. The shipping module
// defines both in its deliverable folder (deliverables/vst3-linux), test
// modules in their own sources; the adapter only calls them.

// A new effect instance, as its adapter. The module's creation lock is held
// around the call; the caller owns the instance.
IFxVST3* MakeEffectInstance();
