// The AAX module and the VST3 bundle render the same effect: on the float
// path, with the same settings and input, their outputs are equal sample for
// sample, mono and stereo, processing and (for AAX) its master bypass aside.

#include <cmath>
#include <string>
#include <vector>

#include "tests/deliverables/aax-linux/AaxHostedTest.h"
#include "tools/vst3host/LoadedPlugin.h"

namespace {

constexpr int kBlock = 1024;  // the AAX effect's block size, announced to VST3 too
constexpr int kBlocks = 24;
constexpr double kRate = 48000.0;
// The VST3 controller lists "Preset" and "Bypass" before the effect's own.
constexpr int kVst3FirstEffectParameter = 2;

struct Setting {
  int paramIdx;
  double normalized;
};

struct Case {
  const char* name;
  int channels;
  std::vector<Setting> settings;
};

// A signal with some overs for the clip and limiter, different per channel.
float Sample(int channel, int frame) {
  const double t = static_cast<double>(frame);
  return static_cast<float>(1.3 * std::sin(0.011 * t * (channel + 1)) * std::sin(0.0007 * t) +
                            0.05 * channel);
}

class AaxVst3RenderEquality : public AaxHostedTest, public ::testing::WithParamInterface<Case> {};

TEST_P(AaxVst3RenderEquality, OutputsAreEqualSampleForSample) {
  const Case& c = GetParam();
  vst3host::LoadedPlugin vst3;
  std::string error;
  ASSERT_TRUE(vst3host::LoadPlugin(STRATUM_VST3_BUNDLE_DIR, &vst3, &error)) << error;
  ASSERT_TRUE(vst3.instance->Prepare(c.channels, kRate, kBlock, false, false, &error)) << error;

  std::unique_ptr<aaxhost::AaxInstance> aax = Make(c.channels == 1 ? kMonoConfiguration
                                                                   : kStereoConfiguration);
  ASSERT_NE(aax, nullptr);
  ASSERT_EQ(aax->Controller().sampleRate, kRate);
  aax->Transport().tempo = 120.0;

  for (const Setting& s : c.settings) {
    vst3.instance->SetParameter(kVst3FirstEffectParameter + s.paramIdx, s.normalized);
    const std::string id = std::to_string(s.paramIdx + 1);
    ASSERT_EQ(aax->Parameters()->UpdateParameterNormalizedValue(id.c_str(), s.normalized,
                                                                AAX_eUpdateSource_Unspecified),
              AAX_SUCCESS);
  }

  FloatBlock aaxIn(c.channels, kBlock), aaxOut(c.channels, kBlock);
  std::vector<std::vector<double>> vstIn(c.channels, std::vector<double>(kBlock));
  std::vector<std::vector<double>> vstOut(c.channels, std::vector<double>(kBlock));
  std::vector<const double*> vstInPointers;
  std::vector<double*> vstOutPointers;
  for (int ch = 0; ch < c.channels; ++ch) {
    vstInPointers.push_back(vstIn[ch].data());
    vstOutPointers.push_back(vstOut[ch].data());
  }
  vst3host::TransportSettings transport;
  transport.tempo = 120.0;
  transport.playing = false;

  int differing = 0;
  for (int block = 0; block < kBlocks; ++block) {
    for (int ch = 0; ch < c.channels; ++ch) {
      for (int s = 0; s < kBlock; ++s) {
        aaxIn.samples[ch][s] = Sample(ch, block * kBlock + s);
        vstIn[ch][s] = aaxIn.samples[ch][s];
      }
    }
    aax->Render(aaxIn.Pointers(), aaxOut.Pointers(), kBlock);
    vst3.instance->Process(vstInPointers.data(), vstOutPointers.data(), kBlock, transport);
    for (int ch = 0; ch < c.channels; ++ch) {
      for (int s = 0; s < kBlock; ++s) {
        if (aaxOut.samples[ch][s] != static_cast<float>(vstOut[ch][s]) && differing++ < 5) {
          ADD_FAILURE() << "block " << block << " channel " << ch << " sample " << s << ": AAX "
                        << aaxOut.samples[ch][s] << ", VST3 " << vstOut[ch][s];
        }
      }
    }
  }
  EXPECT_EQ(differing, 0);
}

// Normalised values of settings: gain, pan, width, clip, limit, phase,
// channel selector, DC block, auto gain.
const Case kCases[] = {
    {"StereoDefaults", 2, {}},
    {"MonoDefaults", 1, {}},
    {"StereoShaped",
     2,
     {{7, 0.45}, {9, 0.65}, {10, 0.75}, {11, 1.0}, {12, 1.0}, {13, 0.0}, {3, 1.0}, {0, 1.0}}},
    {"StereoSelectorAndWidth", 2, {{2, 1.0}, {10, 0.2}, {4, 1.0}, {7, 0.6}}},
    {"MonoGainLimit", 1, {{7, 0.7}, {12, 1.0}, {0, 1.0}}},
    {"StereoAutoGain", 2, {{6, 1.0}, {5, 1.0}, {8, 0.5}}},
};

INSTANTIATE_TEST_SUITE_P(Settings, AaxVst3RenderEquality, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
