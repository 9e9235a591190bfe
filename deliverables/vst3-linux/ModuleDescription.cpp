// What the VelmarStratum bundle tells hosts before any instance exists.

#include "adapters/vst3/Vst3ModuleDescription.h"
#include "effect/VelmarStratum.h"

const Vst3ModuleDescription kVst3ModuleDescription = {
    VelmarStratum::kMakerName,
    "https://velmar.example/stratum",
    "support@velmar.example",
    VelmarStratum::kEffectName,
    VelmarStratum::kMakerCode,
    VelmarStratum::kUniqueCode,
    VelmarStratum::kVersion,
    "Fx|Tools",
};
