// Identity, parameters, ParamChanged actions, greying and state.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "effect/MakeEffectInstance.h"
#include "effect/layout/IReadOutControl.h"
#include "grouplink/GroupLink.h"
#include "tests/effect/EffectHarness.h"

namespace {

using effect_test::EffectHarness;

TEST(EffectIdentityTest, IdentityAndNewInstanceDefaults) {
  EffectHarness h;
  VelmarStratum& fx = *h.fx;
  EXPECT_STREQ(fx.GetEffectName(), "VelmarStratum");
  EXPECT_STREQ(fx.GetProductName(), "");
  EXPECT_STREQ(fx.GetMakerName(), "Velmar");
  EXPECT_EQ(fx.EffectVersion(false), 0x20003);
  EXPECT_EQ(fx.GetUniqueCode(), 0x5374526Du);
  EXPECT_EQ(fx.GetMakerCode(), 0x566C4D72u);
  EXPECT_EQ(fx.GetLatency(), 0);
  EXPECT_TRUE(fx.DoesMidi());
  EXPECT_TRUE(fx.DoesStateChunks());
  EXPECT_FALSE(fx.IsInstrument());
  EXPECT_TRUE(fx.LegalIO(1, 1));
  EXPECT_TRUE(fx.LegalIO(2, 2));
  EXPECT_FALSE(fx.LegalIO(1, 2));
  ASSERT_EQ(fx.NumParams(), kNumParams);
  EXPECT_EQ(fx.NumPresets(), 1);
  EXPECT_STREQ(fx.PresetName(0), "-");
  EXPECT_FALSE(fx.AutoGainEnabled());
  EXPECT_EQ(fx.StateWord(), 0u);
  EXPECT_NE(fx.GetGroupLink(), nullptr);
  EXPECT_NE(fx.Graphics(), nullptr);
  EXPECT_EQ(fx.GetEditor(), fx.Graphics());
}

TEST(EffectIdentityTest, ParameterTable) {
  EffectHarness h;
  struct Row {
    int index;
    const char* name;
    ParamKind kind;
    double min, max, def, step;
    const char* label;
    int namedValues;
  };
  const Row rows[] = {
      {kDcBlock, "DC Block", ParamKindBool, 0, 1, 0, 0.1, "", 2},
      {kMute, "Mute", ParamKindBool, 0, 1, 0, 0.1, "", 2},
      {kChannelSelector, "Channel Selector", ParamKindEnum, 0, 3, 0, 0.1, "", 4},
      {kPhaseRevL, "Phase Rev. L", ParamKindBool, 0, 1, 0, 0.1, "", 2},
      {kPhaseRevR, "Phase Rev. R", ParamKindBool, 0, 1, 0, 0.1, "", 2},
      {kAutoGainMode, "Auto Gain Mode", ParamKindEnum, 0, 1, 0, 0.1, "", 2},
      {kAutoGainOnOff, "Auto Gain On/Off", ParamKindBool, 0, 1, 0, 0.1, "", 2},
      {kGainLevel, "Gain Level", ParamKindDouble, -60, 60, 0, 0.1, "dB", 0},
      {kAutoGainLevel, "Auto Gain Level", ParamKindDouble, -60, 0, -6, 1, "dB", 0},
      {kPan, "Pan", ParamKindDouble, -100, 100, 0, 1, "", 0},
      {kStereoWidth, "Stereo Width", ParamKindDouble, 0, 200, 100, 1, "%", 0},
      {kClip, "Clip", ParamKindBool, 0, 1, 0, 0.1, "", 2},
      {kLimit, "Limit", ParamKindBool, 0, 1, 0, 0.1, "", 2},
      {kLimiterReleaseSync, "Limiter release sync", ParamKindEnum, 0, 2, 1, 0.1, "", 3},
      {kRmsWindowSize, "RMS wind. size", ParamKindDouble, 100, 1000, 600, 100, "ms", 0},
      {kGroup, "Group", ParamKindEnum, 0, 16, 0, 0.1, "", 17},
      {kGroupDcBlock, "Group DC Block", ParamKindBool, 0, 1, 1, 0.1, "", 2},
      {kGroupChannelSelector, "Group Chan. Sel.", ParamKindBool, 0, 1, 1, 0.1, "", 2},
      {kGroupAutoGainOnOff, "Group Auto Gain on/off", ParamKindBool, 0, 1, 1, 0.1, "", 2},
      {kGroupAutoGainLevel, "Group Auto Gain Ref.", ParamKindBool, 0, 1, 1, 0.1, "", 2},
      {kGroupLimiterReleaseSync, "Group Limit release time", ParamKindBool, 0, 1, 1, 0.1, "", 2},
      {kGroupRmsWindowSize, "Group RMS wind. size", ParamKindBool, 0, 1, 1, 0.1, "", 2},
  };
  for (const Row& r : rows) {
    const IFxParam* p = h.fx->GetParam(r.index);
    SCOPED_TRACE(r.name);
    EXPECT_STREQ(p->Name(), r.name);
    EXPECT_EQ(p->Kind(), r.kind);
    EXPECT_EQ(p->Min(), r.min);
    EXPECT_EQ(p->Max(), r.max);
    EXPECT_EQ(p->Default(), r.def);
    EXPECT_EQ(p->Value(), r.def);
    EXPECT_EQ(p->Step(), r.step);
    EXPECT_EQ(p->Shape(), 1.0);
    EXPECT_STREQ(p->Label(), r.label);
    EXPECT_STREQ(p->Category(), "");
    EXPECT_EQ(p->NamedValueCount(), r.namedValues);
  }
  for (int k = 0; k < kNumGroupSwitches; ++k) {
    EXPECT_EQ(h.Get(kGroupFirstSwitch + k), 1.0) << k;
  }
  const IFxParam* group = h.fx->GetParam(kGroup);
  EXPECT_STREQ(group->NamedValueText(0), "No group");
  EXPECT_STREQ(group->NamedValueText(16), "Group 16");
  EXPECT_STREQ(h.fx->GetParam(kLimiterReleaseSync)->NamedValueText(0), "1/2 Bar");
  EXPECT_STREQ(h.fx->GetParam(kChannelSelector)->NamedValueText(3), "RL");
}

TEST(EffectIdentityTest, MakeEffectInstanceBuildsTheEffect) {
  effect_test::UsePrivateSegmentDirectory();
  std::unique_ptr<IFxRecordingAdapter> instance(MakeEffectInstance());
  ASSERT_NE(dynamic_cast<VelmarStratum*>(instance.get()), nullptr);
  EXPECT_EQ(instance->NumParams(), kNumParams);
}

}  // namespace
