#include "effect/EffectParameterTable.h"

#include <cstdio>

#include "core/IFxBase.h"
#include "core/IFxParam.h"

// The rule below pairs switch kGroupFirstSwitch + k with parameter k.
static_assert(kNumGroupSwitches == kGroup, "one group switch for each parameter before the selector");
static_assert(kGroupFirstSwitch + kNumGroupSwitches == kNumParams, "the switches end the table");

void SetUpEffectParameters(IFxBase& plugin) {
  plugin.GetParam(kDcBlock)->SetupBool("DC Block", false);
  plugin.GetParam(kMute)->SetupBool("Mute", false);
  IFxParam* selector = plugin.GetParam(kChannelSelector);
  selector->SetupEnum("Channel Selector", 0, 4);
  selector->AddNamedValue(0, "LR");
  selector->AddNamedValue(1, "L");
  selector->AddNamedValue(2, "R");
  selector->AddNamedValue(3, "RL");
  plugin.GetParam(kPhaseRevL)->SetupBool("Phase Rev. L", false);
  plugin.GetParam(kPhaseRevR)->SetupBool("Phase Rev. R", false);
  IFxParam* mode = plugin.GetParam(kAutoGainMode);
  mode->SetupEnum("Auto Gain Mode", 0, 2);
  mode->AddNamedValue(0, "Peak");
  mode->AddNamedValue(1, "RMS");
  plugin.GetParam(kAutoGainOnOff)->SetupBool("Auto Gain On/Off", false);
  plugin.GetParam(kGainLevel)->SetupDouble("Gain Level", 0.0, -60.0, 60.0, 0.1, "dB");
  plugin.GetParam(kAutoGainLevel)->SetupDouble("Auto Gain Level", -6.0, -60.0, 0.0, 1.0, "dB");
  plugin.GetParam(kPan)->SetupDouble("Pan", 0.0, -100.0, 100.0, 1.0, "");
  plugin.GetParam(kStereoWidth)->SetupDouble("Stereo Width", 100.0, 0.0, 200.0, 1.0, "%");
  plugin.GetParam(kClip)->SetupBool("Clip", false);
  plugin.GetParam(kLimit)->SetupBool("Limit", false);
  IFxParam* release = plugin.GetParam(kLimiterReleaseSync);
  release->SetupEnum("Limiter release sync", 1, 3);
  release->AddNamedValue(0, "1/2 Bar");
  release->AddNamedValue(1, "1 Bar");
  release->AddNamedValue(2, "2 Bars");
  plugin.GetParam(kRmsWindowSize)->SetupDouble("RMS wind. size", 600.0, 100.0, 1000.0, 100.0, "ms");
  IFxParam* group = plugin.GetParam(kGroup);
  group->SetupEnum("Group", 0, 17);
  group->AddNamedValue(0, "No group");
  for (int g = 1; g <= 16; ++g) {
    char name[IFxParam::kTextSize];
    std::snprintf(name, sizeof(name), "Group %d", g);
    group->AddNamedValue(g, name);
  }
  static const char* const kSwitchNames[kNumGroupSwitches] = {
      "Group DC Block",         "Group Mute",         "Group Chan. Sel.",
      "Group Phase Rev. L",     "Group Phase Rev. R", "Group Auto Gain Mode",
      "Group Auto Gain on/off", "Group Auto Gain Ref.", "Group Gain Level",
      "Group Pan",              "Group Stereo Width", "Group Clip on/off",
      "Group Limit on/off",     "Group Limit release time", "Group RMS wind. size"};
  for (int k = 0; k < kNumGroupSwitches; ++k) {
    plugin.GetParam(kGroupFirstSwitch + k)->SetupBool(kSwitchNames[k], true);
  }
}

bool IsGroupSwitch(int paramIdx) {
  return paramIdx >= kGroupFirstSwitch && paramIdx < kGroupFirstSwitch + kNumGroupSwitches;
}

std::array<bool, kNumParams> EffectLinkMask(const IFxBase& plugin) {
  std::array<bool, kNumParams> mask{};
  for (int k = 0; k < kNumGroupSwitches; ++k) {
    const IFxParam* groupSwitch = plugin.GetParam(kGroupFirstSwitch + k);
    mask[k] = groupSwitch != nullptr && groupSwitch->IsOn();
    mask[kGroupFirstSwitch + k] = true;
  }
  mask[kGroup] = false;
  return mask;
}
