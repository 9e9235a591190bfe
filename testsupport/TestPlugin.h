#pragma once

#include <array>
#include <functional>
#include <vector>

#include "effect/ParamIds.h"
#include "testsupport/IFxRecordingAdapter.h"

// A stand-in for the effect, for tests of the framework and of the group
// link before the real effect exists: the effect's identity and its 31
// parameters exactly as the effect sets them up, its default preset "-", its
// link mask, and a recording of every ParamChanged call. Processing is the
// base's pass-through.
class TestPlugin : public IFxRecordingAdapter {
 public:
  struct ParamChange {
    int index;
    ParamChangeSource source;
  };
  using ParamChangedHook = std::function<void(int paramIdx, ParamChangeSource source)>;

  // The effect has one preset; tests of banks may ask for more.
  explicit TestPlugin(HostFormat hostFormat = HostFormatVst3, int numPresets = 1);

  // Records the change under the instance lock, then calls the hook (for
  // example a group link's PublishShared).
  void ParamChanged(int paramIdx, ParamChangeSource source) override;

  void SetParamChangedHook(ParamChangedHook hook) { mHook = std::move(hook); }
  const std::vector<ParamChange>& ParamChanges() const { return mParamChanges; }
  void ClearParamChanges() { mParamChanges.clear(); }

  // Entry k (0..14) is on when group switch kGroupFirstSwitch + k is on;
  // entry kGroup is off; the switches themselves are always on.
  std::array<bool, kNumParams> LinkMask() const;

  // The effect's identity.
  static constexpr int kVersion = 0x20003;
  static constexpr uint32_t kUniqueCode = 0x5374526D;  // 'StRm'
  static constexpr uint32_t kMakerCode = 0x566C4D72;   // 'VlMr'

 private:
  void SetUpParams();

  ParamChangedHook mHook;
  std::vector<ParamChange> mParamChanges;
};
