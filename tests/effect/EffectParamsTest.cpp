// Identity, parameters, ParamChanged actions, greying and state.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

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

// Controls of the editor layout, by index.
constexpr int kGainKnobControl = 8;
constexpr int kGroupGainSwitchControl = 19 + (kGroupGainLevel - kGroupFirstSwitch);

TEST(EffectParamChangedTest, AutoGainSwitchTurnsGroupGainOffAndGreys) {
  EffectHarness h;
  h.fx->ClearHostCalls();
  h.Set(kAutoGainOnOff, 1.0);
  EXPECT_TRUE(h.fx->AutoGainEnabled());
  EXPECT_EQ(h.Get(kGroupGainLevel), 0.0);
  // The switch and the host see it at once; the mask follows with the next
  // switch change.
  const auto notices = h.fx->HostCallsOf(IFxRecordingAdapter::HostCallKind::ParamChange);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].index, kGroupGainLevel);
  EXPECT_EQ(notices[0].value, 0.0);
  EXPECT_EQ(h.Control(kGroupGainSwitchControl)->GetValue(), 0.0);
  EXPECT_TRUE(h.fx->LinkMask()[kAutoGainLevel]);
  EXPECT_TRUE(h.Control(kGroupGainSwitchControl)->IsGreyed());
  EXPECT_TRUE(h.Control(kGainKnobControl)->IsGreyed());
  for (int c = 0; c < 2; ++c) {
    EXPECT_EQ(h.fx->AutoGain(c).LevelMemoryDb(), AutoGainMeter::kClearedLevelDb);
    EXPECT_EQ(h.fx->AutoGain(c).TargetGain(), 1.0);
  }

  h.Set(kAutoGainOnOff, 0.0);
  EXPECT_FALSE(h.fx->AutoGainEnabled());
  EXPECT_EQ(h.Get(kGroupGainLevel), 0.0);
  EXPECT_FALSE(h.Control(kGroupGainSwitchControl)->IsGreyed());
  EXPECT_FALSE(h.Control(kGainKnobControl)->IsGreyed());
  // The next switch change rebuilds the mask from the switches as they are.
  // Switch 16 + k governs parameter k, so "Group Gain Level" (24) is the
  // entry of parameter 8.
  h.Set(kGroupPan, 1.0);
  EXPECT_FALSE(h.fx->LinkMask()[kAutoGainLevel]);
  EXPECT_TRUE(h.fx->LinkMask()[kGainLevel]);
}

TEST(EffectParamChangedTest, LinkMaskIsRebuiltFromAllSwitches) {
  EffectHarness h;
  const auto& mask = h.fx->LinkMask();
  for (int p = 0; p < kNumParams; ++p) EXPECT_EQ(mask[p], p != kGroup) << p;
  // A switch changed without notice is picked up with the next switch change.
  h.fx->GetParam(kGroupPan)->SetValue(0.0);
  h.Set(kGroupDcBlock, 0.0);
  EXPECT_FALSE(mask[kDcBlock]);
  EXPECT_FALSE(mask[kPan]);
  EXPECT_TRUE(mask[kStereoWidth]);
  EXPECT_FALSE(mask[kGroup]);
  EXPECT_TRUE(mask[kGroupPan]);
}

TEST(EffectParamChangedTest, GroupSelectorJoinsAndLeaves) {
  EffectHarness h;
  GroupLink* link = h.fx->GetGroupLink();
  if (!link->IsLinked()) GTEST_SKIP() << "no shared segment in this environment";
  struct Case {
    double value;
    bool inGroup;
    int group;
  };
  for (const Case& c : {Case{3.0, true, 2}, Case{0.0, false, 0}, Case{16.0, true, 15},
                        Case{0.5, true, 0}, Case{0.0, false, 0}}) {
    h.Set(kGroup, c.value);
    EXPECT_EQ(link->InGroup(), c.inGroup) << c.value;
    if (c.inGroup) {
      EXPECT_EQ(link->Group(), c.group) << c.value;
    }
  }
}

TEST(EffectParamChangedTest, AResetKeepsAGroupChangeNotYetApplied) {
  EffectHarness a;
  EffectHarness b;
  if (!a.fx->GetGroupLink()->IsLinked()) GTEST_SKIP() << "no shared segment in this environment";
  a.Prepare(48000.0, 64);
  b.Prepare(48000.0, 64);
  a.Set(kGroup, 1.0);
  b.Set(kGroup, 1.0);
  a.Set(kGainLevel, -12.0);
  // A host sets b up again (a rate change, or a project reload) before b's
  // next block takes the change.
  b.fx->ChangeSampleRate(96000.0);
  b.fx->ResetProcessing();
  b.Process(effect_test::Constant(64, 0.0));
  a.Process(effect_test::Constant(64, 0.0));
  EXPECT_DOUBLE_EQ(b.Get(kGainLevel), -12.0);
  EXPECT_DOUBLE_EQ(a.Get(kGainLevel), -12.0);
}

TEST(EffectParamChangedTest, ActionsReachTheProcessingPieces) {
  EffectHarness h;
  h.Prepare(44100, 512);
  h.Set(kAutoGainMode, 1.0);
  h.Set(kAutoGainLevel, -12.0);
  for (int c = 0; c < 2; ++c) {
    EXPECT_EQ(h.fx->AutoGain(c).Mode(), 1.0);
    EXPECT_EQ(h.fx->AutoGain(c).ReferenceDb(), -12.0);
    EXPECT_EQ(h.fx->AutoGain(c).LevelMemoryDb(), AutoGainMeter::kRestartLevelDb);
  }
  h.Set(kRmsWindowSize, 300.0);
  for (int c = 0; c < 2; ++c) {
    EXPECT_EQ(h.fx->AutoGain(c).Window().Length(), 13230);
  }
  // Every change reaches the controls bound to the parameter.
  h.Set(kPan, 50.0);
  EXPECT_DOUBLE_EQ(h.Control(9)->GetValue(), 0.75);
  EXPECT_EQ(h.fx->Smoother(kPan).Target(), 50.0);
}

TEST(EffectParamChangedTest, ReleaseTimeFollowsTempo) {
  struct Case {
    double tempo;
    int sync;
    int ms;
  };
  const Case cases[] = {{120, 0, 1000}, {120, 1, 2000}, {120, 2, 4000}, {90, 0, 1333},
                        {90, 1, 2666},  {90, 2, 5333},  // truncated
                        {0, 1, 2000},   {-5, 2, 4000},  {NAN, 0, 1000},  // no tempo: 120 bpm
                        {1e-6, 2, 600000}, {1e9, 0, 1}};                  // held finite
  for (const Case& c : cases) {
    EXPECT_EQ(VelmarStratum::ReleaseTimeMs(c.tempo, c.sync), c.ms) << c.tempo << " " << c.sync;
  }
}

TEST(EffectParamChangedTest, BeforeTheFirstResetEveryNoticeIsSafe) {
  EffectHarness h;
  h.fx->NotifyAllParams(SourceReset);
  // Last tempo 0 gives the 120 bpm release; the rate is not known yet.
  EXPECT_EQ(h.fx->LastTempo(), 0.0);
  EXPECT_EQ(h.fx->Limiter(0).FastCoefficient(), 0.0);
  EXPECT_EQ(h.fx->Meter().HoldCounter(), 0);
  // A block before any reset: nothing crashes, output is finite.
  std::vector<double> in(64, 0.25);
  effect_test::Stereo out = h.Process(in);
  for (double x : out.left) EXPECT_TRUE(std::isfinite(x));
}

TEST(EffectParamChangedTest, TempoChangeSetsReleaseBeforeTheBlock) {
  EffectHarness h;
  h.Prepare(48000, 256);
  h.Set(kLimit, 1.0);
  h.fx->SetTempo(90.0);
  h.Process(effect_test::Constant(256, 0.1));
  EXPECT_EQ(h.fx->LastTempo(), 90.0);
  PeakLimiter expected;
  expected.SetSampleRate(48000);
  expected.SetRelease(2666);
  for (int c = 0; c < 2; ++c) {
    EXPECT_EQ(h.fx->Limiter(c).FastCoefficient(), expected.FastCoefficient());
    EXPECT_EQ(h.fx->Limiter(c).SlowCoefficient(), expected.SlowCoefficient());
  }
  // A new rate recomputes the coefficients for it.
  h.Prepare(96000, 256);
  expected.SetSampleRate(96000);
  expected.SetRelease(2666);
  EXPECT_EQ(h.fx->Limiter(0).SlowCoefficient(), expected.SlowCoefficient());
}

// --- State -----------------------------------------------------------------

std::vector<double> ParamValues(const VelmarStratum& fx) {
  std::vector<double> values;
  for (int p = 0; p < kNumParams; ++p) values.push_back(fx.GetParam(p)->Value());
  return values;
}

void SetSomeValues(EffectHarness& h) {
  const double values[kNumParams] = {1, 1, 2, 1, 0, 1, 0, -3.5, -20, 40, 150, 1, 1, 2,
                                     800, 0, 1, 0, 1, 1, 1, 0, 1, 1, 1, 0, 1, 1, 1, 0, 1};
  for (int p = 0; p < kNumParams; ++p) h.fx->GetParam(p)->SetValue(values[p]);
}

TEST(EffectStateTest, SaveWritesTheStateWordThenEveryValue) {
  EffectHarness h;
  SetSomeValues(h);
  StateChunk chunk;
  EXPECT_TRUE(h.fx->SaveState(chunk));
  ASSERT_EQ(chunk.Size(), 252);
  int32_t word = -1;
  EXPECT_EQ(chunk.GetInt32(&word, 0), 4);
  EXPECT_EQ(word, 0);
  for (int p = 0; p < kNumParams; ++p) {
    double v = 0.0;
    chunk.GetDouble(&v, 4 + 8 * p);
    EXPECT_EQ(v, h.Get(p)) << p;
  }
  // Little-endian on every machine: "Gain Level" -3.5 is 0xC00C000000000000.
  EXPECT_EQ(chunk.Data()[4 + 8 * kGainLevel + 7], 0xC0);
  EXPECT_EQ(chunk.Data()[4 + 8 * kGainLevel + 6], 0x0C);
}

TEST(EffectStateTest, LoadWhileIdleRestoresEverythingAndNotifies) {
  EffectHarness a;
  SetSomeValues(a);
  StateChunk chunk;
  chunk.PutUInt32(0xA1B2C3D4u);
  a.fx->SerializeParams(chunk);

  EffectHarness b;
  EXPECT_EQ(b.fx->LoadState(chunk, 0), 252);
  EXPECT_EQ(ParamValues(*b.fx), ParamValues(*a.fx));
  EXPECT_EQ(b.fx->StateWord(), 0xA1B2C3D4u);
  // Notified: the smoother targets and the pan knob follow the loaded values.
  EXPECT_EQ(b.fx->Smoother(kPan).Target(), 40.0);
  EXPECT_DOUBLE_EQ(b.Control(9)->GetValue(), 0.7);
  EXPECT_TRUE(b.fx->AutoGain(0).Mode() == 1.0);

  StateChunk again;
  b.fx->SaveState(again);
  EXPECT_EQ(again, chunk);
}

TEST(EffectStateTest, ShortAndTruncatedChunks) {
  EffectHarness a;
  SetSomeValues(a);
  StateChunk full;
  a.fx->SaveState(full);

  {  // Shorter than the state word: nothing read, every parameter notified.
    EffectHarness b;
    b.fx->GetParam(kPan)->SetValue(-30.0);
    StateChunk tiny;
    tiny.PutByte(1);
    EXPECT_EQ(b.fx->LoadState(tiny, 0), -1);
    EXPECT_EQ(b.Get(kPan), -30.0);
    EXPECT_EQ(b.fx->Smoother(kPan).Target(), -30.0);
  }
  {  // 100 bytes: the word and parameters 0..11, 12 reads as 0, 13.. unchanged.
    EffectHarness b;
    StateChunk part;
    part.PutBytes(full.Data(), 100);
    EXPECT_EQ(b.fx->LoadState(part, 0), -1);
    for (int p = 0; p < 12; ++p) EXPECT_EQ(b.Get(p), a.Get(p)) << p;
    EXPECT_EQ(b.Get(kLimit), 0.0);
    EXPECT_EQ(b.Get(kLimiterReleaseSync), 1.0);
    EXPECT_EQ(b.Get(kRmsWindowSize), 600.0);
  }
  {  // Out-of-range values are clamped; a negative start reads nothing.
    EffectHarness b;
    StateChunk wild;
    wild.PutUInt32(7);
    for (int p = 0; p < kNumParams; ++p) wild.PutDouble(p == kGainLevel ? 1000.0 : -1000.0);
    EXPECT_EQ(b.fx->LoadState(wild, 0), 252);
    EXPECT_EQ(b.Get(kGainLevel), 60.0);
    EXPECT_EQ(b.Get(kRmsWindowSize), 100.0);
    EXPECT_EQ(b.fx->LoadState(wild, -4), -1);
  }
}

TEST(EffectStateTest, OwnLoaderKeepsGroupAndUnlinkedParameters) {
  EffectHarness a;
  SetSomeValues(a);
  a.fx->GetParam(kGroup)->SetValue(5.0);
  StateChunk chunk;
  a.fx->SerializeParams(chunk);

  EffectHarness b;
  b.fx->GetParam(kGroupPan)->SetValue(0.0);  // pan not linked
  b.fx->GetParam(kPan)->SetValue(-10.0);
  EXPECT_EQ(b.fx->UnserializeParams(chunk, 0), 248);
  EXPECT_EQ(b.Get(kPan), -10.0);
  EXPECT_EQ(b.Get(kGroup), 0.0);
  EXPECT_EQ(b.Get(kStereoWidth), 150.0);
  // The switches themselves are always restored (the loaded pan switch is 0,
  // so from now on pan stays independent too).
  EXPECT_EQ(b.Get(kGroupMute), 0.0);
  EXPECT_EQ(b.Get(kGroupPan), 0.0);
}

// An instance that loads a state while its group link applies shared values,
// as a host reacting to a notice would.
class LoadingDuringApply : public VelmarStratum {
 public:
  StateChunk stateToLoad;
  int loadResult = 0;
  bool loaded = false;
  std::vector<double> valuesAfterLoad;
  void ParamChanged(int paramIdx, ParamChangeSource source) override {
    VelmarStratum::ParamChanged(paramIdx, source);
    GroupLink* link = GetGroupLink();
    if (!loaded && link && link->Busy() == GroupLink::kApplying) {
      loaded = true;
      loadResult = LoadState(stateToLoad, 0);
      for (int p = 0; p < kNumParams; ++p) valuesAfterLoad.push_back(GetParam(p)->Value());
    }
  }
};

TEST(EffectStateTest, LoadWhileTheGroupLinkIsBusyRestoresPartially) {
  testsupport::UsePrivateSegmentNamespace();
  EffectHarness a;
  auto b = std::make_unique<LoadingDuringApply>();
  if (!a.fx->GetGroupLink()->IsLinked() || !b->GetGroupLink()->IsLinked()) {
    GTEST_SKIP() << "no shared segment in this environment";
  }
  // The saved state: every value different, group 9, pan switch on.
  EffectHarness source;
  SetSomeValues(source);
  source.fx->GetParam(kGroup)->SetValue(9.0);
  source.fx->GetParam(kGroupPan)->SetValue(1.0);
  source.fx->SaveState(b->stateToLoad);

  for (VelmarStratum* fx : {a.fx.get(), static_cast<VelmarStratum*>(b.get())}) {
    fx->ChangeSampleRate(48000);
    fx->ChangeBlockSize(64);
    fx->ResetProcessing();
  }
  b->GetParam(kGroupPan)->SetValue(0.0);  // b's pan does not follow the group
  b->GetParam(kPan)->SetValue(-77.0);
  b->GetParam(kGroup)->SetValue(4.0);
  b->ParamChanged(kGroup, SourceHost);
  a.Set(kGroup, 4.0);
  a.Set(kGainLevel, 3.0);  // publishes; b is pending

  std::vector<double> zeros(64, 0.0);
  double* in[2] = {zeros.data(), zeros.data()};
  std::vector<double> l(64), r(64);
  double* out[2] = {l.data(), r.data()};
  b->ProcessAudio(in, out, 64);
  ASSERT_TRUE(b->loaded);
  EXPECT_EQ(b->loadResult, 252);
  // Right after the load: the group and the unlinked pan kept, the rest loaded.
  EXPECT_EQ(b->valuesAfterLoad[kGroup], 4.0);
  EXPECT_EQ(b->valuesAfterLoad[kPan], -77.0);
  EXPECT_EQ(b->valuesAfterLoad[kStereoWidth], 150.0);
  EXPECT_EQ(b->valuesAfterLoad[kMute], 1.0);
  EXPECT_EQ(b->valuesAfterLoad[kGroupPan], 1.0);
  // The apply then goes on past the parameter that triggered the load, and
  // the group's row wins for the shared values after it.
  EXPECT_EQ(b->GetParam(kStereoWidth)->Value(), 100.0);
}

}  // namespace
