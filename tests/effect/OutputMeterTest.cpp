// Output metering: levels, holds, maxima, read-out texts and meter positions.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "effect/dsp/OutputMeter.h"

namespace {

TEST(OutputMeterTest, ReadOutTextsAndMeterPositions) {
  struct Text {
    double db;
    const char* text;
  };
  for (const Text& t : {Text{-90.0, "-90.00"}, Text{-90.0001, "-inf"}, Text{-100.0, "-inf"},
                        Text{0.5, "0.50"}, Text{-12.25, "-12.25"}, Text{3.14159, "3.14"},
                        Text{-INFINITY, "-inf"}}) {
    char out[16];
    OutputMeter::FormatReadOut(t.db, out, sizeof(out));
    EXPECT_STREQ(out, t.text) << t.db;
  }
  struct Position {
    double db;
    double value;
  };
  for (const Position& p : {Position{-30.0, 0.0}, Position{-24.0, 0.0}, Position{-12.0, 0.5},
                            Position{0.0, 1.0}, Position{6.0, 1.0}, Position{-INFINITY, 0.0}}) {
    EXPECT_EQ(OutputMeter::MeterPosition(p.db), p.value) << p.db;
  }
}

class OutputMeterBlocks : public ::testing::Test {
 protected:
  void SetUp() override {
    meter.SetSampleRate(44100);
    meter.SetWindowMs(100);
    meter.SetBlockSize(44100, 512);
  }
  // One block of the chain's end: measure, then holds and display.
  void Block(std::vector<double> left, std::vector<double> right) {
    meter.Measure(left.data(), right.data(), static_cast<int>(left.size()));
    meter.AdvanceHoldPeriod();
    meter.UpdateDisplay(display);
  }
  OutputMeter meter;
  MeterDisplay display{};
};

TEST_F(OutputMeterBlocks, CoefficientsFromBlocksPerSecond) {
  EXPECT_EQ(meter.BlocksPerSecond(), 86);
  const LevelEnvelope& e = meter.EnvelopeOf(OutputMeter::kRmsR);
  EXPECT_EQ(e.Attack(), 0.0);
  EXPECT_DOUBLE_EQ(e.Release(), std::pow(0.01, 1.0 / (86.0 * 1000.0 * 0.001)));
}

TEST_F(OutputMeterBlocks, FullScaleSineReadsZeroPeakAndMinusThreeRms) {
  std::vector<double> sine(512);
  long t = 0;
  for (int block = 0; block < 40; ++block) {  // well past the 100 ms window
    for (double& s : sine) s = std::sin(2.0 * M_PI * 1000.0 * (t++) / 44100.0);
    Block(sine, sine);
  }
  EXPECT_NEAR(20 * std::log10(meter.Envelope(OutputMeter::kPeakL)), 0.0, 0.01);
  EXPECT_NEAR(20 * std::log10(meter.Envelope(OutputMeter::kRmsR)), -3.01, 0.02);
  EXPECT_NEAR(display.meterValues[0], 1.0, 1e-3);
  EXPECT_NEAR(display.meterValues[2], (24.0 - 3.01) / 24.0, 1e-3);
  EXPECT_EQ(std::string(display.rmsText).substr(0, 4), "-3.0");
}

TEST_F(OutputMeterBlocks, NegativeSamplesNeverRaiseThePeak) {
  Block(std::vector<double>(512, 0.5), std::vector<double>(512, 0.5));
  const double before = meter.Envelope(OutputMeter::kPeakL);
  Block(std::vector<double>(512, -0.9), std::vector<double>(512, 0.5));
  // Block peak 0: the envelope falls with the release coefficient.
  EXPECT_DOUBLE_EQ(meter.Envelope(OutputMeter::kPeakL),
                   before * meter.EnvelopeOf(OutputMeter::kPeakL).Release());
}

TEST_F(OutputMeterBlocks, HoldsRestartEveryThreeSecondsOfBlocksMaximaStay) {
  Block(std::vector<double>(512, 0.5), std::vector<double>(512, 0.25));
  const double heldPeak = meter.HoldDb(OutputMeter::kPeakL);
  EXPECT_NEAR(heldPeak, 20 * std::log10(0.5), 1e-9);
  std::vector<double> silence(512, 0.0);
  // 3 × 86 = 258 blocks after the first, the holds restart.
  for (int block = 1; block < 258; ++block) Block(silence, silence);
  EXPECT_EQ(meter.HoldDb(OutputMeter::kPeakL), heldPeak);
  meter.AdvanceHoldPeriod();
  EXPECT_EQ(meter.HoldDb(OutputMeter::kPeakL), OutputMeter::kFloorDb);
  EXPECT_EQ(meter.HoldCounter(), 1);
  EXPECT_EQ(meter.MaximumDb(OutputMeter::kPeakL), heldPeak);
}

TEST_F(OutputMeterBlocks, ClickResetsOnlyItsOwnHoldsAndMaxima) {
  Block(std::vector<double>(512, 0.5), std::vector<double>(512, 0.5));
  EXPECT_STREQ(display.peakText, "-6.02");
  meter.ResetPeakHolds();
  EXPECT_EQ(meter.MaximumDb(OutputMeter::kPeakR), OutputMeter::kFloorDb);
  EXPECT_EQ(meter.HoldDb(OutputMeter::kPeakL), OutputMeter::kFloorDb);
  EXPECT_GT(meter.MaximumDb(OutputMeter::kRmsL), -90.0);
  EXPECT_GT(meter.HoldDb(OutputMeter::kRmsR), -90.0);
  // After the click the maximum restarts from the falling envelope
  // (40 dB per second: -6.02 - 40 / 86 dB one block later).
  std::vector<double> silence(512, 0.0);
  Block(silence, silence);
  EXPECT_STREQ(display.peakText, "-6.49");
  meter.ResetRmsHolds();
  EXPECT_EQ(meter.MaximumDb(OutputMeter::kRmsL), OutputMeter::kFloorDb);
}

// The meter guards the output: samples that are not finite leave it as 0
// and never reach the envelopes, holds or texts; finite ones stay as they are.
TEST_F(OutputMeterBlocks, NonFiniteSamplesBecomeZeroAndMetersStayFinite) {
  for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
    std::vector<double> left(512, 0.5), right(512, -0.25);
    left[7] = bad;
    right[511] = bad;
    meter.Measure(left.data(), right.data(), 512);
    EXPECT_EQ(left[7], 0.0) << bad;
    EXPECT_EQ(right[511], 0.0) << bad;
    EXPECT_EQ(left[8], 0.5) << bad;
    EXPECT_EQ(right[510], -0.25) << bad;
    meter.AdvanceHoldPeriod();
    meter.UpdateDisplay(display);
    for (int level = 0; level < OutputMeter::kLevelCount; ++level) {
      const auto l = static_cast<OutputMeter::Level>(level);
      EXPECT_TRUE(std::isfinite(meter.Envelope(l))) << bad << " " << level;
    }
    EXPECT_NEAR(meter.Envelope(OutputMeter::kPeakL), 0.5, 1e-12) << bad;
    EXPECT_STREQ(display.peakText, "-6.02") << bad;
  }
}

}  // namespace
