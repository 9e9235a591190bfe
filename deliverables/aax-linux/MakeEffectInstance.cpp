// The factory hook of the AAX adapter (adapters/aax/AaxModuleHooks.h): the
// effect, compiled on IFxAAX.

#include "adapters/aax/AaxModuleHooks.h"
#include "effect/VelmarStratum.h"

IFxAAX* MakeEffectInstance() { return new VelmarStratum(); }
