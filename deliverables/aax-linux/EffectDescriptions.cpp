// The module's description for AAX hosts (the support library's
// GetEffectDescriptions hook), from the effect's identity constants.

#include <string>

#include "adapters/aax/IFxAAXDescription.h"
#include "adapters/aax/support/AAX_Exports.h"
#include "effect/EffectIdentity.h"

AAX_Result GetEffectDescriptions(AAX_ICollection* collection) {
  using namespace effect_identity;
  const std::string effectNames = std::string(kEffectName) + "\n";
  const std::string makerNames = std::string(kMakerName) + "\n";
  const std::string effectID = std::string("com.") + kMakerName + ".aax." + kEffectName;
  IFxAAXEffectIdentity identity;
  identity.effectNames = effectNames.c_str();
  identity.manufacturerNames = makerNames.c_str();
  identity.effectID = effectID.c_str();
  identity.channelIO = kChannelIO;
  identity.version = kVersion;
  identity.productID = kUniqueCode;
  identity.manufacturerID = kMakerCode;
  identity.doesMidi = kDoesMidi;
  identity.latency = kLatency;
  return DescribeIFxEffect(collection, identity);
}
