#include "effect/MakeEffectInstance.h"

#include "effect/VelmarStratum.h"

STRATUM_ADAPTER_CLASS* MakeEffectInstance() { return new VelmarStratum(); }
