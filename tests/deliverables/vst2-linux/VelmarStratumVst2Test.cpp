// The shipping VST2 module, loaded the way a host loads it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "tests/adapters/vst2/Vst2TestHost.h"

namespace {

constexpr int kNumParams = 31;
constexpr int kStateBytes = 4 + 8 * kNumParams;

class VelmarStratumVst2Test : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(host.Open(STRATUM_VST2_MODULE, "VSTPluginMain", &error)) << error;
    effect = host.Effect();
    host.Dispatch(effOpen);
    host.Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    host.Dispatch(effSetBlockSize, 0, 256);
    host.Dispatch(effMainsChanged, 0, 1);
  }
  std::string Text(int opcode, int index = 0) {
    char text[256] = {};
    host.Dispatch(opcode, index, 0, text);
    return text;
  }
  int FindParam(const char* name) {
    for (int i = 0; i < effect->numParams; ++i) {
      if (Text(effGetParamName, i) == name) return i;
    }
    return -1;
  }
  std::vector<uint8_t> Chunk(int index) {
    void* data = nullptr;
    const VstIntPtr size = host.Dispatch(effGetChunk, index, 0, &data);
    if (size <= 0) return {};
    return std::vector<uint8_t>(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
  }

  Vst2TestHost host;
  AEffect* effect = nullptr;
};

TEST_F(VelmarStratumVst2Test, DescribesItselfToHosts) {
  EXPECT_EQ(effect->numPrograms, 1);
  EXPECT_EQ(effect->numParams, kNumParams);
  EXPECT_EQ(effect->numInputs, 2);
  EXPECT_EQ(effect->numOutputs, 2);
  EXPECT_EQ(static_cast<int32_t>(effect->flags), 0x1039);
  EXPECT_EQ(effect->version, 20003);
  EXPECT_EQ(effect->uniqueID, 0x5374526D);  // 'StRm'
  EXPECT_EQ(effect->initialDelay, 0);
  EXPECT_EQ(host.Dispatch(effGetVendorVersion), 20003);
  EXPECT_EQ(host.Dispatch(effGetVstVersion), 2400);
  EXPECT_EQ(host.Dispatch(effGetPlugCategory), 1);
  EXPECT_EQ(host.Dispatch(effIdentify), 0x4E764566);
  EXPECT_EQ(Text(effGetEffectName), "VelmarStratum");
  EXPECT_EQ(Text(effGetVendorString), "Velmar");
  EXPECT_EQ(Text(effGetProductString), "");
  EXPECT_EQ(Text(effGetProgramName), "-");
  EXPECT_GE(FindParam("Gain Level"), 0);

  ERect* rect = nullptr;
  ASSERT_EQ(host.Dispatch(effEditGetRect, 0, 0, &rect), 1);
  EXPECT_EQ(rect->right, 410);
  EXPECT_EQ(rect->bottom, 522);
}

TEST_F(VelmarStratumVst2Test, StateTravelsAsProgramAndBankChunks) {
  const int gain = FindParam("Gain Level");
  ASSERT_GE(gain, 0);
  char text[] = "-6";
  ASSERT_EQ(host.Dispatch(effString2Parameter, gain, 0, text), 1);
  EXPECT_EQ(Text(effGetParamDisplay, gain).substr(0, 4), "-6.0");
  const std::vector<uint8_t> program = Chunk(1);
  const std::vector<uint8_t> bank = Chunk(0);
  EXPECT_EQ(program.size(), 8u + kStateBytes);
  EXPECT_EQ(bank.size(), 8u + 4u + 1u + 1u + kStateBytes);
  const float saved = effect->getParameter(effect, gain);

  for (int index : {1, 0}) {
    effect->setParameter(effect, gain, 0.9f);
    std::vector<uint8_t> copy = index == 0 ? bank : program;
    ASSERT_EQ(host.Dispatch(effSetChunk, index, static_cast<VstIntPtr>(copy.size()), copy.data()),
              1);
    EXPECT_FLOAT_EQ(effect->getParameter(effect, gain), saved) << index;
  }
  std::vector<uint8_t> shortChunk(program.begin(), program.begin() + 100);
  effect->setParameter(effect, gain, 0.9f);
  EXPECT_EQ(host.Dispatch(effSetChunk, 1, 100, shortChunk.data()), 0);
  EXPECT_FLOAT_EQ(effect->getParameter(effect, gain), 0.9f);
}

TEST_F(VelmarStratumVst2Test, ProcessesBothSampleSizes) {
  std::vector<float> left(256), right(256), outL(256), outR(256);
  for (int i = 0; i < 256; ++i) left[i] = right[i] = 0.25f * std::sin(0.03f * i);
  float* ins[2] = {left.data(), right.data()};
  float* outs[2] = {outL.data(), outR.data()};
  for (int block = 0; block < 20; ++block) effect->processReplacing(effect, ins, outs, 256);
  double peak = 0.0;
  for (float s : outL) {
    ASSERT_TRUE(std::isfinite(s));
    peak = std::max(peak, std::fabs(static_cast<double>(s)));
  }
  EXPECT_GT(peak, 0.1);

  std::vector<double> dl(256, 0.1), dr(256, 0.1), dol(256), dor(256);
  double* dins[2] = {dl.data(), dr.data()};
  double* douts[2] = {dol.data(), dor.data()};
  effect->processDoubleReplacing(effect, dins, douts, 256);
  EXPECT_TRUE(std::isfinite(dol[255]));
}

}  // namespace
