// The ring and its RMS: lengths, wrapping, and the running sums against the
// straight whole-window sum.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "effect/dsp/CircularBuffer.h"
#include "effect/dsp/RMSBuffer.h"

namespace {

class WrapCounter : public CircularBuffer {
 public:
  int wraps = 0;

 protected:
  void WrapNotification() override { ++wraps; }
};

TEST(CircularBufferTest, PushWrapsAndNotifies) {
  WrapCounter ring;
  EXPECT_FALSE(ring.OwnsItems());
  const double nothing[2] = {1.0, 2.0};
  ring.Push(nothing, 2);  // length 0 takes nothing
  ring.Resize(3);
  EXPECT_TRUE(ring.OwnsItems());
  const double samples[7] = {1, 2, 3, 4, 5, 6, 7};
  ring.Push(samples, 7);
  EXPECT_EQ(ring.wraps, 2);
  EXPECT_EQ(ring.WritePosition(), 1);
  EXPECT_EQ(ring.Items()[0], 7.0);
  EXPECT_EQ(ring.Items()[1], 5.0);
  EXPECT_EQ(ring.Items()[2], 6.0);
  ring.Resize(2);
  EXPECT_EQ(ring.Items()[0], 0.0);
  EXPECT_EQ(ring.WritePosition(), 0);
}

TEST(RMSBufferTest, WindowLengthFromIntegerProduct) {
  struct Case {
    int sampleRate;
    int ms;
    int length;
  };
  for (const Case& c : {Case{44100, 600, 26460}, Case{44100, 100, 4410}, Case{22050, 333, 7342},
                        Case{48000, 1000, 48000}, Case{0, 600, 0}}) {
    RMSBuffer buffer;
    buffer.SetSampleRate(c.sampleRate);
    buffer.Window(c.ms);
    EXPECT_EQ(buffer.Length(), c.length) << c.sampleRate << " " << c.ms;
    EXPECT_EQ(buffer.ComputeRms(), 0.0);
  }
}

TEST(RMSBufferTest, RmsIsOverTheWholeRingIncludingZeros) {
  RMSBuffer buffer;
  buffer.SetSampleRate(1000);
  buffer.Window(100);  // 100 items
  std::vector<double> ones(25, 1.0);
  buffer.Push(ones.data(), 25);
  EXPECT_DOUBLE_EQ(buffer.ComputeRms(), std::sqrt(25.0 / 100.0));
  EXPECT_EQ(buffer.RmsValue(), buffer.ComputeRms());
}

// Relative difference between the running RMS and the straight one.
double RelativeError(RMSBuffer& buffer) {
  const double direct = std::sqrt(buffer.DirectSumOfSquares() / buffer.Length());
  const double running = buffer.ComputeRms();
  if (direct == 0.0) return running == 0.0 ? 0.0 : 1.0;
  return std::fabs(running - direct) / direct;
}

TEST(RMSBufferTest, RunningSumMatchesWholeWindowOnLongRandomSignals) {
  std::mt19937 rng(1234);
  std::uniform_real_distribution<double> sample(-1.0, 1.0);
  std::uniform_int_distribution<int> blockSize(1, 700);
  for (int ms : {100, 600, 1000}) {
    RMSBuffer buffer;
    buffer.SetSampleRate(44100);
    buffer.Window(ms);
    std::vector<double> block(700);
    double worst = 0.0;
    // Loud random material, then quieter by 120 dB, then silence and back:
    // the hard case for running sums is loud material leaving the window.
    const double scales[] = {1.0, 1e-6, 0.0, 0.3};
    for (double scale : scales) {
      long pushed = 0;
      while (pushed < 3L * buffer.Length() + 1000) {
        // Half the blocks are whole chunks, as hosts with power-of-two blocks send.
        const int drawn = blockSize(rng);
        const int n = drawn % 2 ? drawn : RMSBuffer::kChunk * (1 + drawn % 8);
        for (int i = 0; i < n; ++i) block[i] = scale * sample(rng);
        buffer.Push(block.data(), n);
        worst = std::fmax(worst, RelativeError(buffer));
        pushed += n;
      }
    }
    EXPECT_LT(worst, 1e-9) << ms;
  }
}

TEST(RMSBufferTest, SilenceAfterLoudMaterialReadsExactlyZero) {
  RMSBuffer buffer;
  buffer.SetSampleRate(1000);
  buffer.Window(130);  // not a whole number of chunks
  std::vector<double> loud(130, 1.0), silence(130, 0.0);
  buffer.Push(loud.data(), 70);
  buffer.Push(silence.data(), 130);
  EXPECT_EQ(buffer.ComputeRms(), 0.0);
}

}  // namespace

namespace {

// A sample that is not finite (or whose square would overflow the sums) is
// reported and taken out of the ring at once, wherever the block put it,
// also when a block longer than the window wrote over it again.
TEST(RMSBufferTest, FaultySamplesAreReportedAndLeaveTheRingAtOnce) {
  struct Case {
    double bad;
    int blockSize;
    int at;
  };
  const Case cases[] = {{std::nan(""), 50, 3},  {HUGE_VAL, 50, 49},   {-HUGE_VAL, 64, 0},
                        {1e200, 50, 10},        {std::nan(""), 400, 5},  // 400 > window
                        {HUGE_VAL, 400, 399}};
  for (const Case& c : cases) {
    RMSBuffer buffer;
    buffer.SetSampleRate(1000);
    buffer.Window(130);
    std::vector<double> block(static_cast<size_t>(c.blockSize), 0.5);
    buffer.Push(block.data(), c.blockSize);
    buffer.ComputeRms();
    EXPECT_FALSE(buffer.LastPushHadFault());
    block[static_cast<size_t>(c.at)] = c.bad;
    buffer.Push(block.data(), c.blockSize);
    const double rms = buffer.ComputeRms();
    EXPECT_TRUE(buffer.LastPushHadFault()) << c.bad << " " << c.blockSize;
    EXPECT_TRUE(std::isfinite(rms)) << c.bad << " " << c.blockSize;
    EXPECT_TRUE(std::isfinite(buffer.DirectSumOfSquares())) << c.bad << " " << c.blockSize;
    EXPECT_LT(RelativeError(buffer), 1e-12) << c.bad << " " << c.blockSize;
    // Further blocks: no fault, the running sums still match the ring.
    std::fill(block.begin(), block.end(), 0.25);
    for (int i = 0; i < 5; ++i) {
      buffer.Push(block.data(), c.blockSize);
      EXPECT_LT(RelativeError(buffer), 1e-12) << c.bad << " " << c.blockSize;
      EXPECT_FALSE(buffer.LastPushHadFault()) << c.bad << " " << c.blockSize;
    }
  }
}

}  // namespace
