// The factory hook of the VST3 adapter (adapters/vst3/Vst3ModuleHooks.h):
// the effect, compiled on IFxVST3.

#include "adapters/vst3/Vst3ModuleHooks.h"
#include "effect/VelmarStratum.h"

IFxVST3* MakeEffectInstance() { return new VelmarStratum(); }
