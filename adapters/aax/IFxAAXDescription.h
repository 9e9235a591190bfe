#pragma once

#include <cstdint>

#include "adapters/aax/IFxAAXSetup.h"
#include "adapters/aax/support/AAX.h"

class AAX_ICollection;
class AAX_IEffectDescriptor;

// Who the effect is, as a module's GetEffectDescriptions hands it over.
struct IFxAAXEffectIdentity {
  const char* effectNames = "";        // one name per line
  const char* manufacturerNames = "";  // one name per line
  const char* effectID = "";           // "com.<maker>.aax.<effect>"
  const char* channelIO = "";          // "1-1 2-2"
  uint32_t version = 0;
  AAX_CTypeID productID = AAX_TypeIDNone;
  AAX_CTypeID manufacturerID = AAX_TypeIDNone;
  bool doesMidi = false;
  int latency = 0;
};

// Configuration n (from 0) of the channel I/O description has the native ID
// 'EFN1' + n and the AudioSuite ID 'EFA1' + n.
AAX_CTypeID IFxAAXNativePlugInID(int configuration);
AAX_CTypeID IFxAAXAudioSuitePlugInID(int configuration);

// Describes the effect into the collection: names, package names, one
// component per channel configuration, the creation procedures, the effect
// under its ID, the manufacturer and the package version. Answers the OR of
// every result (-20004 alone when no descriptor can be had).
AAX_Result DescribeIFxEffect(AAX_ICollection* collection, const IFxAAXEffectIdentity& identity);

// One configuration's component: its render context fields, its properties
// and the render callback.
AAX_Result DescribeIFxConfiguration(AAX_IEffectDescriptor* effect, const IFxAAXSetup& setup);
