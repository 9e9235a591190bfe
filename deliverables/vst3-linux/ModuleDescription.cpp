// What the VelmarStratum bundle tells hosts before any instance exists.

#include "adapters/vst3/Vst3ModuleDescription.h"
#include "effect/EffectIdentity.h"

const Vst3ModuleDescription kVst3ModuleDescription = {
    effect_identity::kMakerName,
    effect_identity::kMakerUrl,
    effect_identity::kMakerEmail,
    effect_identity::kEffectName,
    effect_identity::kMakerCode,
    effect_identity::kUniqueCode,
    effect_identity::kVersion,
    "Fx|Tools",
};
