// The VST2 hosting library against the adapter's test module and against a
// third-party VST2 effect from Debian (skipped when none is installed).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <vector>

#include "tools/vst2host/Vst2Plugin.h"

namespace {

using vst2host::Vst2Plugin;
using vst2host::Vst2Transport;

// Level of the test module scales the audio by Level / 100.
void ProcessConstant(Vst2Plugin& plugin, double in, std::vector<double>* outLeft,
                     std::vector<double>* outRight, int frames) {
  std::vector<double> left(frames, in), right(frames, -in);
  outLeft->assign(frames, 9.0);
  outRight->assign(frames, 9.0);
  const double* inputs[2] = {left.data(), right.data()};
  double* outputs[2] = {outLeft->data(), outRight->data()};
  plugin.Process(inputs, outputs, frames, Vst2Transport());
}

TEST(Vst2Plugin, DrivesTheTestModule) {
  std::string error;
  auto plugin = Vst2Plugin::Load(STRATUM_TEST_VST2_MODULE, &error);
  ASSERT_NE(plugin, nullptr) << error;
  EXPECT_TRUE(Vst2Plugin::IsVst2Module(STRATUM_TEST_VST2_MODULE));
  EXPECT_EQ(plugin->EffectName(), "StratumTestEffect2");
  EXPECT_EQ(plugin->VendorName(), "Velmar");
  EXPECT_EQ(plugin->NumInputs(), 2);
  EXPECT_TRUE(plugin->KeepsChunks());

  const int level = plugin->FindParameter("level");
  ASSERT_EQ(level, 0);
  EXPECT_EQ(plugin->FindParameter("No Such"), -1);
  ASSERT_TRUE(plugin->SetFromText(level, "25", &error)) << error;
  EXPECT_EQ(plugin->ParameterDisplay(level), "25.0");
  EXPECT_FALSE(plugin->SetFromText(plugin->FindParameter("Mode"), "Z", &error));

  for (bool doublePrecision : {false, true}) {
    // Switching the test effect off and on again moves Level (its gesture).
    ASSERT_TRUE(plugin->Prepare(2, 48000.0, 128, doublePrecision, true, &error)) << error;
    ASSERT_TRUE(plugin->SetFromText(level, "25", &error)) << error;
    std::vector<double> left, right;
    ProcessConstant(*plugin, 0.5, &left, &right, 100);
    EXPECT_DOUBLE_EQ(left[50], 0.125) << doublePrecision;
    EXPECT_DOUBLE_EQ(right[50], -0.125) << doublePrecision;
  }

  // Program and bank round trips.
  for (bool bank : {false, true}) {
    std::vector<uint8_t> state;
    ASSERT_TRUE(plugin->SaveState(bank, &state, &error)) << error;
    ASSERT_TRUE(plugin->SetFromText(level, "80", &error));
    ASSERT_TRUE(plugin->LoadState(bank, state, &error)) << error;
    EXPECT_EQ(plugin->ParameterDisplay(level), "25.0") << bank;
    std::vector<uint8_t> cut(state.begin(), state.begin() + 10);
    EXPECT_FALSE(plugin->LoadState(bank, cut, &error));
    EXPECT_EQ(plugin->ParameterDisplay(level), "25.0") << bank;
  }
}

TEST(Vst2Plugin, RefusesFilesThatAreNoVst2Module) {
  std::string error;
  EXPECT_EQ(Vst2Plugin::Load("/nonexistent/module.so", &error), nullptr);
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(Vst2Plugin::IsVst2Module("libm.so.6"));
  EXPECT_EQ(Vst2Plugin::Load("libm.so.6", &error), nullptr);
  EXPECT_NE(error.find("no VST2 entry point"), std::string::npos) << error;
}

TEST(Vst2Plugin, DrivesADebianEffect) {
  const char* path = "/usr/lib/vst/ZamEQ2-vst.so";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "zam-plugins is not installed";
  std::string error;
  auto plugin = Vst2Plugin::Load(path, &error);
  ASSERT_NE(plugin, nullptr) << error;
  EXPECT_GT(plugin->NumParameters(), 0);
  ASSERT_TRUE(plugin->Prepare(plugin->NumInputs(), 48000.0, 256, false, true, &error)) << error;
  std::vector<double> in(256);
  for (int i = 0; i < 256; ++i) in[i] = 0.5 * std::sin(0.05 * i);
  std::vector<std::vector<double>> out(plugin->OutputChannels(), std::vector<double>(256, 9.0));
  std::vector<const double*> inputs(plugin->NumInputs(), in.data());
  std::vector<double*> outputs;
  for (auto& channel : out) outputs.push_back(channel.data());
  double peak = 0.0;
  for (int block = 0; block < 8; ++block) {
    plugin->Process(inputs.data(), outputs.data(), 256, Vst2Transport());
    for (double sample : out[0]) {
      ASSERT_TRUE(std::isfinite(sample));
      peak = std::max(peak, std::fabs(sample));
    }
  }
  EXPECT_GT(peak, 0.1);  // the equaliser at its defaults passes the tone
  std::vector<uint8_t> state;
  EXPECT_TRUE(plugin->SaveState(false, &state, &error)) << error;
  EXPECT_TRUE(plugin->LoadState(false, state, &error)) << error;
}

}  // namespace
