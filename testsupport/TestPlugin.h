#pragma once

#include <array>
#include <functional>
#include <vector>

#include "effect/EffectIdentity.h"
#include "effect/ParamIds.h"
#include "testsupport/IFxRecordingAdapter.h"

// A stand-in for the effect, for tests of the framework and of the group
// link without the effect's processing and editor: the effect's identity and
// parameter table (effect/EffectIdentity.h, effect/EffectParameterTable.h),
// its default preset "-", its link mask, and a recording of every
// ParamChanged call. Processing is the base's pass-through.
class TestPlugin : public IFxRecordingAdapter {
 public:
  struct ParamChange {
    int index;
    ParamChangeSource source;
  };
  using ParamChangedHook = std::function<void(int paramIdx, ParamChangeSource source)>;

  // The effect has one preset; tests of banks may ask for more.
  explicit TestPlugin(HostFormat hostFormat = HostFormatVst3,
                      int numPresets = effect_identity::kNumPresets);

  // Records the change under the instance lock, then calls the hook (for
  // example a group link's PublishShared).
  void ParamChanged(int paramIdx, ParamChangeSource source) override;

  void SetParamChangedHook(ParamChangedHook hook) { mHook = std::move(hook); }
  const std::vector<ParamChange>& ParamChanges() const { return mParamChanges; }
  void ClearParamChanges() { mParamChanges.clear(); }

  // The effect's link mask for the current switches (EffectLinkMask).
  std::array<bool, kNumParams> LinkMask() const;

 private:
  ParamChangedHook mHook;
  std::vector<ParamChange> mParamChanges;
};
