// The host's audio thread processes while its user-interface thread reads and
// writes state and parameter values: everything meets under the instance
// lock, and notices raised inside process() leave as output parameter
// changes, never as component-handler calls from the audio thread.

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "testsupport/ConcurrentRounds.h"
#include "tests/adapters/vst3/HostedPluginTest.h"
#include "tests/adapters/vst3/TestEffect.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

class Vst3ConcurrencyTest : public HostedPluginTest {
 protected:
  void SetUp() override { Open(STRATUM_TEST_VST3_MODULE); }
};

TEST_F(Vst3ConcurrencyTest, ProcessingAndStateCallsOnTwoThreads) {
  ASSERT_TRUE(Start(*plugin, kSample32, 48000.0, 64));

  std::atomic<int> blocksWithNotices{0};
  std::vector<std::vector<float>> in(2, std::vector<float>(64, 0.25f));
  std::vector<std::vector<float>> out(2, std::vector<float>(64, 0.0f));
  auto audioBlock = [&](long block) {
    HostParameterChanges changes;
    changes.Add(TestEffect::kNumParams + 1, 0, (block % 128) / 127.0);  // MIDI CC 1
    HostParameterChanges outputs;
    ProcessPlanar(*plugin->Processor(), in, out, {&changes, &outputs});
    if (outputs.Find(TestEffect::kMidiData2) != nullptr) ++blocksWithNotices;
  };
  auto interfaceRound = [&](long round) {
    std::vector<uint8_t> state = SaveState(*plugin);
    EXPECT_EQ(state.size(), 8u * TestEffect::kNumParams + 4u);
    EXPECT_EQ(LoadState(*plugin, state), kResultOk);
    EXPECT_EQ(plugin->Controller()->setParamNormalized(TestEffect::kLevel, (round % 10) / 10.0), kResultOk);
  };
  // The user interface on this thread, the audio on its own.
  const std::vector<long> done = RunConcurrentRounds({{10, interfaceRound}, {300, audioBlock}});

  EXPECT_EQ(blocksWithNotices.load(), done[1]);
  EXPECT_TRUE(HandlerCalls().empty());
}

}  // namespace
