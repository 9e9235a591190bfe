// The small filters of the chain on short known signals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "effect/dsp/ButterLowPass.h"
#include "effect/dsp/DCBlocker.h"
#include "effect/dsp/LevelEnvelope.h"
#include "effect/dsp/MonoWidener.h"
#include "effect/dsp/ParamSmoother.h"
#include "effect/dsp/PeakLimiter.h"
#include "effect/dsp/ScopedDenormalFlush.h"

namespace {

TEST(DCBlockerTest, CoefficientsUseSinglePrecisionQuotient) {
  for (int sr : {44100, 48000, 96000}) {
    DCBlocker blocker;
    blocker.SetSampleRate(sr);
    const float q = 5.0f / static_cast<float>(sr);
    const double b = std::pow(2.718281828459045, -6.283185307179586 * static_cast<double>(q));
    EXPECT_EQ(blocker.A1(), b) << sr;
    EXPECT_EQ(blocker.B0(), (1.0 + b) * 0.5) << sr;
    EXPECT_EQ(blocker.B1(), (1.0 + b) * -0.5) << sr;
    // The double-precision quotient would give a different pole.
    EXPECT_NE(b, std::exp(-2.0 * M_PI * 5.0 / sr)) << sr;
  }
}

TEST(DCBlockerTest, RemovesOffsetAndKeepsStateAcrossRateChange) {
  DCBlocker blocker;
  blocker.SetSampleRate(48000);
  std::vector<double> block(48000, 0.5);
  blocker.Process(block.data(), static_cast<int>(block.size()));
  // First sample: b0 × (0.5 + 1e-23), nothing before it.
  EXPECT_DOUBLE_EQ(block[0], blocker.B0() * 0.5);
  // One second at a 5 Hz corner: the offset has decayed by e^(-2π × 5).
  EXPECT_LT(std::fabs(block.back()), 0.5 * 1e-12);

  // A new rate must not restart the filter (no click).
  blocker.SetSampleRate(44100);
  double next = 0.5;
  blocker.Process(&next, 1);
  EXPECT_LT(std::fabs(next), 1e-9);
}

TEST(ButterLowPassTest, DesignAndUnityGainAtDc) {
  ButterLowPass lowPass;
  lowPass.Design(20000.0, 48000);
  const double k = std::tan(M_PI * 20000.0 / 48000.0);
  EXPECT_DOUBLE_EQ(lowPass.B0(), k / (1.0 + k));
  EXPECT_DOUBLE_EQ(lowPass.B1(), k / (1.0 + k));
  EXPECT_DOUBLE_EQ(lowPass.A1(), (k - 1.0) / (k + 1.0));
  double y = 0.0;
  for (int i = 0; i < 2000; ++i) y = lowPass.Process(1.0);
  EXPECT_NEAR(y, 1.0, 1e-12);
}

TEST(ButterLowPassTest, CutoffAtOrAboveHalfTheRateIsHeldBelowIt) {
  struct Case {
    int sampleRate;
    double expectedCutoff;
  };
  for (const Case& c : {Case{44100, 20000.0}, Case{40001, 20000.0}, Case{40000, 18000.0},
                        Case{32000, 14400.0}, Case{22050, 9922.5}, Case{8000, 3600.0}}) {
    ButterLowPass lowPass;
    lowPass.Design(20000.0, c.sampleRate);
    EXPECT_DOUBLE_EQ(lowPass.CutoffHz(), c.expectedCutoff) << c.sampleRate;
    // Stable (pole inside the unit circle) and a bounded response to a
    // full-scale alternating signal.
    EXPECT_LT(std::fabs(lowPass.A1()), 1.0) << c.sampleRate;
    double peak = 0.0;
    for (int i = 0; i < 1000; ++i) {
      peak = std::fmax(peak, std::fabs(lowPass.Process(i % 2 ? 1.0 : -1.0)));
    }
    EXPECT_TRUE(std::isfinite(peak));
    EXPECT_LE(peak, 1.0 + 1e-9) << c.sampleRate;
  }
}

TEST(MonoWidenerTest, DelaysAndLowPassesByTheDelayLength) {
  MonoWidener widener;
  widener.SetSampleRate(48000);
  EXPECT_EQ(widener.DelayLength(), 480);  // 10 ms default
  widener.SetDelayMs(5);
  EXPECT_EQ(widener.DelayLength(), 240);

  ButterLowPass reference;
  reference.Design(MonoWidener::kLowPassHz, 48000);
  std::vector<double> signal(1000);
  for (size_t i = 0; i < signal.size(); ++i) signal[i] = std::sin(0.01 * i) + (i == 3 ? 1.0 : 0.0);
  std::vector<double> expected(signal.size(), 0.0);
  for (size_t i = 0; i < signal.size(); ++i) {
    const double filtered = reference.Process(signal[i]);
    if (i + 240 < expected.size()) expected[i + 240] = filtered;
  }
  std::vector<double> out = signal;
  widener.Process(out.data(), 300);  // across two block boundaries
  widener.Process(out.data() + 300, 700);
  for (size_t i = 0; i < out.size(); ++i) ASSERT_EQ(out[i], expected[i]) << i;
}

TEST(MonoWidenerTest, ShortDelaysGiveOneSampleAndRatesDoNotOverflow) {
  MonoWidener widener;
  widener.SetSampleRate(48000);
  widener.SetDelayMs(0);
  EXPECT_EQ(widener.DelayLength(), 0);
  double samples[3] = {1.0, 0.0, 0.0};
  widener.Process(samples, 3);
  EXPECT_EQ(samples[0], 0.0);
  EXPECT_GT(samples[1], 0.5);  // the low-passed impulse, one sample late

  widener.SetDelayMs(999999);
  EXPECT_EQ(widener.DelayMs(), MonoWidener::kMaxDelayMs);
  widener.SetSampleRate(768000);  // 768000 × 5000 exceeds 32 bits
  EXPECT_EQ(widener.DelayLength(), 768000 * 5);
}

TEST(MonoWidenerTest, ResetAtTheSameRateSilencesTheDelay) {
  MonoWidener widener;
  widener.SetSampleRate(8000);  // 80-sample delay
  std::vector<double> loud(80, 0.7);
  widener.Process(loud.data(), 80);
  widener.SetSampleRate(8000);
  std::vector<double> silence(80, 0.0);
  widener.Process(silence.data(), 80);
  EXPECT_EQ(silence, std::vector<double>(80, 0.0));
}

TEST(ParamSmootherTest, GlidesOncePerBlockAndHoldsAtTarget) {
  ParamSmoother smoother;
  smoother.SetTarget(6.0);
  smoother.Restart(0.25);
  EXPECT_DOUBLE_EQ(smoother.Step(), 0.75 * 6.0);
  EXPECT_DOUBLE_EQ(smoother.Step(), 0.75 * 6.0 + 0.25 * 4.5);
  smoother.Restart(0.0);  // large blocks: coefficient 0 reaches the target at once
  EXPECT_EQ(smoother.Step(), 6.0);
  EXPECT_TRUE(smoother.AtTarget());
  EXPECT_EQ(smoother.Step(), 6.0);
}

TEST(PeakLimiterTest, SingleOverFullScaleSampleAndRelease) {
  PeakLimiter limiter;
  limiter.SetSampleRate(48000);
  limiter.SetRelease(2000);
  EXPECT_DOUBLE_EQ(limiter.FastCoefficient(), std::exp(-1.0 / (2000 * 0.25 / 1000.0 * 48000)));
  EXPECT_DOUBLE_EQ(limiter.SlowCoefficient(), std::exp(-1.0 / (2000 / 1000.0 * 48000)));

  std::vector<double> block(3 * 48000, 0.0);
  block[0] = 2.0;
  for (size_t i = 1; i < block.size(); ++i) block[i] = 0.9;
  limiter.Process(block.data(), static_cast<int>(block.size()));
  EXPECT_EQ(block[0], 1.0);
  // Following samples are scaled by 1 / envelope while it is above 1.
  EXPECT_NEAR(block[1], 0.9 / 2.0, 1e-4);
  EXPECT_LT(block[1], 0.9);
  EXPECT_DOUBLE_EQ(limiter.HalfPeak(), 1.0);
  // The fast stage (500 ms) brings the envelope to 1.0 after about 1.2 s;
  // from then on the limiter is transparent.
  EXPECT_LT(block[48000], 0.9);
  EXPECT_EQ(block.back(), 0.9);
}

TEST(PeakLimiterTest, NeverExceedsFullScaleAndPassesQuietSignals) {
  PeakLimiter limiter;
  limiter.SetSampleRate(44100);
  limiter.SetRelease(1000);
  std::vector<double> quiet(512), loud(512);
  for (size_t i = 0; i < quiet.size(); ++i) {
    quiet[i] = 0.99 * std::sin(0.1 * i);
    loud[i] = 8.0 * std::sin(0.37 * i);
  }
  std::vector<double> out = quiet;
  limiter.Process(out.data(), 512);
  EXPECT_EQ(out, quiet);
  limiter.Process(loud.data(), 512);
  for (double x : loud) ASSERT_LE(std::fabs(x), 1.0);
}

TEST(PeakLimiterTest, CoefficientsZeroFollowTheSignalAtOnce) {
  PeakLimiter limiter;  // never given a release
  double samples[3] = {4.0, 0.5, -0.25};
  limiter.Process(samples, 3);
  EXPECT_EQ(samples[0], 1.0);
  EXPECT_EQ(samples[1], 0.5);
  EXPECT_EQ(limiter.Envelope(), 0.25);
}

TEST(LevelEnvelopeTest, InstantAttackAndBlockwiseRelease) {
  LevelEnvelope envelope;
  envelope.SetCoefficients(0.0, 0.5);
  EXPECT_EQ(envelope.Update(0.8), 0.8);
  EXPECT_DOUBLE_EQ(envelope.Update(0.0), 0.4);
  EXPECT_DOUBLE_EQ(envelope.Update(0.2), 0.3);
  EXPECT_EQ(envelope.Update(0.9), 0.9);
}

TEST(ScopedDenormalFlushTest, FlushesInsideAndRestoresAfter) {
  volatile double tiny = std::numeric_limits<double>::min();
  volatile double half = 0.5;
  {
    ScopedDenormalFlush flush;
    const double product = tiny * half;
#if defined(__SSE2__)
    EXPECT_EQ(product, 0.0);
#endif
    (void)product;
  }
  const double product = tiny * half;
  EXPECT_GT(product, 0.0);
}

}  // namespace

namespace {

// The two-channel loops must give exactly what one channel at a time gives.
TEST(PairedProcessingTest, PairsMatchOneChannelAtATime) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> sample(-3.0, 3.0);
  std::vector<double> left(4096), right(4096);
  for (size_t i = 0; i < left.size(); ++i) {
    left[i] = sample(rng) * (i % 1000 < 500 ? 1.0 : 0.1);
    right[i] = sample(rng) * 0.4;
  }
  {
    PeakLimiter a, b, pairA, pairB;
    for (PeakLimiter* l : {&a, &b, &pairA, &pairB}) {
      l->SetSampleRate(48000);
      l->SetRelease(500);
    }
    std::vector<double> l1 = left, r1 = right, l2 = left, r2 = right;
    for (int at = 0; at < 4096; at += 512) {
      a.Process(l1.data() + at, 512);
      b.Process(r1.data() + at, 512);
      PeakLimiter::ProcessPair(pairA, l2.data() + at, pairB, r2.data() + at, 512);
    }
    EXPECT_EQ(l1, l2);
    EXPECT_EQ(r1, r2);
  }
  {
    DCBlocker a, b, pairA, pairB;
    for (DCBlocker* d : {&a, &b, &pairA, &pairB}) d->SetSampleRate(44100);
    std::vector<double> l1 = left, r1 = right, l2 = left, r2 = right;
    a.Process(l1.data(), 4096);
    b.Process(r1.data(), 4096);
    DCBlocker::ProcessPair(pairA, l2.data(), pairB, r2.data(), 4096);
    EXPECT_EQ(l1, l2);
    EXPECT_EQ(r1, r2);
  }
}

}  // namespace

namespace {

// One sample that is not finite may spoil the rest of its block, never the
// next: the stateful pieces, each run as the chain runs them (single and
// paired), must give finite output for the following finite block. The
// limiter must also keep holding full scale after it.
TEST(NonFiniteInputTest, StatefulPiecesRecoverByTheNextBlock) {
  struct Piece {
    const char* name;
    std::function<void(double*, double*, int)> process;
    double fullScale;  // bound on the next block's output (0: only finite)
  };
  const double kBad[] = {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e308};
  for (double bad : kBad) {
    DCBlocker dc, dcL, dcR;
    for (DCBlocker* d : {&dc, &dcL, &dcR}) d->SetSampleRate(48000);
    MonoWidener widener;
    widener.SetSampleRate(48000);
    widener.SetDelayMs(5);
    PeakLimiter limiter, limL, limR;
    for (PeakLimiter* l : {&limiter, &limL, &limR}) {
      l->SetSampleRate(48000);
      l->SetRelease(2000);
    }
    const Piece pieces[] = {
        // Single pieces work on the left buffer; the right one takes a copy.
        {"dc blocker", [&](double* l, double* r, int n) { dc.Process(l, n); std::copy(l, l + n, r); },
         0.0},
        {"dc blocker pair",
         [&](double* l, double* r, int n) { DCBlocker::ProcessPair(dcL, l, dcR, r, n); }, 0.0},
        {"widener",
         [&](double* l, double* r, int n) { widener.Process(l, n); std::copy(l, l + n, r); }, 0.0},
        {"limiter",
         [&](double* l, double* r, int n) { limiter.Process(l, n); std::copy(l, l + n, r); }, 1.0},
        {"limiter pair",
         [&](double* l, double* r, int n) { PeakLimiter::ProcessPair(limL, l, limR, r, n); },
         1.0},
    };
    for (const Piece& piece : pieces) {
      std::vector<double> left(512), right(512);
      for (int i = 0; i < 512; ++i) left[i] = right[i] = 4.0 * std::sin(0.03 * i);
      left[100] = right[200] = bad;
      piece.process(left.data(), right.data(), 512);
      // Several delays' worth of finite blocks: all finite, the limiter at
      // full scale and not silent.
      for (int block = 0; block < 4; ++block) {
        double peak = 0.0;
        for (int i = 0; i < 512; ++i) left[i] = right[i] = 4.0 * std::sin(0.03 * (i + 512 * block));
        piece.process(left.data(), right.data(), 512);
        for (int i = 0; i < 512; ++i) {
          ASSERT_TRUE(std::isfinite(left[i]) && std::isfinite(right[i]))
              << piece.name << " " << bad << " block " << block << " sample " << i;
          peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
        }
        if (piece.fullScale > 0.0) {
          EXPECT_LE(peak, piece.fullScale) << piece.name << " " << bad;
          // (An absurd finite peak rightly holds the gain down for long.)
          if (!std::isfinite(bad)) {
            EXPECT_GT(peak, 0.5) << piece.name << " " << bad;
          }
        }
      }
    }
    EXPECT_TRUE(std::isfinite(dc.X1()) && std::isfinite(dc.Y1())) << bad;
    EXPECT_TRUE(widener.LowPass().StateIsFinite()) << bad;
    for (double v : widener.Buffer()) ASSERT_TRUE(std::isfinite(v)) << bad;
    for (const PeakLimiter* l : {&limiter, &limL, &limR}) {
      EXPECT_TRUE(std::isfinite(l->Envelope()) && std::isfinite(l->HalfPeak())) << bad;
    }
  }
}

// After the signal stops, the blocker's tail ends at exactly 0 instead of
// decaying on through ever tinier numbers.
TEST(DCBlockerTest, TailEndsAtZeroAfterTheSignalStops) {
  DCBlocker blocker;
  blocker.SetSampleRate(48000);
  std::vector<double> block(512, 0.8);
  blocker.Process(block.data(), 512);
  double smallest = 1.0;
  for (int b = 0; b < 500; ++b) {  // about 5 s of silence
    std::fill(block.begin(), block.end(), 0.0);
    blocker.Process(block.data(), 512);
    for (double v : block) {
      if (v != 0.0) smallest = std::min(smallest, std::fabs(v));
    }
  }
  EXPECT_EQ(blocker.Y1(), 0.0);
  EXPECT_EQ(block, std::vector<double>(512, 0.0));
  EXPECT_GT(smallest, 1e-32);
}

}  // namespace
