// The factory hook of the VST2 adapter (adapters/vst2/Vst2ModuleHooks.h):
// the effect, compiled on IFxVST.

#include "adapters/vst2/Vst2ModuleHooks.h"
#include "effect/VelmarStratum.h"

IFxVST* MakeEffectInstance() { return new VelmarStratum(); }
