// Auto gain and output metering through the effect, and the greying that
// follows the input connection.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "effect/dsp/Decibels.h"
#include "effect/layout/IReadOutControl.h"
#include "tests/effect/EffectHarness.h"

namespace {

using effect_test::Constant;
using effect_test::EffectHarness;
using effect_test::Stereo;

constexpr int kRate = 44100;
constexpr int kBlock = 512;

// A block whose peak is at the given level; the rest is quiet.
std::vector<double> PeakBlock(double db, int n = kBlock) {
  std::vector<double> block(n, 0.0);
  block[n / 3] = DbToLinear(db);
  return block;
}

class AutoGainEffectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    h.Prepare(kRate, kBlock);
    h.Set(kAutoGainOnOff, 1.0);
  }
  EffectHarness h;
};

TEST_F(AutoGainEffectTest, PeakAtMinus18WithReferenceMinus6RisesTowardsPlus12) {
  h.Process(PeakBlock(-18.0));
  // Cleared on switching on (and again since "Gain Level" was 0.0): the gain
  // starts from silence and rises with the 1 s constant.
  const double expected = 12.0 + LinearToDb(1.0 - std::exp(-512.0 / 44100.0));
  EXPECT_NEAR(h.Get(kGainLevel), expected, 1e-9);
  EXPECT_NEAR(expected, -26.75, 0.01);
  EXPECT_EQ(h.fx->Smoother(kGainLevel).Target(), h.Get(kGainLevel));
  // The knob shows it, but the host was not told and nothing was quantised.
  EXPECT_DOUBLE_EQ(h.Control(8)->GetValue(), h.fx->GetParam(kGainLevel)->GetNormalized());
  for (int i = 0; i < 1000; ++i) h.Process(PeakBlock(-18.0));
  EXPECT_NEAR(h.Get(kGainLevel), 12.0, 1e-3);
}

TEST_F(AutoGainEffectTest, TheLouderChannelDecides) {
  for (int i = 0; i < 1000; ++i) h.Process(PeakBlock(-12.0), PeakBlock(-24.0));
  EXPECT_NEAR(h.Get(kGainLevel), 6.0, 1e-3);
  for (int i = 0; i < 1000; ++i) h.Process(PeakBlock(-30.0), PeakBlock(-9.0));
  EXPECT_NEAR(h.Get(kGainLevel), 3.0, 1e-3);  // the right channel is louder now
}

TEST_F(AutoGainEffectTest, GainIsCappedAtPlus30) {
  for (int i = 0; i < 1000; ++i) h.Process(PeakBlock(-50.0));
  EXPECT_NEAR(h.Get(kGainLevel), 30.0, 1e-3);
}

TEST_F(AutoGainEffectTest, RmsModeUsesTheWindow) {
  h.Set(kAutoGainMode, 1.0);
  h.Set(kRmsWindowSize, 100.0);
  const double level = DbToLinear(-20.0);
  for (int i = 0; i < 1000; ++i) h.Process(Constant(kBlock, level));
  // A constant's RMS is its level: the gain lands on -6 - (-20) = +14.
  EXPECT_NEAR(h.Get(kGainLevel), 14.0, 1e-3);
}

TEST_F(AutoGainEffectTest, ExactlyZeroGainClearsTheMeters) {
  for (int i = 0; i < 1000; ++i) h.Process(PeakBlock(-18.0));
  h.Set(kGainLevel, 0.0);
  h.Process(PeakBlock(-18.0));
  // Restarted from silence, as right after switching on.
  EXPECT_NEAR(h.Get(kGainLevel), 12.0 + LinearToDb(1.0 - std::exp(-512.0 / 44100.0)), 1e-9);
}

TEST_F(AutoGainEffectTest, SilenceGivesTheFloorAndTransportStopEndsAutoGain) {
  h.Process(Constant(kBlock, 0.0));
  // Silence never sets the level memory: the target stays 1 (0 dB) and the
  // gain rises towards it from the cleared 0.
  EXPECT_NEAR(h.Get(kGainLevel), LinearToDb(1.0 - std::exp(-512.0 / 44100.0)), 1e-9);

  TransportInfo transport;
  transport.running = true;
  h.fx->SetTransportInfo(transport);
  h.Process(PeakBlock(-18.0));
  EXPECT_TRUE(h.fx->AutoGainEnabled());  // a start changes nothing
  transport.running = false;
  h.fx->SetTransportInfo(transport);
  h.fx->ClearHostCalls();
  h.Process(PeakBlock(-18.0));
  EXPECT_FALSE(h.fx->AutoGainEnabled());
  // The host hears of the switch-off once, so its view does not keep "on".
  auto switchOffNotices = [&] {
    int count = 0;
    for (const auto& call : h.fx->HostCallsOf(IFxRecordingAdapter::HostCallKind::ParamChange)) {
      if (call.index == kAutoGainOnOff) {
        EXPECT_EQ(call.value, 0.0);
        ++count;
      }
    }
    return count;
  };
  EXPECT_EQ(switchOffNotices(), 1);
  transport.running = true;
  h.fx->SetTransportInfo(transport);
  h.Process(PeakBlock(-18.0));
  transport.running = false;
  h.fx->SetTransportInfo(transport);
  h.Process(PeakBlock(-18.0));
  EXPECT_EQ(switchOffNotices(), 1);  // already off: no further notice
  EXPECT_EQ(h.Get(kAutoGainOnOff), 0.0);
  EXPECT_EQ(h.Control(7)->GetValue(), 0.0);
  EXPECT_FALSE(h.Control(8)->IsGreyed());
  // The gain stays where auto gain left it; "Group Gain Level" stays off.
  const double gain = h.Get(kGainLevel);
  h.Process(PeakBlock(-3.0));
  EXPECT_EQ(h.Get(kGainLevel), gain);
  EXPECT_EQ(h.Get(kGroupGainLevel), 0.0);
}

// --- Metering ----------------------------------------------------------------

std::string ReadOutText(const IReadOutControl* control) { return control->GetText(); }

TEST(EffectMeteringTest, SineLevelsReachMetersAndReadOuts) {
  EffectHarness h;
  h.Prepare(kRate, kBlock);
  h.Set(kRmsWindowSize, 100.0);
  std::vector<double> sine(kBlock);
  long t = 0;
  for (int block = 0; block < 20; ++block) {
    for (double& s : sine) s = 0.5 * std::sin(2.0 * M_PI * 441.0 * (t++) / kRate);
    h.Process(sine);
  }
  // -6.02 dB peak, -9.03 dB RMS.
  EXPECT_EQ(ReadOutText(h.fx->PeakReadOut()), "-6.02");
  EXPECT_EQ(ReadOutText(h.fx->RmsReadOut()).substr(0, 4), "-9.0");
  const double peakPosition = (24.0 - 6.0206) / 24.0;
  EXPECT_NEAR(h.Control(h.fx->MeterControlIndex(0))->GetValue(), peakPosition, 1e-3);
  EXPECT_NEAR(h.Control(h.fx->MeterControlIndex(4))->GetValue(), peakPosition, 1e-3);
  EXPECT_NEAR(h.Control(h.fx->MeterControlIndex(3))->GetValue(), (24.0 - 9.03) / 24.0, 1e-3);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(h.fx->MeterControlIndex(i), 34 + i);
  EXPECT_TRUE(h.Control(0)->IsDirty());  // every control marked for redraw
}

TEST(EffectMeteringTest, ClickingAReadOutResetsOnlyItsOwnHolds) {
  EffectHarness h;
  h.Prepare(kRate, kBlock);
  h.Process(Constant(kBlock, 0.5));
  for (int i = 0; i < 300; ++i) h.Process(Constant(kBlock, 0.0));  // levels fall away
  EXPECT_EQ(ReadOutText(h.fx->PeakReadOut()), "-6.02");
  const std::string rmsBefore = ReadOutText(h.fx->RmsReadOut());

  // A click on the peak read-out, through the editor's mouse handling.
  IGraphics* graphics = h.fx->Graphics();
  const IRect& rect = h.fx->PeakReadOut()->GetRect();
  graphics->MouseDown(rect.L + 2, rect.T + 2, IMouseMod(true));
  graphics->MouseUp(rect.L + 2, rect.T + 2, IMouseMod(true));
  h.Process(Constant(kBlock, 0.0));
  EXPECT_EQ(ReadOutText(h.fx->PeakReadOut()), "-inf");
  EXPECT_EQ(ReadOutText(h.fx->RmsReadOut()), rmsBefore);
  EXPECT_EQ(h.fx->Meter().MaximumDb(OutputMeter::kPeakL), OutputMeter::kFloorDb);
}

// Meter falls and holds are counted in blocks: after a rate change at the
// same block size (44.1 to 96 kHz at 512 frames) they must count the new
// rate's blocks, as an instance that started at 96 kHz does.
TEST(EffectMeteringTest, MeterTimesFollowARateChangeAtTheSameBlockSize) {
  EffectHarness moved, fresh;
  moved.Prepare(44100, 512);
  moved.Process(Constant(512, 0.0));
  moved.Prepare(96000, 512);
  fresh.Prepare(96000, 512);
  for (EffectHarness* h : {&moved, &fresh}) h->Process(Constant(512, 1.0));
  EXPECT_EQ(moved.fx->Meter().BlocksPerSecond(), fresh.fx->Meter().BlocksPerSecond());
  EXPECT_EQ(moved.fx->Meter().EnvelopeOf(OutputMeter::kPeakL).Release(),
            fresh.fx->Meter().EnvelopeOf(OutputMeter::kPeakL).Release());
  EXPECT_EQ(moved.fx->Smoother(kGainLevel).Coefficient(),
            fresh.fx->Smoother(kGainLevel).Coefficient());

  // One second of silence: the peak meter has fallen 40 dB, not more.
  const int blocksPerSecond = 96000 / 512;
  for (int b = 0; b < blocksPerSecond; ++b) moved.Process(Constant(512, 0.0));
  EXPECT_NEAR(LinearToDb(moved.fx->Meter().Envelope(OutputMeter::kPeakL)), -40.0, 0.01);
  // Holds restart every three seconds of blocks: count the blocks from one
  // restart to the next (a loud block in between sets the hold again).
  auto blocksUntilHoldRestarts = [&moved] {
    for (int b = 1; b < 5000; ++b) {
      moved.Process(Constant(512, 0.0));
      if (moved.fx->Meter().HoldDb(OutputMeter::kPeakL) == OutputMeter::kFloorDb) return b;
    }
    return -1;
  };
  blocksUntilHoldRestarts();
  moved.Process(Constant(512, 1.0));
  EXPECT_EQ(1 + blocksUntilHoldRestarts(), 3 * blocksPerSecond);
}

// With the editor closed the blocks do no editor work: meter controls and
// read-outs keep what they showed and nothing is marked for redraw. Opening
// it shows at once what an editor open all along shows.
TEST(EffectMeteringTest, ClosedEditorIsLeftAloneAndShowsCurrentLevelsOnOpening) {
  EffectHarness closed, open;
  for (EffectHarness* h : {&closed, &open}) h->Prepare(kRate, kBlock);
  closed.fx->EditorClosed();
  IGraphics* graphics = closed.fx->Graphics();
  // (The first block tells the release control of the host's tempo.)
  for (EffectHarness* h : {&closed, &open}) h->Process(Constant(kBlock, 0.0));
  // As after two drawn frames: the second clears redraws owed from the first.
  for (int frame = 0; frame < 2; ++frame) {
    for (int c = 0; c < graphics->GetNControls(); ++c) closed.Control(c)->MarkClean();
  }
  const std::string peakBefore = ReadOutText(closed.fx->PeakReadOut());
  const double meterBefore = closed.Control(closed.fx->MeterControlIndex(0))->GetValue();
  for (int block = 0; block < 200; ++block) {
    const std::vector<double> level = Constant(kBlock, block < 100 ? 0.5 : 0.25);
    for (EffectHarness* h : {&closed, &open}) h->Process(level);
    for (int c = 0; c < graphics->GetNControls(); ++c) {
      ASSERT_FALSE(closed.Control(c)->IsDirty()) << "control " << c << ", block " << block;
    }
  }
  EXPECT_EQ(ReadOutText(closed.fx->PeakReadOut()), peakBefore);
  EXPECT_EQ(closed.Control(closed.fx->MeterControlIndex(0))->GetValue(), meterBefore);

  closed.fx->EditorOpened();
  EXPECT_EQ(ReadOutText(closed.fx->PeakReadOut()), ReadOutText(open.fx->PeakReadOut()));
  EXPECT_EQ(ReadOutText(closed.fx->RmsReadOut()), ReadOutText(open.fx->RmsReadOut()));
  EXPECT_EQ(ReadOutText(closed.fx->PeakReadOut()), "-6.02");
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(closed.Control(closed.fx->MeterControlIndex(i))->GetValue(),
              open.Control(open.fx->MeterControlIndex(i))->GetValue())
        << i;
  }
  EXPECT_TRUE(closed.Control(0)->IsDirty());
}

TEST(EffectMeteringTest, OneInputGreysTheStereoControlsUntilTwoAreSeen) {
  const int stereoControls[] = {9, 10, 5, 3};  // pan, width, phase R, channel selector
  EffectHarness h;
  h.Prepare(kRate, kBlock, /*stereoInput=*/false);
  for (int c : stereoControls) EXPECT_TRUE(h.Control(c)->IsGreyed()) << c;
  EXPECT_FALSE(h.Control(4)->IsGreyed());  // phase L
  // Mono: the width stage always takes the identical-inputs path.
  h.Set(kStereoWidth, 0.0);
  const Stereo out = h.Process(Constant(kBlock, 0.3), Constant(kBlock, -0.3));
  EXPECT_EQ(out.left, Constant(kBlock, 0.3));
  EXPECT_EQ(out.right, Constant(kBlock, 0.3));
  h.Prepare(kRate, kBlock, /*stereoInput=*/true);
  for (int c : stereoControls) EXPECT_FALSE(h.Control(c)->IsGreyed()) << c;
}

}  // namespace
