#include "testsupport/TestPlugin.h"

#include <cstdio>

TestPlugin::TestPlugin(HostFormat hostFormat, int numPresets)
    : IFxRecordingAdapter(kNumParams, "1-1 2-2", numPresets, "VelmarStratum", "", "Velmar", kVersion,
                          kUniqueCode, kMakerCode, 0, true, true, false, 0, hostFormat) {
  SetUpParams();
  CreateDefaultPresets("-", 1);
}

void TestPlugin::SetUpParams() {
  GetParam(kDcBlock)->SetupBool("DC Block", false);
  GetParam(kMute)->SetupBool("Mute", false);

  IFxParam* selector = GetParam(kChannelSelector);
  selector->SetupEnum("Channel Selector", 0, 4);
  selector->AddNamedValue(0, "LR");
  selector->AddNamedValue(1, "L");
  selector->AddNamedValue(2, "R");
  selector->AddNamedValue(3, "RL");

  GetParam(kPhaseRevL)->SetupBool("Phase Rev. L", false);
  GetParam(kPhaseRevR)->SetupBool("Phase Rev. R", false);

  IFxParam* mode = GetParam(kAutoGainMode);
  mode->SetupEnum("Auto Gain Mode", 0, 2);
  mode->AddNamedValue(0, "Peak");
  mode->AddNamedValue(1, "RMS");

  GetParam(kAutoGainOnOff)->SetupBool("Auto Gain On/Off", false);
  GetParam(kGainLevel)->SetupDouble("Gain Level", 0.0, -60.0, 60.0, 0.1, "dB");
  GetParam(kAutoGainLevel)->SetupDouble("Auto Gain Level", -6.0, -60.0, 0.0, 1.0, "dB");
  GetParam(kPan)->SetupDouble("Pan", 0.0, -100.0, 100.0, 1.0, "");
  GetParam(kStereoWidth)->SetupDouble("Stereo Width", 100.0, 0.0, 200.0, 1.0, "%");
  GetParam(kClip)->SetupBool("Clip", false);
  GetParam(kLimit)->SetupBool("Limit", false);

  IFxParam* release = GetParam(kLimiterReleaseSync);
  release->SetupEnum("Limiter release sync", 1, 3);
  release->AddNamedValue(0, "1/2 Bar");
  release->AddNamedValue(1, "1 Bar");
  release->AddNamedValue(2, "2 Bars");

  GetParam(kRmsWindowSize)->SetupDouble("RMS wind. size", 600.0, 100.0, 1000.0, 100.0, "ms");

  IFxParam* group = GetParam(kGroup);
  group->SetupEnum("Group", 0, 17);
  group->AddNamedValue(0, "No group");
  for (int g = 1; g <= 16; ++g) {
    char text[IFxParam::kTextSize];
    snprintf(text, sizeof(text), "Group %d", g);
    group->AddNamedValue(g, text);
  }

  const char* const switchNames[kNumGroupSwitches] = {
      "Group DC Block",       "Group Mute",          "Group Chan. Sel.",
      "Group Phase Rev. L",   "Group Phase Rev. R",  "Group Auto Gain Mode",
      "Group Auto Gain on/off", "Group Auto Gain Ref.", "Group Gain Level",
      "Group Pan",            "Group Stereo Width",  "Group Clip on/off",
      "Group Limit on/off",   "Group Limit release time", "Group RMS wind. size",
  };
  for (int k = 0; k < kNumGroupSwitches; ++k) {
    GetParam(kGroupFirstSwitch + k)->SetupBool(switchNames[k], true);
  }
}

void TestPlugin::ParamChanged(int paramIdx, ParamChangeSource source) {
  platform::LockGuard guard(GetLock());
  mParamChanges.push_back(ParamChange{paramIdx, source});
  if (mHook) mHook(paramIdx, source);
}

std::array<bool, kNumParams> TestPlugin::LinkMask() const {
  std::array<bool, kNumParams> mask{};
  for (int k = 0; k < kNumGroupSwitches; ++k) {
    mask[k] = GetParam(kGroupFirstSwitch + k)->IsOn();
    mask[kGroupFirstSwitch + k] = true;
  }
  mask[kGroup] = false;
  return mask;
}
