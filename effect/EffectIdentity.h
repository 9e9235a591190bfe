#pragma once

#include <cstdint>

// Who the effect is: what its adapters hand to the plug-in base, what every
// module description tells hosts before an instance exists, and what the
// test stand-in copies. Kept in one place so no format can drift from another.
namespace effect_identity {

constexpr const char* kEffectName = "VelmarStratum";
constexpr const char* kProductName = "";
constexpr const char* kMakerName = "Velmar";
constexpr const char* kMakerUrl = "https://velmar.example/stratum";
constexpr const char* kMakerEmail = "support@velmar.example";
constexpr int kVersion = 0x20003;             // major << 16 | minor << 8 | patch
constexpr uint32_t kUniqueCode = 0x5374526D;  // 'StRm'
constexpr uint32_t kMakerCode = 0x566C4D72;   // 'VlMr'

// The constructor arguments of IFxBase and every adapter, besides the
// parameter count (kNumParams in effect/ParamIds.h).
constexpr const char* kChannelIO = "1-1 2-2";
constexpr int kNumPresets = 1;
constexpr const char* kDefaultPresetName = "-";
constexpr int kLatency = 0;
constexpr bool kDoesMidi = true;
constexpr bool kDoesChunks = true;
constexpr bool kIsInstrument = false;
constexpr int kSideChainChannels = 0;

}  // namespace effect_identity
