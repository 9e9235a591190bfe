#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "testsupport/TestPlugin.h"
#include "testsupport/WindowlessEditorLink.h"

namespace {

// Counts the plain values pushed into the editor's controls.
class CountingEditor : public WindowlessEditorLink {
 public:
  void PushParamToControls(int, double, bool normalized) override {
    if (!normalized) ++plainPushes;
  }
  void PrepareBackBuffer() override {}
  int plainPushes = 0;
};

// A small plug-in with three parameters and any number of presets, whose
// state is like the effect's: a 4-byte word in front of the parameter block.
class PresetPlugin : public IFxRecordingAdapter {
 public:
  explicit PresetPlugin(int numPresets)
      : IFxRecordingAdapter(3, "1-1", numPresets, "P", "", "M", 1, 0, 0, 0, false, true, false,
                            0) {
    GetParam(0)->SetupDouble("Gain", 0.0, -60.0, 60.0, 0.1, "dB");
    GetParam(1)->SetupBool("Switch", false);
    GetParam(2)->SetupDouble("Width", 100.0, 0.0, 200.0, 1.0, "%");
  }

  bool SaveState(StateChunk& chunk) override {
    chunk.PutInt32(stateWord);
    return SerializeParams(chunk);
  }
  int LoadState(const StateChunk& chunk, int position) override {
    int32_t word = 0;
    position = chunk.GetInt32(&word, position);
    if (position >= 0) stateWord = word;
    return UnserializeParams(chunk, position);
  }
  void HostChangedPresets() override { ++presetNotices; }

  int32_t stateWord = 0;
  int presetNotices = 0;
};

std::vector<double> Values(const IFxBase& plugin) {
  std::vector<double> values;
  for (int i = 0; i < plugin.NumParams(); ++i) values.push_back(plugin.GetParam(i)->Value());
  return values;
}

TEST(ParamState, RoundTripRestoresEveryParameterAndNotifiesRecall) {
  TestPlugin source;
  source.GetParam(kGainLevel)->SetValue(-12.5);
  source.GetParam(kPan)->SetValue(33.0);
  source.GetParam(kGroupPan)->SetValue(0.0);
  StateChunk chunk;
  ASSERT_TRUE(source.SaveState(chunk));
  EXPECT_EQ(chunk.Size(), 8 * kNumParams);

  TestPlugin target;
  target.ClearParamChanges();
  EXPECT_EQ(target.LoadState(chunk, 0), chunk.Size());
  EXPECT_EQ(Values(target), Values(source));
  ASSERT_EQ(target.ParamChanges().size(), static_cast<size_t>(kNumParams));
  EXPECT_EQ(target.ParamChanges()[30].source, SourceRecall);
}

TEST(ParamState, ValuesAreClampedToTheirRanges) {
  StateChunk chunk;
  for (int i = 0; i < kNumParams; ++i) chunk.PutDouble(1e9);
  TestPlugin plugin;
  plugin.UnserializeParams(chunk, 0);
  EXPECT_EQ(plugin.GetParam(kGainLevel)->Value(), 60.0);
  EXPECT_EQ(plugin.GetParam(kMute)->Value(), 1.0);
}

TEST(ParamState, HundredByteStateRestoresTwelveParametersAndZeroesTheThirteenth) {
  // 4 bytes of a leading word, then 96 bytes = 12 doubles.
  StateChunk chunk;
  chunk.PutInt32(0);
  for (int i = 0; i < 12; ++i) chunk.PutDouble(1.0);
  ASSERT_EQ(chunk.Size(), 100);

  TestPlugin plugin;
  plugin.GetParam(kLimit)->SetValue(1.0);
  plugin.GetParam(kLimiterReleaseSync)->SetValue(2.0);
  plugin.GetParam(kPan)->SetValue(-40.0);
  const std::vector<double> before = Values(plugin);
  plugin.ClearParamChanges();

  EXPECT_EQ(plugin.UnserializeParams(chunk, 4), -1);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(plugin.GetParam(i)->Value(), plugin.GetParam(i)->ClampToRange(1.0)) << i;
  }
  EXPECT_EQ(plugin.GetParam(kLimit)->Value(), 0.0);  // 0 clamped into 0..1
  for (int i = 13; i < kNumParams; ++i) EXPECT_EQ(plugin.GetParam(i)->Value(), before[i]) << i;
  EXPECT_EQ(plugin.ParamChanges().size(), static_cast<size_t>(kNumParams));
}

TEST(ParamState, NegativePositionReadsNothingButNotifiesEveryParameter) {
  StateChunk chunk;
  for (int i = 0; i < kNumParams; ++i) chunk.PutDouble(1.0);
  TestPlugin plugin;
  const std::vector<double> before = Values(plugin);
  plugin.ClearParamChanges();
  EXPECT_EQ(plugin.UnserializeParams(chunk, -1), -1);
  EXPECT_EQ(Values(plugin), before);
  EXPECT_EQ(plugin.ParamChanges().size(), static_cast<size_t>(kNumParams));
}

TEST(ParamState, NanInAChunkBecomesTheMinimum) {
  StateChunk chunk;
  for (int i = 0; i < kNumParams; ++i) chunk.PutDouble(std::nan(""));
  TestPlugin plugin;
  plugin.UnserializeParams(chunk, 0);
  EXPECT_EQ(plugin.GetParam(kGainLevel)->Value(), -60.0);
}

TEST(Presets, DefaultPresetAndCreation) {
  TestPlugin plugin;
  ASSERT_EQ(plugin.NumPresets(), 1);
  EXPECT_STREQ(plugin.PresetName(0), "-");
  EXPECT_TRUE(plugin.GetPreset(0)->initialized);
  EXPECT_EQ(plugin.GetPreset(0)->state.Size(), 8 * kNumParams);
  EXPECT_STREQ(plugin.PresetName(1), "");
  EXPECT_STREQ(plugin.PresetName(-1), "");

  PresetPlugin many(3);
  EXPECT_STREQ(many.PresetName(0), "empty");
  EXPECT_FALSE(many.GetPreset(0)->initialized);
  many.CreateDefaultPresets(nullptr, 2);
  many.CreateDefaultPresets("late", 5);  // only one free preset left
  EXPECT_STREQ(many.PresetName(0), "Empty");
  EXPECT_STREQ(many.PresetName(1), "Empty");
  EXPECT_STREQ(many.PresetName(2), "late");
  EXPECT_TRUE(many.GetPreset(2)->initialized);
}

TEST(Presets, FillEmptyPresetsFillsOnlyTheFreeOnes) {
  PresetPlugin plugin(3);
  plugin.CreateDefaultPresets("-", 1);
  plugin.FillEmptyPresets();
  EXPECT_STREQ(plugin.PresetName(0), "-");
  EXPECT_STREQ(plugin.PresetName(1), "Empty");
  EXPECT_STREQ(plugin.PresetName(2), "Empty");
}

TEST(Presets, SelectRestoresAnInitialisedPreset) {
  PresetPlugin plugin(2);
  plugin.GetParam(0)->SetValue(-20.0);
  plugin.CreateDefaultPresets("first", 1);
  plugin.GetParam(0)->SetValue(10.0);
  plugin.CreateDefaultPresets("second", 1);

  EXPECT_TRUE(plugin.SelectPreset(0));
  EXPECT_EQ(plugin.GetParam(0)->Value(), -20.0);
  EXPECT_EQ(plugin.GetCurrentPresetIndex(), 0);
  EXPECT_TRUE(plugin.SelectPreset(1));
  EXPECT_EQ(plugin.GetParam(0)->Value(), 10.0);
  EXPECT_EQ(plugin.GetCurrentPresetIndex(), 1);
  EXPECT_EQ(plugin.presetNotices, 2);

  EXPECT_FALSE(plugin.SelectPreset(2));
  EXPECT_FALSE(plugin.SelectPreset(-1));
  EXPECT_EQ(plugin.GetCurrentPresetIndex(), 1);
  EXPECT_EQ(plugin.presetNotices, 2);

  // A restored preset refreshes every control of an attached editor.
  auto* editor = new CountingEditor;
  plugin.AttachEditor(editor);
  EXPECT_TRUE(plugin.SelectPreset(0));
  EXPECT_EQ(editor->plainPushes, plugin.NumParams());
}

TEST(Presets, SelectingAFreePresetCapturesUnderAUserName) {
  PresetPlugin plugin(4);
  plugin.GetParam(2)->SetValue(150.0);
  EXPECT_TRUE(plugin.SelectPreset(1));
  EXPECT_STREQ(plugin.PresetName(1), "user preset 1");
  EXPECT_TRUE(plugin.GetPreset(1)->initialized);
  EXPECT_EQ(plugin.GetCurrentPresetIndex(), 1);

  plugin.ModifyCurrentPreset("my user preset");  // two names now contain the text
  EXPECT_TRUE(plugin.SelectPreset(3));
  EXPECT_STREQ(plugin.PresetName(3), "user preset 2");
  EXPECT_TRUE(plugin.SelectPreset(0));
  EXPECT_STREQ(plugin.PresetName(0), "user preset 3");
  // Case-sensitive: "User Preset" does not count.
  PresetPlugin other(2);
  other.CreateDefaultPresets("User Preset", 1);
  EXPECT_TRUE(other.SelectPreset(1));
  EXPECT_STREQ(other.PresetName(1), "user preset 1");
}

TEST(Presets, PresetWhoseStateFailsToLoadIsNotSelected) {
  PresetPlugin plugin(2);
  plugin.CreateDefaultPresets("a", 1);
  // A bank that marks the free preset 1 initialised but ends inside its state.
  StateChunk bank;
  bank.PutText("a");
  bank.PutBool(true);
  bank.PutInt32(0);
  for (int i = 0; i < 3; ++i) bank.PutDouble(1.0);
  bank.PutText("b");
  bank.PutBool(true);
  bank.PutInt32(5);
  bank.PutDouble(-30.0);
  EXPECT_EQ(plugin.UnserializePresets(bank, 0), -1);
  EXPECT_EQ(plugin.stateWord, 0);  // preset 0 was selected again afterwards
  EXPECT_TRUE(plugin.GetPreset(1)->initialized);
  EXPECT_TRUE(plugin.GetPreset(1)->state.Empty());

  plugin.GetParam(0)->SetValue(3.0);
  EXPECT_FALSE(plugin.SelectPreset(1));
  EXPECT_EQ(plugin.GetCurrentPresetIndex(), 0);
  EXPECT_EQ(plugin.GetParam(0)->Value(), 3.0);
}

TEST(Presets, ModifyCurrentPresetResavesAndRenames) {
  PresetPlugin plugin(1);
  plugin.CreateDefaultPresets("orig", 1);
  plugin.GetParam(0)->SetValue(7.0);
  plugin.ModifyCurrentPreset("");
  EXPECT_STREQ(plugin.PresetName(0), "orig");
  plugin.ModifyCurrentPreset(std::string(500, 'z').c_str());
  EXPECT_EQ(std::string(plugin.PresetName(0)), std::string(PresetSlot::kNameSize - 1, 'z'));
  plugin.GetParam(0)->SetValue(0.0);
  EXPECT_TRUE(plugin.SelectPreset(0));
  EXPECT_EQ(plugin.GetParam(0)->Value(), 7.0);
}

// TestPlugin with the effect's state layout: a 4-byte word, then the block.
class EffectStatePlugin : public TestPlugin {
 public:
  bool SaveState(StateChunk& chunk) override {
    chunk.PutInt32(0);
    return SerializeParams(chunk);
  }
};

TEST(PresetBank, OneDefaultPresetWithTheEffectsStateIs258Bytes) {
  EffectStatePlugin plugin;
  plugin.ModifyCurrentPreset("-");  // re-save with the effect's layout
  ASSERT_EQ(plugin.GetPreset(0)->state.Size(), 252);
  StateChunk bank;
  EXPECT_TRUE(plugin.SerializePresets(bank));
  EXPECT_EQ(bank.Size(), 4 + 1 + 1 + 252);
  int32_t length = 0;
  bank.GetInt32(&length, 0);
  EXPECT_EQ(length, 1);
  EXPECT_EQ(bank.Data()[4], '-');
  EXPECT_EQ(bank.Data()[5], 1);
}

TEST(PresetBank, RoundTripRestoresNamesFlagsAndStates) {
  PresetPlugin source(3);
  source.GetParam(0)->SetValue(-5.0);
  source.CreateDefaultPresets("low", 1);
  source.GetParam(0)->SetValue(5.0);
  source.stateWord = 77;
  source.CreateDefaultPresets("high", 1);
  StateChunk bank;
  ASSERT_TRUE(source.SerializePresets(bank));

  PresetPlugin target(3);
  EXPECT_EQ(target.UnserializePresets(bank, 0), bank.Size());
  EXPECT_STREQ(target.PresetName(0), "low");
  EXPECT_STREQ(target.PresetName(1), "high");
  EXPECT_STREQ(target.PresetName(2), "empty");
  EXPECT_FALSE(target.GetPreset(2)->initialized);
  EXPECT_EQ(target.GetPreset(1)->state, source.GetPreset(1)->state);
  // Afterwards the current preset (0) is selected again.
  EXPECT_EQ(target.GetParam(0)->Value(), -5.0);
}

TEST(PresetBank, APresetMarkedFreeIsRefilledNotAppended) {
  PresetPlugin plugin(2);
  plugin.CreateDefaultPresets("kept", 2);
  StateChunk bank;
  plugin.SerializePresets(bank);
  // Same bank with preset 1 marked free: its old state stays behind in memory.
  StateChunk freed;
  freed.PutBytes(bank.Data(), 4 + 4 + 1 + 28);
  freed.PutText("kept");
  freed.PutBool(false);
  plugin.UnserializePresets(freed, 0);
  ASSERT_FALSE(plugin.GetPreset(1)->initialized);

  plugin.GetParam(0)->SetValue(42.0);
  EXPECT_TRUE(plugin.SelectPreset(1));  // captures the current state
  EXPECT_EQ(plugin.GetPreset(1)->state.Size(), 28);
  plugin.GetParam(0)->SetValue(0.0);
  EXPECT_TRUE(plugin.SelectPreset(1));
  EXPECT_EQ(plugin.GetParam(0)->Value(), 42.0);
}

TEST(PresetBank, EmptyNameTakesThePreviousPresetsName) {
  PresetPlugin plugin(3);
  StateChunk bank;
  bank.PutText("first");
  bank.PutBool(false);
  bank.PutInt32(0);  // second name empty
  bank.PutBool(false);
  bank.PutInt32(1000);  // third name runs past the end
  EXPECT_EQ(plugin.UnserializePresets(bank, 0), -1);
  EXPECT_STREQ(plugin.PresetName(1), "first");
  EXPECT_STREQ(plugin.PresetName(2), "first");
  // The current preset 0 came back free, so selecting it again captured it.
  EXPECT_STREQ(plugin.PresetName(0), "user preset 1");
}

TEST(PresetBank, DamagedBanksStopWithoutReadingOutside) {
  PresetPlugin reference(2);
  reference.CreateDefaultPresets("a", 2);
  StateChunk good;
  reference.SerializePresets(good);

  // Every truncation of a good bank, plus hostile length fields.
  for (int size = 0; size < good.Size(); ++size) {
    StateChunk cut;
    cut.PutBytes(good.Data(), size);
    PresetPlugin plugin(2);
    EXPECT_EQ(plugin.UnserializePresets(cut, 0), -1) << size;
  }
  const int32_t lengths[] = {-1, -4, -1000, 0x7FFFFFFF, 0x7FFFFFFB};
  for (int32_t length : lengths) {
    StateChunk hostile;
    hostile.PutInt32(length);
    hostile.PutBytes(good.Data(), good.Size());
    PresetPlugin plugin(2);
    EXPECT_EQ(plugin.UnserializePresets(hostile, 0), -1) << length;
  }
}

TEST(ChunkHeader, WriteAndReadBack) {
  TestPlugin plugin;
  StateChunk chunk;
  chunk.PutInt32(123);  // emptied first
  plugin.WriteChunkHeader(chunk);
  const uint8_t expected[] = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};
  ASSERT_EQ(chunk.Size(), 8);
  EXPECT_EQ(memcmp(chunk.Data(), expected, 8), 0);
  int position = 0;
  EXPECT_EQ(plugin.ReadChunkHeader(chunk, position), 0x10000);
  EXPECT_EQ(position, 8);
}

TEST(ChunkHeader, MissingMagicOrVersion) {
  TestPlugin plugin;
  StateChunk plain;
  plugin.SerializeParams(plain);
  int position = 0;
  EXPECT_EQ(plugin.ReadChunkHeader(plain, position), 0);
  EXPECT_EQ(position, 0);  // read as a plain state

  StateChunk magicOnly;
  magicOnly.PutUInt32(IFxBase::kChunkMagic);
  magicOnly.PutBytes("\1\0", 2);
  position = 0;
  EXPECT_EQ(plugin.ReadChunkHeader(magicOnly, position), 0);
  EXPECT_EQ(position, -1);

  StateChunk empty;
  position = 0;
  EXPECT_EQ(plugin.ReadChunkHeader(empty, position), 0);
  EXPECT_EQ(position, 0);
}

}  // namespace
