// The shipping VelmarStratum bundle, loaded the way a host loads it: its
// factory and class, its 161 host parameters, bypass, state streams, the
// editor view and the group values that reach the host from the audio thread.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "tests/adapters/vst3/HostedPluginTest.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr ParamID kPresetId = 0x70727374;
constexpr ParamID kBypassId = 0x62706173;
constexpr int kEffectParams = 31;
constexpr ParamID kMute = 1;
constexpr ParamID kGainLevel = 7;
constexpr ParamID kGroup = 15;
// A group the other test suites leave alone (the segment is shared by every
// process of the session).
constexpr int kTestGroup = 13;

class VelmarStratumBundleTest : public HostedPluginTest {
 protected:
  void SetUp() override { Open(STRATUM_VST3_BUNDLE_MODULE); }

  // A stereo sine block.
  void MakeSineBlock(int frames) {
    in.assign(2, std::vector<float>(frames));
    out.assign(2, std::vector<float>(frames, 0.0f));
    for (int s = 0; s < frames; ++s) {
      in[0][s] = 0.5f * static_cast<float>(std::sin(0.05 * s));
      in[1][s] = 0.25f * static_cast<float>(std::cos(0.03 * s));
    }
  }
};

TEST_F(VelmarStratumBundleTest, FactoryAndClassIdentifyTheEffect) {
  PFactoryInfo factoryInfo;
  ASSERT_EQ(module->Factory()->getFactoryInfo(&factoryInfo), kResultOk);
  EXPECT_STREQ(factoryInfo.vendor, "Velmar");
  EXPECT_EQ(factoryInfo.flags, 16);

  FUnknownPtr<IPluginFactory2> factory(module->Factory());
  ASSERT_TRUE(factory);
  ASSERT_EQ(factory->countClasses(), 1);
  PClassInfo2 info;
  ASSERT_EQ(factory->getClassInfo2(0, &info), kResultOk);
  const unsigned char expectedId[16] = {0x0D, 0xE7, 0xAE, 0xF2, 0xDE, 0x00, 0x4E, 0x4F,
                                        'V',  'l',  'M',  'r',  'S',  't',  'R',  'm'};
  EXPECT_EQ(std::memcmp(info.cid, expectedId, 16), 0);
  EXPECT_EQ(info.cardinality, 0x7FFFFFFF);
  EXPECT_STREQ(info.category, "Audio Module Class");
  EXPECT_STREQ(info.name, "VelmarStratum");
  EXPECT_EQ(info.classFlags, 2u);
  EXPECT_STREQ(info.subCategories, "Fx|Tools");
  EXPECT_STREQ(info.version, "2.0.3");
  EXPECT_STREQ(info.sdkVersion, "VST 3.5.2");
}

TEST_F(VelmarStratumBundleTest, HostSeesPresetBypassEffectAndControllerParameters) {
  ASSERT_EQ(plugin->Controller()->getParameterCount(), 161);
  EXPECT_EQ(InfoAt(0).id, kPresetId);
  EXPECT_EQ(InfoAt(1).id, kBypassId);
  EXPECT_EQ(InfoAt(1).flags, 0x10009);

  struct Expected {
    const char* title;
    const char* units;
    int32 stepCount;  // 0 for continuous parameters
  };
  const Expected effect[kEffectParams] = {
      {"DC Block", "", 1},          {"Mute", "", 1},
      {"Channel Selector", "", 3},  {"Phase Rev. L", "", 1},
      {"Phase Rev. R", "", 1},      {"Auto Gain Mode", "", 1},
      {"Auto Gain On/Off", "", 1},  {"Gain Level", "dB", 0},
      {"Auto Gain Level", "dB", 0}, {"Pan", "", 0},
      {"Stereo Width", "%", 0},     {"Clip", "", 1},
      {"Limit", "", 1},             {"Limiter release sync", "", 2},
      {"RMS wind. size", "ms", 0},  {"Group", "", 16},
      {"Group DC Block", "", 1},    {"Group Mute", "", 1},
      {"Group Chan. Sel.", "", 1},  {"Group Phase Rev. L", "", 1},
      {"Group Phase Rev. R", "", 1}, {"Group Auto Gain Mode", "", 1},
      {"Group Auto Gain on/off", "", 1}, {"Group Auto Gain Ref.", "", 1},
      {"Group Gain Level", "", 1},  {"Group Pan", "", 1},
      {"Group Stereo Width", "", 1}, {"Group Clip on/off", "", 1},
      {"Group Limit on/off", "", 1}, {"Group Limit release time", "", 1},
      {"Group RMS wind. size", "", 1},
  };
  for (int i = 0; i < kEffectParams; ++i) {
    const ParameterInfo info = InfoAt(2 + i);
    EXPECT_EQ(info.id, ParamID(i));
    EXPECT_EQ(ToAscii(info.title), effect[i].title) << i;
    EXPECT_EQ(ToAscii(info.units), effect[i].units) << i;
    EXPECT_EQ(info.stepCount, effect[i].stepCount) << i;
    const int32 expectedFlags = effect[i].stepCount == 0 ? 1 : 9;
    EXPECT_EQ(info.flags, expectedFlags) << i;
    EXPECT_EQ(info.unitId, kRootUnitId) << i;
  }
  for (int n = 0; n < 128; ++n) {
    const ParameterInfo info = InfoAt(2 + kEffectParams + n);
    ASSERT_EQ(info.id, ParamID(kEffectParams + n));
    ASSERT_EQ(ToAscii(info.title), "MIDI CC");
  }
}

TEST_F(VelmarStratumBundleTest, ValueTextsAndDefaultsComeFromTheEffect) {
  struct Case {
    ParamID id;
    double normalized;
    const char* text;
  };
  const Case cases[] = {
      {2, 1.0 / 3.0, "L"},    {7, 0.5, "0.0"},   {7, 1.0, "60.0"},      {9, 0.0, "-100"},
      {13, 0.5, "1 Bar"},     {14, 0.5, "550"},  {15, 1.0 / 16, "Group 1"}, {0, 1.0, "on"},
  };
  for (const Case& c : cases) EXPECT_EQ(Text(c.id, c.normalized), c.text) << c.id;

  EXPECT_DOUBLE_EQ(plugin->Controller()->plainParamToNormalized(kGainLevel, 0.0), 0.5);
  EXPECT_DOUBLE_EQ(plugin->Controller()->plainParamToNormalized(14, 600.0), 5.0 / 9.0);
  // A new instance: width 100 %, release "1 Bar", group switches on.
  EXPECT_DOUBLE_EQ(plugin->Controller()->getParamNormalized(10), 0.5);
  EXPECT_DOUBLE_EQ(plugin->Controller()->getParamNormalized(13), 0.5);
  EXPECT_DOUBLE_EQ(plugin->Controller()->getParamNormalized(24), 1.0);
}

TEST_F(VelmarStratumBundleTest, BypassPassesTheInputThroughOnlyAboveOneHalf) {
  ASSERT_TRUE(Start(*plugin, kSample32, 48000.0, 256));
  HostParameterChanges mute;
  mute.Add(kMute, 0, 1.0);
  mute.Add(kBypassId, 0, 0.5);
  MakeSineBlock(256);
  ASSERT_EQ(ProcessPlanar(*plugin->Processor(), in, out, {&mute}), kResultOk);
  EXPECT_DOUBLE_EQ(plugin->Controller()->getParamNormalized(kBypassId), 0.0);
  EXPECT_NE(out[0], in[0]);  // muted, not bypassed

  HostParameterChanges bypass;
  bypass.Add(kBypassId, 0, 0.51);
  MakeSineBlock(256);
  ASSERT_EQ(ProcessPlanar(*plugin->Processor(), in, out, {&bypass}), kResultOk);
  EXPECT_DOUBLE_EQ(plugin->Controller()->getParamNormalized(kBypassId), 1.0);
  EXPECT_EQ(out, in);
}

TEST_F(VelmarStratumBundleTest, StateStreamIsTheStateChunkAndTheBypassFlag) {
  ASSERT_TRUE(Start(*plugin, kSample32));
  HostParameterChanges changes;
  changes.Add(kGainLevel, 0, 0.75);
  changes.Add(9, 0, 0.25);
  changes.Add(20, 0, 0.0);
  changes.Add(kBypassId, 0, 1.0);
  ProcessChangesOnly(*plugin->Processor(), {&changes});

  const std::vector<uint8_t> state = SaveState(*plugin);
  ASSERT_EQ(state.size(), 256u);
  EXPECT_EQ(state[252], 1);

  std::unique_ptr<PluginInstance> restored = Another();
  ASSERT_NE(restored, nullptr);
  ASSERT_EQ(LoadState(*restored, state), kResultOk);
  for (int i = 0; i < kEffectParams; ++i) {
    EXPECT_DOUBLE_EQ(restored->Controller()->getParamNormalized(i),
                     plugin->Controller()->getParamNormalized(i))
        << i;
  }
  EXPECT_DOUBLE_EQ(restored->Controller()->getParamNormalized(kBypassId), 1.0);
  EXPECT_EQ(SaveState(*restored), state);

  std::unique_ptr<PluginInstance> truncated = Another();
  ASSERT_NE(truncated, nullptr);
  EXPECT_EQ(LoadState(*truncated, std::vector<uint8_t>(state.begin(), state.end() - 4)),
            kResultFalse);
  EXPECT_DOUBLE_EQ(truncated->Controller()->getParamNormalized(kGainLevel), 0.75);
  EXPECT_DOUBLE_EQ(truncated->Controller()->getParamNormalized(kBypassId), 0.0);
}

TEST_F(VelmarStratumBundleTest, EditorViewReportsTheEditorSize) {
  IPlugView* view = plugin->Controller()->createView(ViewType::kEditor);
  ASSERT_NE(view, nullptr);
  ViewRect rect;
  ASSERT_EQ(view->getSize(&rect), kResultOk);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.getWidth(), 410);
  EXPECT_EQ(rect.getHeight(), 522);
  // The Linux editor embeds in X11 windows only.
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultTrue);
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeHWND), kResultFalse);
  EXPECT_EQ(view->isPlatformTypeSupported(nullptr), kResultFalse);
  // Another type opens no window but still answers ok.
  EXPECT_EQ(view->attached(nullptr, kPlatformTypeHWND), kResultOk);
  EXPECT_EQ(view->removed(), kResultOk);
  view->release();
}

// A group member that takes a value published by another member tells its
// host through the output parameter changes of the process call in which it
// took it, never through the component handler on the audio thread.
TEST_F(VelmarStratumBundleTest, GroupValuesReachTheHostAsOutputParameterChanges) {
  std::unique_ptr<PluginInstance> other = Another();
  ASSERT_NE(other, nullptr);
  ASSERT_TRUE(Start(*plugin, kSample32));
  ASSERT_TRUE(Start(*other, kSample32));

  HostParameterChanges join;
  join.Add(kGroup, 0, kTestGroup / 16.0);
  MakeSineBlock(64);
  ASSERT_EQ(ProcessPlanar(*plugin->Processor(), in, out, {&join}), kResultOk);
  ASSERT_EQ(ProcessPlanar(*other->Processor(), in, out, {&join}), kResultOk);
  ASSERT_EQ(ProcessPlanar(*plugin->Processor(), in, out), kResultOk);
  ASSERT_EQ(ProcessPlanar(*other->Processor(), in, out), kResultOk);

  HostParameterChanges gain;
  gain.Add(kGainLevel, 0, 0.75);
  ASSERT_EQ(ProcessPlanar(*plugin->Processor(), in, out, {&gain}), kResultOk);

  HostParameterChanges taken;
  ASSERT_EQ(ProcessPlanar(*other->Processor(), in, out, {nullptr, &taken}), kResultOk);
  HostParamValueQueue* queue = taken.Find(kGainLevel);
  ASSERT_NE(queue, nullptr);
  ASSERT_EQ(queue->getPointCount(), 1);
  EXPECT_DOUBLE_EQ(LastPoint(taken, kGainLevel), 0.75);
  EXPECT_DOUBLE_EQ(other->Controller()->getParamNormalized(kGainLevel), 0.75);
  EXPECT_TRUE(other->Handler().Calls().empty());

  HostParameterChanges leave;
  leave.Add(kGroup, 0, 0.0);
  ProcessChangesOnly(*plugin->Processor(), {&leave});
  ProcessChangesOnly(*other->Processor(), {&leave});
}

}  // namespace
