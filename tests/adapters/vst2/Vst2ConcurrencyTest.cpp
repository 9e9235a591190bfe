// The host's audio thread processes while its user-interface thread sets and
// reads parameters, saves and restores chunks, and idles the editor: every
// entry but the idle call holds the instance lock, so they never overlap.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "testsupport/ConcurrentRounds.h"
#include "tests/adapters/vst2/Vst2TestHost.h"

namespace {

constexpr int kLevel = 0;
constexpr int kMode = 1;

TEST(Vst2ConcurrencyTest, ProcessingAndHostCallsOnTwoThreads) {
  Vst2TestHost host;
  std::string error;
  ASSERT_TRUE(host.Open(STRATUM_TEST_VST2_MODULE, "VSTPluginMain", &error)) << error;
  AEffect* effect = host.Effect();
  host.Dispatch(effOpen);
  host.Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  host.Dispatch(effSetBlockSize, 0, 64);
  host.Dispatch(effMainsChanged, 0, 1);

  std::vector<float> left(64, 0.5f), right(64, -0.5f), outLeft(64), outRight(64);
  float* inputs[2] = {left.data(), right.data()};
  float* outputs[2] = {outLeft.data(), outRight.data()};
  bool finite = true;
  auto audioBlock = [&](long block) {
    if (block % 2 == 0) {
      effect->processReplacing(effect, inputs, outputs, 64);
    } else {
      effect->process(effect, inputs, outputs, 64);
    }
    finite = finite && std::isfinite(outLeft[63]) && std::isfinite(outRight[63]);
  };
  auto interfaceRound = [&](long round) {
    effect->setParameter(effect, kLevel, (round % 10) / 10.0f);
    EXPECT_GE(effect->getParameter(effect, kMode), 0.0f);
    char text[] = "C";
    EXPECT_EQ(host.Dispatch(effString2Parameter, kMode, 0, text), 1);
    void* data = nullptr;
    const VstIntPtr size = host.Dispatch(effGetChunk, round % 2, 0, &data);
    ASSERT_GT(size, 0);
    std::vector<uint8_t> chunk(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
    EXPECT_EQ(host.Dispatch(effSetChunk, round % 2, size, chunk.data()), 1);
    host.Dispatch(effEditIdle);
  };
  // The user interface on this thread, the audio on its own.
  RunConcurrentRounds({{40, interfaceRound}, {400, audioBlock}});
  EXPECT_TRUE(finite);
  host.Dispatch(effMainsChanged, 0, 0);
}

}  // namespace
