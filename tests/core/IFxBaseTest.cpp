#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/HostTable.h"
#include "testsupport/TestPlugin.h"
#include "testsupport/WindowlessEditorLink.h"

namespace {

using HostCallKind = IFxRecordingAdapter::HostCallKind;

// Records what the base pushes into its editor. On destruction it reads a
// parameter of its plug-in, which must still exist then.
class FakeEditor : public WindowlessEditorLink {
 public:
  struct Push {
    int paramIdx;
    double value;
    bool normalized;
  };

  FakeEditor(IFxBase* plugin, bool* destroyed, double* valueOnDestruction)
      : mPlugin(plugin), mDestroyed(destroyed), mValueOnDestruction(valueOnDestruction) {}
  ~FakeEditor() override {
    *mValueOnDestruction = mPlugin->GetParam(kGainLevel)->Value();
    *mDestroyed = true;
  }
  void PushParamToControls(int paramIdx, double value, bool normalized) override {
    EXPECT_FALSE(prepared && !afterPrepareAllowed) << "value pushed after the back buffer";
    pushes.push_back(Push{paramIdx, value, normalized});
  }
  void PrepareBackBuffer() override { prepared = true; }

  std::vector<Push> pushes;
  bool prepared = false;
  bool afterPrepareAllowed = false;

 private:
  IFxBase* mPlugin;
  bool* mDestroyed;
  double* mValueOnDestruction;
};

TEST(IFxBaseIdentity, ConstructionStoresTheIdentity) {
  TestPlugin plugin;
  EXPECT_STREQ(plugin.GetEffectName(), "VelmarStratum");
  EXPECT_STREQ(plugin.GetProductName(), "");
  EXPECT_STREQ(plugin.GetMakerName(), "Velmar");
  EXPECT_EQ(plugin.GetUniqueCode(), 0x5374526Du);
  EXPECT_EQ(plugin.EffectVersion(false), 0x20003);
  EXPECT_EQ(plugin.EffectVersion(true), 20003);
  EXPECT_EQ(plugin.GetHostFormat(), HostFormatVst3);
  EXPECT_EQ(plugin.GetHostId(), HostNotIdentified);
  EXPECT_EQ(plugin.GetSampleRate(), 44100.0);
  EXPECT_EQ(plugin.GetBlockSize(), 0);
  EXPECT_EQ(plugin.GetTailSize(), 0);
  EXPECT_FALSE(plugin.IsBypassed());
  EXPECT_TRUE(plugin.DoesMidi());
  EXPECT_TRUE(plugin.DoesStateChunks());
  EXPECT_FALSE(plugin.IsInstrument());
  EXPECT_EQ(plugin.NumParams(), kNumParams);
  EXPECT_EQ(plugin.GetParam(kNumParams), nullptr);
  EXPECT_EQ(plugin.GetParam(-1), nullptr);
}

TEST(IFxBaseIdentity, LongNamesAreTruncated) {
  const std::string longName(300, 'n');
  IFxRecordingAdapter plugin(0, "1-1", 0, longName.c_str(), nullptr, "M", 0x1020304, 0, 0, 0,
                             false, false, false, 0, HostFormatAax);
  EXPECT_EQ(std::string(plugin.GetEffectName()), std::string(127, 'n'));
  EXPECT_STREQ(plugin.GetProductName(), "");
  EXPECT_EQ(plugin.EffectVersion(true), 258 * 10000 + 3 * 100 + 4);
  EXPECT_EQ(plugin.GetHostFormat(), HostFormatAax);
}

TEST(IFxBaseHost, FindHostIdTable) {
  const struct {
    const char* name;
    int id;
  } cases[] = {
      {"Cubase Pro 12", HostCubase},
      {"REAPER", HostReaper},
      {"Ableton Live 11", HostLive},
      {"Olive Tree", HostLive},          // any name containing live
      {"Cubase Live", HostCubase},       // earlier words win
      {"Pro Tools", HostUnknown},        // the word has no space
      {"ProTools", HostProTools},
      {"Ardour 8", HostArdour},
      {"VST3PluginTestHost", HostVst3PluginTestHost},
      {"Presonus Studio One", HostPresonus},
      {"Digital Performer", HostDigital},
      {"", HostUnknown},
      {nullptr, HostUnknown},
      {"Some other host", HostUnknown},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindHostId(c.name), c.id) << (c.name ? c.name : "null");
  }
  // Only the first 255 characters are searched.
  const std::string padded = std::string(251, ' ') + "reaper";
  EXPECT_EQ(FindHostId(padded.c_str()), HostUnknown);
  EXPECT_EQ(FindHostId((std::string(249, ' ') + "reaper").c_str()), HostReaper);
}

TEST(IFxBaseHost, SetHostStoresIdAndVersion) {
  TestPlugin plugin;
  plugin.SetHost("reaper64", 0x60000);
  EXPECT_EQ(plugin.GetHostId(), HostReaper);
  EXPECT_EQ(plugin.GetHostVersion(), 0x60000);
  plugin.SetHost("Unheard-of Host", 0);
  EXPECT_EQ(plugin.GetHostId(), HostUnknown);
}

TEST(IFxBaseParams, SetParameterFromGUIStoresQuantisedAndInformsRaw) {
  TestPlugin plugin;
  plugin.ClearParamChanges();
  plugin.SetParameterFromGUI(kMute, 0.26);
  EXPECT_EQ(plugin.GetParam(kMute)->Value(), 0.30000000000000004);
  ASSERT_EQ(plugin.HostCalls().size(), 1u);
  EXPECT_EQ(plugin.HostCalls()[0].kind, HostCallKind::ParamChange);
  EXPECT_EQ(plugin.HostCalls()[0].index, kMute);
  EXPECT_EQ(plugin.HostCalls()[0].value, 0.26);
  ASSERT_EQ(plugin.ParamChanges().size(), 1u);
  EXPECT_EQ(plugin.ParamChanges()[0].source, SourceEditor);

  plugin.SetParameterFromGUI(kNumParams, 0.5);  // out of range: ignored
  EXPECT_EQ(plugin.HostCalls().size(), 1u);
}

TEST(IFxBaseParams, NotifyAllParamsInIndexOrder) {
  TestPlugin plugin;
  plugin.ClearParamChanges();
  plugin.NotifyAllParams(SourceReset);
  ASSERT_EQ(plugin.ParamChanges().size(), static_cast<size_t>(kNumParams));
  for (int i = 0; i < kNumParams; ++i) {
    EXPECT_EQ(plugin.ParamChanges()[i].index, i);
    EXPECT_EQ(plugin.ParamChanges()[i].source, SourceReset);
  }
}

TEST(IFxBaseParams, TestPluginMatchesTheEffectTable) {
  TestPlugin plugin;
  char text[64];
  plugin.GetParam(kLimiterReleaseSync)->FormatCurrent(text, sizeof(text));
  EXPECT_STREQ(text, "1 Bar");
  plugin.GetParam(kGroup)->FormatCurrent(text, sizeof(text));
  EXPECT_STREQ(text, "No group");
  EXPECT_STREQ(plugin.GetParam(kGroup)->NamedValueText(16), "Group 16");
  EXPECT_EQ(plugin.GetParam(kAutoGainLevel)->Value(), -6.0);
  EXPECT_EQ(plugin.GetParam(kRmsWindowSize)->Value(), 600.0);
  EXPECT_EQ(plugin.GetParam(kStereoWidth)->Value(), 100.0);
  EXPECT_STREQ(plugin.GetParam(kGroupRmsWindowSize)->Name(), "Group RMS wind. size");
  for (int k = 0; k < kNumGroupSwitches; ++k) {
    EXPECT_TRUE(plugin.GetParam(kGroupFirstSwitch + k)->IsOn());
  }

  std::array<bool, kNumParams> mask = plugin.LinkMask();
  EXPECT_FALSE(mask[kGroup]);
  EXPECT_TRUE(mask[kPan]);
  plugin.GetParam(kGroupPan)->SetValue(0.0);
  mask = plugin.LinkMask();
  EXPECT_FALSE(mask[kPan]);
  EXPECT_TRUE(mask[kGroupPan]);  // the switches are always shared
}

TEST(IFxBaseParams, ParamChangedHookRunsUnderTheLock) {
  TestPlugin plugin;
  std::vector<int> hooked;
  plugin.SetParamChangedHook([&](int index, ParamChangeSource) {
    EXPECT_TRUE(plugin.GetLock().TryLock());  // recursive: the holder may take it again
    plugin.GetLock().Unlock();
    hooked.push_back(index);
  });
  plugin.SetParameterFromGUI(kPan, 0.75);
  EXPECT_EQ(hooked, std::vector<int>{kPan});
}

TEST(IFxBaseEditor, AttachPushesNormalisedValuesThenPreparesAndIsDeletedFirst) {
  bool destroyed = false;
  double valueSeenOnDestruction = 0.0;
  {
    TestPlugin plugin;
    plugin.GetParam(kGainLevel)->SetValue(30.0);
    auto* editor = new FakeEditor(&plugin, &destroyed, &valueSeenOnDestruction);
    plugin.AttachEditor(editor);
    EXPECT_EQ(plugin.GetEditor(), editor);
    EXPECT_TRUE(editor->prepared);
    ASSERT_EQ(editor->pushes.size(), static_cast<size_t>(kNumParams));
    EXPECT_EQ(editor->pushes[kGainLevel].value, 0.75);
    EXPECT_TRUE(editor->pushes[kGainLevel].normalized);

    editor->pushes.clear();
    editor->afterPrepareAllowed = true;
    plugin.RefreshParamControls();
    ASSERT_EQ(editor->pushes.size(), static_cast<size_t>(kNumParams));
    EXPECT_EQ(editor->pushes[kGainLevel].value, 30.0);
    EXPECT_FALSE(editor->pushes[kGainLevel].normalized);
    plugin.GetParam(kGainLevel)->SetValue(12.0);
  }
  // The editor still saw its parameters while it was deleted.
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(valueSeenOnDestruction, 12.0);
}

TEST(IFxBaseEditor, RefreshWithoutEditorDoesNothing) {
  TestPlugin plugin;
  plugin.RefreshParamControls();
  EXPECT_EQ(plugin.GetEditor(), nullptr);
}

TEST(IFxBaseState, StateMatchesComparesInSinglePrecision) {
  TestPlugin plugin;
  StateChunk chunk;
  chunk.PutDouble(12345.0);  // one leading double to skip
  plugin.SerializeParams(chunk);
  EXPECT_TRUE(plugin.StateMatches(chunk.Data(), chunk.Size(), 1));
  EXPECT_FALSE(plugin.StateMatches(chunk.Data(), chunk.Size(), 0));

  plugin.GetParam(kGainLevel)->SetValue(0.000004);
  EXPECT_TRUE(plugin.StateMatches(chunk.Data(), chunk.Size(), 1));
  plugin.GetParam(kGainLevel)->SetValue(0.00002);
  EXPECT_FALSE(plugin.StateMatches(chunk.Data(), chunk.Size(), 1));

  // Too short to hold every parameter: no match, no read past the end.
  EXPECT_FALSE(plugin.StateMatches(chunk.Data(), chunk.Size() - 1, 1));
  EXPECT_FALSE(plugin.StateMatches(chunk.Data(), chunk.Size(), -1));
}

TEST(IFxBaseMidi, BuildersAndDefaultRouting) {
  MidiMessage on;
  on.MakeNoteOn(60, 100, 17, 2);
  EXPECT_EQ(on.status, 0x92);
  EXPECT_EQ(on.data1, 60);
  EXPECT_EQ(on.data2, 100);
  EXPECT_EQ(on.offset, 17);

  MidiMessage off;
  off.MakeNoteOff(61, 5, 0);
  EXPECT_EQ(off.status, 0x80);
  EXPECT_EQ(off.data2, 0);
  EXPECT_EQ(off.offset, 5);

  MidiMessage cc;
  cc.offset = 9;
  cc.MakeControlChange(7, 0.999, 15);
  EXPECT_EQ(cc.status, 0xBF);
  EXPECT_EQ(cc.data1, 7);
  EXPECT_EQ(cc.data2, 126);  // 126.873 truncated
  EXPECT_EQ(cc.offset, 0);
  cc.MakeControlChange(7, 2.0, 0);
  EXPECT_EQ(cc.data2, 127);

  TestPlugin plugin;
  plugin.HandleMidiMessage(on);  // the base forwards to the output
  ASSERT_EQ(plugin.SentMidi().size(), 1u);
  EXPECT_EQ(plugin.SentMidi()[0].status, 0x92);

  char text[8] = "x";
  EXPECT_FALSE(plugin.GetMidiNoteText(60, text, sizeof(text)));
  EXPECT_STREQ(text, "");
}

TEST(IFxBaseTransport, RecordingAdapterAnswersTheSetTransport) {
  TestPlugin plugin;
  TransportInfo fresh;
  plugin.GetTransportInfo(&fresh);
  EXPECT_EQ(fresh.tempo, 120.0);
  EXPECT_EQ(fresh.ppqPosition, -1.0);
  EXPECT_EQ(fresh.numerator, 4);
  EXPECT_FALSE(fresh.running);

  plugin.SetTempo(90.0);
  plugin.SetSamplePosition(48000);
  plugin.SetTimeSignature(7, 8);
  int numerator = 0, denominator = 0;
  plugin.GetTimeSignature(&numerator, &denominator);
  EXPECT_EQ(plugin.GetTempoBpm(), 90.0);
  EXPECT_EQ(plugin.GetSamplePosition(), 48000);
  EXPECT_EQ(numerator, 7);
  EXPECT_EQ(denominator, 8);
}

TEST(IFxBaseBusNames, InputsTakeOnlyTwoNamesOutputsAny) {
  TestPlugin plugin;
  plugin.SetInputBusName(0, "Main Input");
  plugin.SetInputBusName(2, "ignored");
  plugin.SetInputBusName(0, "Input");
  plugin.SetOutputBusName(2, "Output 3");
  EXPECT_EQ(plugin.NumInputBusNames(), 1);
  EXPECT_STREQ(plugin.GetInputBusName(0), "Input");
  EXPECT_EQ(plugin.GetInputBusName(1), nullptr);
  EXPECT_EQ(plugin.NumOutputBusNames(), 3);
  EXPECT_STREQ(plugin.GetOutputBusName(0), "");
  EXPECT_STREQ(plugin.GetOutputBusName(2), "Output 3");
  plugin.SetOutputBusName(-1, "ignored");
  EXPECT_EQ(plugin.NumOutputBusNames(), 3);
}

}  // namespace
