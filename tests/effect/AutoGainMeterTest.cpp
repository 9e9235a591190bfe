// Auto gain measurement: level memory, gate, cap, modes and smoothing.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "effect/dsp/AutoGainMeter.h"
#include "effect/dsp/Decibels.h"

namespace {

class AutoGainMeterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    meter.SetGateDb(AutoGainMeter::kDefaultGateDb);
    meter.SetSampleRate(44100);
    meter.SetWindowMs(100);
    meter.SetReferenceDb(-6.0);
    meter.Clear();
  }
  // A block of 512 samples whose peak is the given level in dB.
  static std::vector<double> Block(double peakDb, size_t n = 512) {
    std::vector<double> block(n, 0.0);
    block[n / 2] = DbToLinear(peakDb);
    return block;
  }
  AutoGainMeter meter;
};

TEST_F(AutoGainMeterTest, SampleRateSetsCoefficientsOnlyOnChange) {
  EXPECT_DOUBLE_EQ(meter.RiseCoefficient(), std::exp(-1.0 / 44100));
  EXPECT_DOUBLE_EQ(meter.FallCoefficient(), std::exp(-1.0 / (44100 * 0.01)));
  EXPECT_EQ(meter.Window().SampleRate(), 44100);
  const int length = meter.Window().Length();
  meter.SetSampleRate(44100);
  EXPECT_EQ(meter.Window().Length(), length);
}

TEST_F(AutoGainMeterTest, PeakAtMinus18GivesPlus12AndRisesWithOneSecond) {
  std::vector<double> block = Block(-18.0);
  const double gain = meter.Measure(block.data(), 512);
  EXPECT_NEAR(meter.LevelMemoryDb(), -18.0, 1e-9);
  EXPECT_NEAR(LinearToDb(meter.TargetGain()), 12.0, 1e-9);
  // Cleared: the smoothed gain starts at 0 and rises with the 1 s constant.
  EXPECT_NEAR(gain, meter.TargetGain() * (1.0 - std::exp(-512.0 / 44100)), 1e-9);
}

TEST_F(AutoGainMeterTest, OnlyLouderBlocksAboveTheGateMoveTheTarget) {
  struct Step {
    double peakDb;
    double expectedMemoryDb;
  };
  // Gate -60 dB, memory only rises, quieter material never raises the gain.
  const Step steps[] = {{-70.0, -100.0}, {-60.5, -100.0}, {-20.0, -20.0},
                        {-30.0, -20.0},  {-10.0, -10.0},  {-40.0, -10.0}};
  for (const Step& s : steps) {
    std::vector<double> block = Block(s.peakDb);
    meter.Measure(block.data(), 512);
    EXPECT_NEAR(meter.LevelMemoryDb(), s.expectedMemoryDb, 1e-9) << s.peakDb;
  }
  EXPECT_NEAR(LinearToDb(meter.TargetGain()), 4.0, 1e-9);
  // Silence: level -inf never exceeds the memory.
  std::vector<double> silence(512, 0.0);
  meter.Measure(silence.data(), 512);
  EXPECT_NEAR(meter.LevelMemoryDb(), -10.0, 1e-9);
}

// A louder level never gets more gain, above full scale too (an absurd
// 600 dB peak gives no gain, not the +30 dB cap); only the quiet end is capped.
TEST_F(AutoGainMeterTest, TargetGainFallsAsTheLevelRisesAboveFullScaleToo) {
  struct Case {
    double peakDb;
    double gainDb;
  };
  double previousGainDb = AutoGainMeter::kMaxGainDb;
  for (const Case& c : {Case{-50.0, 30.0}, Case{-36.0, 30.0}, Case{-18.0, 12.0}, Case{0.0, -6.0},
                        Case{6.0, -12.0}, Case{20.0, -26.0}, Case{40.0, -46.0},
                        Case{600.0, -606.0}}) {
    meter.Clear();
    std::vector<double> block = Block(c.peakDb);
    meter.Measure(block.data(), 512);
    const double gainDb = LinearToDb(meter.TargetGain());
    EXPECT_NEAR(gainDb, c.gainDb, 1e-9) << c.peakDb;
    EXPECT_LE(gainDb, previousGainDb) << c.peakDb;
    previousGainDb = gainDb;
  }
}

// Non-finite samples are no level: the memory, target and smoothed gain stay
// finite, and the RMS window gives them up at once.
TEST_F(AutoGainMeterTest, NonFiniteSamplesLeaveTheMeasurementUsable) {
  for (double mode : {0.0, 1.0}) {
    for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
      meter.SetMode(mode);
      meter.Clear();
      std::vector<double> block = Block(-18.0);
      block[10] = bad;
      const double gain = meter.Measure(block.data(), 512);
      EXPECT_TRUE(std::isfinite(gain)) << mode << " " << bad;
      EXPECT_TRUE(std::isfinite(meter.LevelMemoryDb())) << mode << " " << bad;
      EXPECT_TRUE(std::isfinite(meter.LastRms())) << mode << " " << bad;
      EXPECT_TRUE(std::isfinite(meter.Window().DirectSumOfSquares())) << mode << " " << bad;
      std::vector<double> next = Block(-12.0);
      meter.Measure(next.data(), 512);
      EXPECT_TRUE(std::isfinite(meter.LastRms()));
      if (mode == 0.0) {
        EXPECT_NEAR(meter.LevelMemoryDb(), -12.0, 1e-9);
      }
    }
  }
}

TEST_F(AutoGainMeterTest, RmsModeMeasuresTheWholeWindow) {
  meter.SetMode(1.0);
  // A constant 0.5 for 2205 samples fills half of the 4410-sample window.
  std::vector<double> block(2205, 0.5);
  meter.Measure(block.data(), 2205);
  const double rms = std::sqrt(2205 * 0.25 / 4410);
  EXPECT_DOUBLE_EQ(meter.LastRms(), rms);
  EXPECT_EQ(meter.Window().RmsValue(), rms);
  EXPECT_NEAR(meter.LevelMemoryDb(), LinearToDb(rms), 1e-12);
}

TEST_F(AutoGainMeterTest, GainFallsQuicklyToALowerTarget) {
  std::vector<double> block = Block(-30.0);
  for (int i = 0; i < 1000; ++i) meter.Measure(block.data(), 512);  // ~11.6 s: settled
  EXPECT_NEAR(meter.SmoothedGain(), meter.TargetGain(), 1e-3);
  const double start = meter.SmoothedGain();
  std::vector<double> loud = Block(-6.0, 441);  // 10 ms
  const double gain = meter.Measure(loud.data(), 441);
  const double target = meter.TargetGain();
  EXPECT_NEAR(target, 1.0, 1e-12);
  // One 10 ms time constant: 1/e of the way left.
  EXPECT_NEAR((gain - target) / (start - target), std::exp(-1.0), 1e-9);
}

}  // namespace

namespace {

TEST(AutoGainMeterPairTest, PairMatchesOneChannelAtATime) {
  AutoGainMeter meters[4];
  for (AutoGainMeter& m : meters) {
    m.SetSampleRate(48000);
    m.SetWindowMs(200);
    m.SetReferenceDb(-6.0);
    m.SetMode(1.0);
    m.Clear();
  }
  std::vector<double> left(480), right(480);
  for (int block = 0; block < 50; ++block) {
    for (int i = 0; i < 480; ++i) {
      left[i] = 0.3 * std::sin(0.01 * (block * 480 + i)) * (block % 10 + 1) / 10.0;
      right[i] = 0.05 * std::cos(0.02 * (block * 480 + i));
    }
    const double l = meters[0].Measure(left.data(), 480);
    const double r = meters[1].Measure(right.data(), 480);
    double pl = 0.0, pr = 0.0;
    AutoGainMeter::MeasurePair(meters[2], left.data(), meters[3], right.data(), 480, &pl, &pr);
    ASSERT_EQ(l, pl) << block;
    ASSERT_EQ(r, pr) << block;
  }
}

}  // namespace
