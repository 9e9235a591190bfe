// The factory hook of the VST3 adapter (adapters/vst3/Vst3EffectFactory.h):
// the effect, compiled on IFxVST3.

#include "adapters/vst3/Vst3EffectFactory.h"
#include "effect/VelmarStratum.h"

IFxVST3* MakeEffectInstance() { return new VelmarStratum(); }
