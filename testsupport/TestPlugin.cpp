#include "testsupport/TestPlugin.h"

#include "effect/EffectIdentity.h"
#include "effect/EffectParameterTable.h"

using namespace effect_identity;

TestPlugin::TestPlugin(HostFormat hostFormat, int numPresets)
    : IFxRecordingAdapter(kNumParams, kChannelIO, numPresets, kEffectName, kProductName, kMakerName,
                          kVersion, kUniqueCode, kMakerCode, kLatency, kDoesMidi, kDoesChunks,
                          kIsInstrument, kSideChainChannels, hostFormat) {
  SetUpEffectParameters(*this);
  CreateDefaultPresets(kDefaultPresetName, 1);
}

void TestPlugin::ParamChanged(int paramIdx, ParamChangeSource source) {
  platform::LockGuard guard(GetLock());
  mParamChanges.push_back(ParamChange{paramIdx, source});
  if (mHook) mHook(paramIdx, source);
}

std::array<bool, kNumParams> TestPlugin::LinkMask() const { return EffectLinkMask(*this); }
