// The shipping bundle against hostile signals, driven the way a host drives
// it: samples that are not finite, absurd levels, denormal floats, and a
// sample-rate change at an unchanged block size.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/adapters/vst3/HostedPluginTest.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr ParamID kDcBlock = 0;
constexpr ParamID kAutoGainMode = 5;
constexpr ParamID kAutoGainOnOff = 6;
constexpr ParamID kGainLevel = 7;
constexpr ParamID kStereoWidth = 10;
constexpr ParamID kClip = 11;
constexpr ParamID kLimit = 12;
constexpr double kWidth150 = 0.75;
constexpr int kFrames = 256;

using Settings = std::vector<std::pair<ParamID, double>>;
using Planar = std::vector<std::vector<float>>;

class VelmarStratumSignalTest : public HostedPluginTest {
 protected:
  void SetUp() override { Open(STRATUM_VST3_BUNDLE_MODULE); }

  // A started instance with the settings applied (in a block without audio).
  std::unique_ptr<PluginInstance> StartWith(const Settings& settings, double rate = 48000.0,
                                            int frames = kFrames) {
    std::unique_ptr<PluginInstance> instance = Another();
    if (instance == nullptr || !Start(*instance, kSample32, rate, frames)) return nullptr;
    HostParameterChanges changes;
    for (const auto& setting : settings) changes.Add(setting.first, 0, setting.second);
    EXPECT_EQ(ProcessChangesOnly(*instance->Processor(), {&changes}), kResultOk);
    return instance;
  }

  // Block number block of a sine of the given amplitude, the right channel
  // the same or a different one.
  static Planar Sine(int block, double amplitude, bool identical, int frames = kFrames) {
    Planar in(2, std::vector<float>(static_cast<size_t>(frames)));
    for (int s = 0; s < frames; ++s) {
      const double t = static_cast<double>(block) * frames + s;
      in[0][s] = static_cast<float>(amplitude * std::sin(0.031 * t));
      in[1][s] = identical ? in[0][s] : static_cast<float>(amplitude * std::cos(0.017 * t));
    }
    return in;
  }

  static Planar Process(PluginInstance& instance, Planar in,
                        IParameterChanges* changes = nullptr) {
    Planar out(2, std::vector<float>(in[0].size(), -3.0f));
    EXPECT_EQ(ProcessPlanar(*instance.Processor(), in, out, {changes}), kResultOk);
    return out;
  }

  static bool AllFinite(const Planar& block) {
    for (const auto& channel : block) {
      for (float v : channel) {
        if (!std::isfinite(v)) return false;
      }
    }
    return true;
  }

  static double Peak(const Planar& block) {
    double peak = 0.0;
    for (const auto& channel : block) {
      for (float v : channel) peak = std::max(peak, std::fabs(static_cast<double>(v)));
    }
    return peak;
  }

  static int Denormals(const Planar& block) {
    int count = 0;
    for (const auto& channel : block) {
      for (float v : channel) count += (v != 0.0f && std::fabs(v) < FLT_MIN) ? 1 : 0;
    }
    return count;
  }
};

struct HostileRow {
  const char* name;
  Settings settings;
  bool identicalInputs;
  bool holdsFullScale;  // clip or limiter on
  bool audibleAtOnce;   // auto gain off: the signal comes straight through
};

const std::vector<HostileRow>& HostileRows() {
  static const std::vector<HostileRow> rows = {
      {"pass-through", {}, false, false, true},
      {"dc block", {{kDcBlock, 1.0}}, false, false, true},
      {"width 150, differing inputs", {{kStereoWidth, kWidth150}}, false, false, true},
      {"width 150, identical inputs", {{kStereoWidth, kWidth150}}, true, false, true},
      {"clip", {{kClip, 1.0}}, false, true, true},
      {"limit", {{kLimit, 1.0}}, false, true, true},
      {"clip and limit", {{kClip, 1.0}, {kLimit, 1.0}}, false, true, true},
      {"auto gain peak", {{kAutoGainOnOff, 1.0}}, false, false, false},
      {"auto gain rms", {{kAutoGainMode, 1.0}, {kAutoGainOnOff, 1.0}}, false, false, false},
      {"every stage, identical inputs",
       {{kDcBlock, 1.0}, {kAutoGainMode, 1.0}, {kAutoGainOnOff, 1.0}, {kStereoWidth, kWidth150},
        {kClip, 1.0}, {kLimit, 1.0}},
       true, true, false},
      {"every stage, differing inputs",
       {{kDcBlock, 1.0}, {kAutoGainMode, 1.0}, {kAutoGainOnOff, 1.0}, {kStereoWidth, kWidth150},
        {kClip, 1.0}, {kLimit, 1.0}},
       false, true, false},
  };
  return rows;
}

// One sample that is not a number or infinite reaches the host as 0 and
// spoils nothing after it: the following blocks of a loud (4x) sine come out
// finite, within full scale where clip or limiter is on, and not silenced.
TEST_F(VelmarStratumSignalTest, ANonFiniteSampleSpoilsNothingAfterIt) {
  const float kBad[] = {NAN, INFINITY, -INFINITY};
  for (const HostileRow& row : HostileRows()) {
    for (float bad : kBad) {
      const std::string what = std::string(row.name) + ", " + std::to_string(bad);
      std::unique_ptr<PluginInstance> started = StartWith(row.settings);
      ASSERT_NE(started, nullptr);
      PluginInstance& instance = *started;
      int block = 0;
      for (; block < 4; ++block) Process(instance, Sine(block, 1.7, row.identicalInputs));
      Planar hostile = Sine(block++, 1.7, row.identicalInputs);
      hostile[0][100] = bad;
      hostile[1][150] = bad;
      EXPECT_TRUE(AllFinite(Process(instance, hostile))) << what;
      for (int after = 0; after < 40; ++after, ++block) {  // over 0.2 s
        const Planar out = Process(instance, Sine(block, 1.7, row.identicalInputs));
        ASSERT_TRUE(AllFinite(out)) << what << ", block " << after << " after";
        if (row.holdsFullScale) {
          ASSERT_LE(Peak(out), 1.0) << what << ", block " << after << " after";
        }
        if (row.audibleAtOnce && after >= 4) {
          ASSERT_GT(Peak(out), 0.9) << what << ", block " << after << " after";
        }
      }
    }
  }
}

// Auto gain answers a louder remembered level with less gain, above full
// scale and at absurd finite levels too: after one peak, a quiet sine comes
// out with a gain that falls as that peak rises, never above the reference.
TEST_F(VelmarStratumSignalTest, AutoGainNeverAnswersALouderPeakWithMoreGain) {
  const float kPeaks[] = {0.25f, 0.5f, 1.0f, 2.0f, 8.0f, 1e10f, 1e30f};
  double previousGain = HUGE_VAL;
  for (float peak : kPeaks) {
    std::unique_ptr<PluginInstance> started = StartWith({{kAutoGainOnOff, 1.0}});
    ASSERT_NE(started, nullptr);
    PluginInstance& instance = *started;
    Planar spike = Sine(0, 0.1, false);
    spike[0][10] = peak;
    Process(instance, spike);
    Planar in, out;
    for (int block = 1; block < 100; ++block) {
      in = Sine(block, 0.1, false);
      out = Process(instance, in);
      ASSERT_TRUE(AllFinite(out)) << peak;
    }
    const double gain = Peak(out) / Peak(in);
    EXPECT_LE(gain, previousGain) << peak;
    if (peak >= 1.0f) {
      // The default reference is -6 dB: a peak at or above full scale is
      // never answered with more than the reference.
      EXPECT_LT(gain, std::pow(10.0, -6.0 / 20.0)) << peak;
    }
    previousGain = gain;
  }
}

// No float sample the host receives is denormal: not when denormal input
// passes through the chain, not in the DC blocker's tail after the signal
// stops.
TEST_F(VelmarStratumSignalTest, FloatOutputCarriesNoDenormals) {
  const Settings rows[] = {
      {},
      {{kDcBlock, 1.0}},
      {{kStereoWidth, kWidth150}},
      {{kLimit, 1.0}, {kClip, 1.0}},
  };
  for (const Settings& settings : rows) {
    for (bool identical : {false, true}) {
      std::unique_ptr<PluginInstance> started = StartWith(settings);
      ASSERT_NE(started, nullptr);
      PluginInstance& instance = *started;
      int denormals = 0;
      for (int block = 0; block < 30; ++block) {
        Planar in = Sine(block, 1.0, identical);
        for (auto& channel : in) {
          for (float& v : channel) v *= 1e-39f;  // every input sample denormal
        }
        denormals += Denormals(Process(instance, in));
      }
      EXPECT_EQ(denormals, 0) << settings.size() << " " << identical;
    }
  }

  std::unique_ptr<PluginInstance> started = StartWith({{kDcBlock, 1.0}});
  ASSERT_NE(started, nullptr);
  PluginInstance& instance = *started;
  for (int block = 0; block < 10; ++block) Process(instance, Sine(block, 0.8, false));
  int denormals = 0;
  Planar out;
  for (int block = 0; block < 1000; ++block) {  // over 5 s of silence
    out = Process(instance, Planar(2, std::vector<float>(kFrames, 0.0f)));
    denormals += Denormals(out);
  }
  EXPECT_EQ(denormals, 0);
  EXPECT_EQ(Peak(out), 0.0);
}

// The smoothers' per-block coefficients follow a new sample rate at an
// unchanged block size: an instance moved from 44.1 to 96 kHz glides a gain
// change exactly as one that ran at 96 kHz from the start.
TEST_F(VelmarStratumSignalTest, GainGlideAfterARateChangeMatchesAFreshInstance) {
  std::unique_ptr<PluginInstance> freshInstance = StartWith({}, 96000.0, 512);
  std::unique_ptr<PluginInstance> movedInstance = StartWith({}, 44100.0, 512);
  ASSERT_NE(freshInstance, nullptr);
  ASSERT_NE(movedInstance, nullptr);
  PluginInstance& fresh = *freshInstance;
  PluginInstance& moved = *movedInstance;
  for (int block = 0; block < 20; ++block) Process(moved, Sine(block, 0.5, false, 512));
  ASSERT_EQ(moved.Processor()->setProcessing(false), kResultOk);
  ASSERT_EQ(moved.Component()->setActive(false), kResultOk);
  ASSERT_TRUE(Start(moved, kSample32, 96000.0, 512));

  // Both settle at 96 kHz, then take the same gain change.
  for (int block = 0; block < 100; ++block) {
    Process(fresh, Sine(block, 0.5, false, 512));
    Process(moved, Sine(block, 0.5, false, 512));
  }
  HostParameterChanges minus20;
  minus20.Add(kGainLevel, 0, 40.0 / 120.0);
  for (int block = 100; block < 104; ++block) {
    const Planar in = Sine(block, 0.5, false, 512);
    const Planar a = Process(fresh, in, block == 100 ? &minus20 : nullptr);
    const Planar b = Process(moved, in, block == 100 ? &minus20 : nullptr);
    EXPECT_EQ(a, b) << "block " << block - 100 << " after the change";
  }
}

}  // namespace
