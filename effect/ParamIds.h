#pragma once

// The effect's parameter indices: the host's parameter IDs, the order of the
// saved state and the keys of the group link.
enum VelmarStratumParam {
  kDcBlock = 0,
  kMute = 1,
  kChannelSelector = 2,
  kPhaseRevL = 3,
  kPhaseRevR = 4,
  kAutoGainMode = 5,
  kAutoGainOnOff = 6,
  kGainLevel = 7,
  kAutoGainLevel = 8,
  kPan = 9,
  kStereoWidth = 10,
  kClip = 11,
  kLimit = 12,
  kLimiterReleaseSync = 13,
  kRmsWindowSize = 14,
  kGroup = 15,
  // Group switch kGroupFirstSwitch + k decides whether parameter k follows the group.
  kGroupDcBlock = 16,
  kGroupMute = 17,
  kGroupChannelSelector = 18,
  kGroupPhaseRevL = 19,
  kGroupPhaseRevR = 20,
  kGroupAutoGainMode = 21,
  kGroupAutoGainOnOff = 22,
  kGroupAutoGainLevel = 23,
  kGroupGainLevel = 24,
  kGroupPan = 25,
  kGroupStereoWidth = 26,
  kGroupClip = 27,
  kGroupLimit = 28,
  kGroupLimiterReleaseSync = 29,
  kGroupRmsWindowSize = 30,

  kNumParams = 31,
  kGroupFirstSwitch = kGroupDcBlock,
  kNumGroupSwitches = 15,
};
