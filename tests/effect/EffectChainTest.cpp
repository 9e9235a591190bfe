// The per-block chain on short known signals, through ProcessAudio.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

#include "effect/dsp/ButterLowPass.h"
#include "effect/dsp/DCBlocker.h"
#include "effect/dsp/Decibels.h"
#include "tests/effect/EffectHarness.h"

namespace {

using effect_test::Constant;
using effect_test::EffectHarness;
using effect_test::Ramp;
using effect_test::Stereo;

constexpr int kRate = 48000;
constexpr int kBlock = 16;

// Runs silent blocks until every smoother sits exactly on its target.
void Settle(EffectHarness& h, int n = kBlock) {
  for (int i = 0; i < 3000; ++i) h.Process(Constant(n, 0.0));
}

std::vector<double> Scaled(const std::vector<double>& v, double f) {
  std::vector<double> out = v;
  for (double& x : out) x *= f;
  return out;
}

// The width stage at 100 % on differing inputs: mid plus side, as computed.
Stereo MidSide(const std::vector<double>& l, const std::vector<double>& r, double width) {
  Stereo out{l, r};
  for (size_t i = 0; i < l.size(); ++i) {
    double m = (l[i] + r[i]) * 0.5, s = (l[i] - r[i]) * 0.5;
    if (width > 100.0) m *= 100.0 / width;
    s *= width / 100.0;
    out.left[i] = m + s;
    out.right[i] = m - s;
  }
  return out;
}

struct ChainCase {
  const char* name;
  std::vector<std::pair<int, double>> settings;
  // Expected output for the block inputs l, r.
  std::function<Stereo(const std::vector<double>&, const std::vector<double>&)> expected;
};

TEST(EffectChainTest, StepsOnKnownSignals) {
  const std::vector<double> l = Ramp(kBlock, -0.4, 0.05);
  const std::vector<double> r = Ramp(kBlock, 0.3, -0.03);
  const double pan = 0.3;
  const std::vector<ChainCase> cases = {
      {"defaults", {}, [](auto& a, auto& b) { return MidSide(a, b, 100); }},
      {"mute", {{kMute, 1}}, [](auto& a, auto&) { return Stereo{Scaled(a, 0), Scaled(a, 0)}; }},
      {"selector L", {{kChannelSelector, 1}}, [](auto& a, auto&) { return MidSide(a, a, 100); }},
      {"selector R", {{kChannelSelector, 2}}, [](auto&, auto& b) { return MidSide(b, b, 100); }},
      {"selector RL", {{kChannelSelector, 3}}, [](auto& a, auto& b) { return MidSide(b, a, 100); }},
      {"selector 0.9 is LR", {{kChannelSelector, 0.9}},
       [](auto& a, auto& b) { return MidSide(a, b, 100); }},
      {"phase L", {{kPhaseRevL, 1}}, [](auto& a, auto& b) { return MidSide(Scaled(a, -1), b, 100); }},
      {"phase R", {{kPhaseRevR, 1}}, [](auto& a, auto& b) { return MidSide(a, Scaled(b, -1), 100); }},
      {"gain +6", {{kGainLevel, 6}},
       [](auto& a, auto& b) {
         const double f = std::exp(6 * 0.1151292546497);
         return MidSide(Scaled(a, f), Scaled(b, f), 100);
       }},
      {"pan right", {{kPan, 30}},
       [&](auto& a, auto& b) { return MidSide(Scaled(a, 1 - pan), Scaled(b, 1 + pan), 100); }},
      {"pan full left", {{kPan, -100}},
       [](auto& a, auto& b) { return MidSide(Scaled(a, 2), Scaled(b, 0), 100); }},
      {"pan full right", {{kPan, 100}},
       [](auto& a, auto& b) { return MidSide(Scaled(a, 0), Scaled(b, 2), 100); }},
      {"width 0", {{kStereoWidth, 0}}, [](auto& a, auto& b) { return MidSide(a, b, 0); }},
      {"width 200", {{kStereoWidth, 200}}, [](auto& a, auto& b) { return MidSide(a, b, 200); }},
      {"selector L, width 150", {{kChannelSelector, 1}, {kStereoWidth, 150}},
       [](auto& a, auto&) { return Stereo{Scaled(a, 100.0 / 150), Scaled(a, 100.0 / 150)}; }},
  };
  for (const ChainCase& c : cases) {
    SCOPED_TRACE(c.name);
    EffectHarness h;
    h.Prepare(kRate, kBlock);
    for (auto [param, value] : c.settings) h.Set(param, value);
    Settle(h);
    const Stereo out = h.Process(l, r);
    const Stereo want = c.expected(l, r);
    // The smoothers settle to within rounding of their targets.
    for (int i = 0; i < kBlock; ++i) {
      ASSERT_NEAR(out.left[i], want.left[i], 1e-12) << i;
      ASSERT_NEAR(out.right[i], want.right[i], 1e-12) << i;
    }
  }
}

TEST(EffectChainTest, DcBlockFiltersBothChannels) {
  EffectHarness h;
  h.Prepare(kRate, kBlock);
  h.Set(kDcBlock, 1);
  const std::vector<double> in = Constant(kBlock, 0.5);
  const Stereo out = h.Process(in);
  DCBlocker reference;
  reference.SetSampleRate(kRate);
  std::vector<double> want = in;
  reference.Process(want.data(), kBlock);
  // Identical inputs with width 100: the width stage leaves them alone.
  EXPECT_EQ(out.left, want);
  EXPECT_EQ(out.right, want);
}

TEST(EffectChainTest, MonoHostRunsBothBlockersOverOneBuffer) {
  EffectHarness h;
  h.Prepare(kRate, kBlock, /*stereoInput=*/false);
  h.Set(kDcBlock, 1);
  const std::vector<double> in = Constant(kBlock, 0.5);
  const Stereo out = h.Process(in, Constant(kBlock, 0.9));  // right input ignored
  DCBlocker first, second;
  first.SetSampleRate(kRate);
  second.SetSampleRate(kRate);
  std::vector<double> want = in;
  first.Process(want.data(), kBlock);
  second.Process(want.data(), kBlock);
  EXPECT_EQ(out.left, want);
  EXPECT_EQ(out.right, want);
}

TEST(EffectChainTest, ClipHoldsFullScaleExactly) {
  EffectHarness h;
  h.Prepare(kRate, 4);
  h.Set(kClip, 1);
  Settle(h, 4);
  const Stereo out = h.Process({1.0, 1.5, -3.0, 0.25});
  EXPECT_EQ(out.left, (std::vector<double>{1.0, 1.0, -1.0, 0.25}));
  EXPECT_EQ(out.right, out.left);
}

TEST(EffectChainTest, LimiterOnSingleOverloadAndRestartOnLimitChange) {
  EffectHarness h;
  h.Prepare(kRate, 8);
  h.Set(kLimit, 1);
  Settle(h, 8);
  Stereo out = h.Process({2.0, 0.5, 0.5, 0, 0, 0, 0, 0});
  EXPECT_EQ(out.left[0], 1.0);
  EXPECT_LT(out.left[1], 0.26);  // scaled by 1 / envelope (about 2)
  EXPECT_GT(h.fx->Limiter(0).Envelope(), 1.0);
  h.Set(kLimit, 0);
  h.Set(kLimit, 1);
  EXPECT_EQ(h.fx->Limiter(0).Envelope(), 0.0);
  EXPECT_EQ(h.fx->Limiter(1).Envelope(), 0.0);
  out = h.Process(Constant(8, 0.5));
  EXPECT_EQ(out.left, Constant(8, 0.5));
}

TEST(EffectChainTest, GainGlidesFromZeroAfterABlockSizeChange) {
  EffectHarness h;
  h.Prepare(kRate, 64);
  h.Set(kGainLevel, 6.0);
  Settle(h, 64);
  EXPECT_NEAR(h.fx->Smoother(kGainLevel).Current(), 6.0, 1e-12);
  const std::vector<double> in = Constant(128, 0.25);
  Stereo out = h.Process(in);  // new block size: smoothers restart from 0
  EXPECT_EQ(h.fx->LastBlockSize(), 128);
  const double c = std::exp(-1.0 / ((kRate / 128) * 0.005));
  EXPECT_DOUBLE_EQ(h.fx->Smoother(kGainLevel).Coefficient(), c);
  const double g = (1.0 - c) * 6.0;
  EXPECT_DOUBLE_EQ(out.left[0], 0.25 * DbToLinear(g));
  // Width restarted from 0 as well: identical inputs stay untouched by it.
  EXPECT_EQ(out.left, out.right);
  out = h.Process(in);
  EXPECT_DOUBLE_EQ(out.left[0], 0.25 * DbToLinear((1.0 - c) * 6.0 + c * g));
}

TEST(EffectChainTest, IdenticalInputsAreWidenedByDelayingTheLeft) {
  // One block per second: the smoothers reach their targets at once and the
  // widener keeps its 10 ms delay.
  EffectHarness h;
  h.Prepare(kRate, kRate);
  std::vector<double> in(kRate);
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> sample(-0.5, 0.5);
  for (double& x : in) x = sample(rng);

  h.Set(kStereoWidth, 100);
  Stereo out = h.Process(in);
  EXPECT_EQ(out.left, in);  // at 100 % the width stage does nothing
  EXPECT_EQ(out.right, in);

  h.Set(kStereoWidth, 200);
  out = h.Process(in);
  EXPECT_EQ(h.fx->Widener().DelayMs(), 10);
  EXPECT_EQ(h.fx->Widener().DelayLength(), 480);
  ButterLowPass lowPass;
  lowPass.Design(20000.0, kRate);
  for (int i = 0; i < kRate; ++i) {
    const double filtered = lowPass.Process(in[i]);
    if (i + 480 < kRate) {
      ASSERT_EQ(out.left[i + 480], filtered) << i;
    }
  }
  for (int i = 0; i < 480; ++i) ASSERT_EQ(out.left[i], 0.0);
  EXPECT_EQ(out.right, in);
}

TEST(EffectChainTest, WidthGlideSetsTheDelayFromTheSecondStep) {
  EffectHarness h;
  h.Prepare(kRate, 480);  // B = 100 blocks per second
  h.Set(kStereoWidth, 200);
  const std::vector<double> in = Constant(480, 0.1);
  for (int i = 0; i < 3; ++i) h.Process(in);
  const ParamSmoother& width = h.fx->Smoother(kStereoWidth);
  ASSERT_GT(width.Current(), 100.0);
  EXPECT_EQ(h.fx->Widener().DelayMs(), static_cast<int>((width.Current() - 100.0) * 10.0 / 100.0));
}

TEST(EffectChainTest, ZeroFramesLeaveOutputsButStillWatchTheTransport) {
  EffectHarness h;
  h.Prepare(kRate, kBlock);
  h.Set(kAutoGainOnOff, 1);
  TransportInfo playing;
  playing.running = true;
  h.fx->SetTransportInfo(playing);
  h.Process(Constant(kBlock, 0.1));
  TransportInfo stopped;
  h.fx->SetTransportInfo(stopped);
  double sentinel = 42.0;
  double* in[2] = {&sentinel, &sentinel};
  double* out[2] = {&sentinel, &sentinel};
  h.fx->ProcessAudio(in, out, 0);
  EXPECT_EQ(sentinel, 42.0);
  EXPECT_EQ(h.Get(kAutoGainOnOff), 0.0);
  EXPECT_FALSE(h.fx->AutoGainEnabled());
  EXPECT_EQ(h.Control(7)->GetValue(), 0.0);
}

// A deliverable whose host needs a reset before its first block.
class FirstBlockResetEffect : public VelmarStratum {
 public:
  HostFormat GetHostFormat() override { return HostFormatAax; }
};

TEST(EffectChainTest, FirstBlockResetOnlyWhereTheFormatNeedsIt) {
  testsupport::UsePrivateSegmentNamespace();
  FirstBlockResetEffect aax;
  aax.ChangeSampleRate(96000);
  EffectHarness other;
  other.fx->ChangeSampleRate(96000);
  std::vector<double> zeros(32, 0.0), l(32), r(32);
  double* in[2] = {zeros.data(), zeros.data()};
  double* out[2] = {l.data(), r.data()};
  aax.ProcessAudio(in, out, 32);
  other.fx->ProcessAudio(in, out, 32);
  EXPECT_EQ(aax.IntegerSampleRate(), 96000);
  EXPECT_FALSE(aax.FirstBlockResetPending());
  EXPECT_EQ(other.fx->IntegerSampleRate(), 0);
  EXPECT_TRUE(other.fx->FirstBlockResetPending());
}

TEST(EffectChainTest, InPlaceHostBuffersAndDenormalModeRestored) {
  EffectHarness h;
  h.Prepare(kRate, kBlock);
  h.Set(kGainLevel, -6.0);
  Settle(h);
  std::vector<double> left = Ramp(kBlock, 0.1, 0.01), right = Ramp(kBlock, -0.1, 0.02);
  const Stereo want = h.Process(left, right);
  Settle(h);
  // Outputs on the same buffers as the inputs, crossed over.
  double* in[2] = {left.data(), right.data()};
  double* out[2] = {right.data(), left.data()};
  h.fx->ProcessAudio(in, out, kBlock);
  EXPECT_EQ(right, want.left);
  EXPECT_EQ(left, want.right);
  // The caller's floating-point mode is back: denormals survive.
  volatile double tiny = 2.2250738585072014e-308;
  EXPECT_GT(tiny * 0.5, 0.0);
}

// After a block with a sample that is not finite (or absurdly large), no
// state of the chain is left unusable and the next block is finite.
TEST(EffectChainTest, NonFiniteInputLeavesNoStatePoisoned) {
  const double kBad[] = {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e300};
  for (double bad : kBad) {
    for (bool identical : {false, true}) {
      EffectHarness h;
      h.Prepare(kRate, 256);
      for (int p : {kDcBlock, kAutoGainMode, kAutoGainOnOff, kClip, kLimit}) h.Set(p, 1.0);
      h.Set(kStereoWidth, 150.0);
      std::vector<double> left = Ramp(256, -0.5, 1.0 / 256), right = Scaled(left, -0.5);
      if (identical) right = left;
      h.Process(left, right);
      std::vector<double> hostileL = left, hostileR = right;
      hostileL[40] = bad;
      hostileR[identical ? 40 : 90] = bad;
      h.Process(hostileL, hostileR);
      const Stereo out = h.Process(left, right);
      const VelmarStratum& fx = *h.fx;
      for (int i = 0; i < 256; ++i) {
        ASSERT_TRUE(std::isfinite(out.left[i]) && std::isfinite(out.right[i])) << bad << " " << i;
      }
      for (int c = 0; c < 2; ++c) {
        EXPECT_TRUE(std::isfinite(fx.DcBlocker(c).X1() + fx.DcBlocker(c).Y1())) << bad;
        EXPECT_TRUE(std::isfinite(fx.Limiter(c).Envelope() + fx.Limiter(c).HalfPeak())) << bad;
        const AutoGainMeter& meter = fx.AutoGain(c);
        EXPECT_TRUE(std::isfinite(meter.LevelMemoryDb() + meter.TargetGain() +
                                  meter.SmoothedGain() + meter.LastRms()))
            << bad;
        EXPECT_TRUE(std::isfinite(meter.Window().DirectSumOfSquares())) << bad;
        EXPECT_TRUE(std::isfinite(fx.Meter().Window(c).DirectSumOfSquares())) << bad;
      }
      for (int level = 0; level < OutputMeter::kLevelCount; ++level) {
        EXPECT_TRUE(std::isfinite(fx.Meter().Envelope(static_cast<OutputMeter::Level>(level))));
      }
      EXPECT_TRUE(fx.Widener().LowPass().StateIsFinite()) << bad;
      for (double v : fx.Widener().Buffer()) ASSERT_TRUE(std::isfinite(v)) << bad;
      for (int p = 0; p < kNumParams; ++p) {
        EXPECT_TRUE(std::isfinite(fx.Smoother(p).Current())) << bad << " " << p;
      }
    }
  }
}

}  // namespace
