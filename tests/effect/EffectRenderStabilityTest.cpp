// Speed work must not move results: renders covering every stage, both input
// channel counts and several rates and block sizes are compared with renders
// recorded before (renders/*.render): every kept sample within 1e-9, the
// meter positions, the gain written by auto gain and the read-out texts the
// same. Running the test with STRATUM_RECORD_RENDERS=<folder> writes the
// files anew instead (only when a change of results is intended).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "effect/layout/IReadOutControl.h"
#include "tests/effect/EffectHarness.h"

namespace {

using effect_test::EffectHarness;

// Every kStride-th output sample is kept (a prime, so block starts and
// block middles are both met).
constexpr int kStride = 13;
constexpr int kFrames = 12000;

struct RenderCase {
  const char* name;
  double rate;
  int block;
  bool stereo;
  bool identicalInputs;
  std::vector<std::pair<int, double>> settings;
};

const std::vector<RenderCase>& Cases() {
  static const std::vector<RenderCase> cases = {
      {"all-off-48k-64", 48000, 64, true, false, {}},
      {"all-on-48k-64", 48000, 64, true, false,
       {{kDcBlock, 1}, {kAutoGainMode, 1}, {kAutoGainOnOff, 1}, {kStereoWidth, 150}, {kClip, 1},
        {kLimit, 1}}},
      {"all-on-44k-32", 44100, 32, true, false,
       {{kDcBlock, 1}, {kAutoGainMode, 1}, {kAutoGainOnOff, 1}, {kStereoWidth, 150}, {kClip, 1},
        {kLimit, 1}, {kRmsWindowSize, 1000}}},
      {"all-on-mono-96k-512", 96000, 512, false, false,
       {{kDcBlock, 1}, {kAutoGainOnOff, 1}, {kStereoWidth, 150}, {kClip, 1}, {kLimit, 1}}},
      {"widener-peak-gain-limit-48k-100", 48000, 100, true, true,
       {{kDcBlock, 1}, {kAutoGainOnOff, 1}, {kAutoGainLevel, -12}, {kStereoWidth, 200},
        {kLimit, 1}, {kLimiterReleaseSync, 0}}},
      {"selector-phase-pan-width-44k-256", 44100, 256, true, false,
       {{kChannelSelector, 3}, {kPhaseRevL, 1}, {kPan, 30}, {kStereoWidth, 60},
        {kGainLevel, 4.5}}},
      {"gain-pan-clip-mono-48k-17", 48000, 17, false, false,
       {{kGainLevel, 9}, {kPan, -40}, {kClip, 1}, {kRmsWindowSize, 100}}},
      {"limit-only-88k-128", 88200, 128, true, false,
       {{kGainLevel, 12}, {kLimit, 1}, {kLimiterReleaseSync, 2}, {kStereoWidth, 120}}},
  };
  return cases;
}

// A deterministic test signal: two sines and noise, loud enough for clip and
// limiter, with a DC offset for the blocker.
double Signal(int channel, int64_t t, uint32_t& noise) {
  noise = noise * 1664525u + 1013904223u;
  const double white = (static_cast<double>(noise >> 8) / 16777216.0 - 0.5) * 0.2;
  const double phase = static_cast<double>(t) * (channel == 0 ? 0.013 : 0.021);
  const double envelope = 0.6 + 0.6 * std::sin(static_cast<double>(t) * 0.0007);
  return 0.05 + envelope * (std::sin(phase) + 0.3 * std::sin(phase * 7.1)) + white;
}

struct Render {
  std::vector<double> values;      // kept samples, then meter values and gain
  std::vector<std::string> texts;  // read-out texts
};

void AddDisplay(EffectHarness& h, Render& render) {
  for (int i = 0; i < 8; ++i) {
    render.values.push_back(h.Control(h.fx->MeterControlIndex(i))->GetValue());
  }
  render.values.push_back(h.Get(kGainLevel));
  render.texts.push_back(h.fx->PeakReadOut()->GetText());
  render.texts.push_back(h.fx->RmsReadOut()->GetText());
}

Render RenderCaseNow(const RenderCase& c) {
  EffectHarness h;
  h.Prepare(c.rate, c.block, c.stereo);
  for (const auto& setting : c.settings) h.Set(setting.first, setting.second);
  Render render;
  uint32_t noiseL = 1, noiseR = 2;
  int64_t t = 0;
  for (int done = 0; done < kFrames; done += c.block) {
    std::vector<double> left(static_cast<size_t>(c.block)), right(left.size());
    for (int i = 0; i < c.block; ++i, ++t) {
      left[i] = Signal(0, t, noiseL);
      right[i] = c.identicalInputs ? left[i] : Signal(1, t, noiseR);
    }
    const effect_test::Stereo out = h.Process(left, right);
    for (int i = 0; i < c.block; ++i) {
      if ((done + i) % kStride == 0) {
        render.values.push_back(out.left[i]);
        render.values.push_back(out.right[i]);
      }
    }
    if (done / c.block == kFrames / c.block / 2) AddDisplay(h, render);
  }
  AddDisplay(h, render);
  return render;
}

std::string PathIn(const std::string& folder, const RenderCase& c) {
  return folder + "/" + c.name + ".render";
}

bool Write(const std::string& path, const Render& render) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const uint32_t count = static_cast<uint32_t>(render.values.size());
  std::fwrite(&count, sizeof(count), 1, file);
  std::fwrite(render.values.data(), sizeof(double), count, file);
  const uint32_t texts = static_cast<uint32_t>(render.texts.size());
  std::fwrite(&texts, sizeof(texts), 1, file);
  for (const std::string& text : render.texts) {
    const uint32_t length = static_cast<uint32_t>(text.size());
    std::fwrite(&length, sizeof(length), 1, file);
    std::fwrite(text.data(), 1, length, file);
  }
  return std::fclose(file) == 0;
}

bool Read(const std::string& path, Render* render) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  bool ok = true;
  uint32_t count = 0;
  ok = ok && std::fread(&count, sizeof(count), 1, file) == 1 && count < (1u << 24);
  if (ok) {
    render->values.resize(count);
    ok = std::fread(render->values.data(), sizeof(double), count, file) == count;
  }
  uint32_t texts = 0;
  ok = ok && std::fread(&texts, sizeof(texts), 1, file) == 1 && texts < 64;
  for (uint32_t i = 0; ok && i < texts; ++i) {
    uint32_t length = 0;
    ok = std::fread(&length, sizeof(length), 1, file) == 1 && length < 64;
    std::string text(length, '\0');
    ok = ok && std::fread(&text[0], 1, length, file) == length;
    render->texts.push_back(text);
  }
  std::fclose(file);
  return ok;
}

TEST(EffectRenderStabilityTest, RendersMatchTheRecordedOnes) {
  const char* recordFolder = std::getenv("STRATUM_RECORD_RENDERS");
  for (const RenderCase& c : Cases()) {
    const Render now = RenderCaseNow(c);
    if (recordFolder != nullptr) {
      ASSERT_TRUE(Write(PathIn(recordFolder, c), now)) << c.name;
      continue;
    }
    Render recorded;
    ASSERT_TRUE(Read(PathIn(STRATUM_RENDER_REFERENCES, c), &recorded)) << c.name;
    ASSERT_EQ(now.values.size(), recorded.values.size()) << c.name;
    int worst = -1;
    double worstDifference = 0.0;
    for (size_t i = 0; i < now.values.size(); ++i) {
      const double difference = std::fabs(now.values[i] - recorded.values[i]);
      if (!(difference <= worstDifference)) {
        worstDifference = difference;
        worst = static_cast<int>(i);
      }
    }
    EXPECT_LE(worstDifference, 1e-9) << c.name << ", value " << worst;
    EXPECT_EQ(now.texts, recorded.texts) << c.name;
  }
}

}  // namespace
