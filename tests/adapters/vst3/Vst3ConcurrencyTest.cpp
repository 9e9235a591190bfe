// The host's audio thread processes while its user-interface thread reads and
// writes state and parameter values: everything meets under the instance
// lock, and notices raised inside process() leave as output parameter
// changes, never as component-handler calls from the audio thread.

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "testsupport/ConcurrentRounds.h"
#include "tests/adapters/vst3/TestEffect.h"
#include "tests/adapters/vst3/Vst3TestHost.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

TEST(Vst3ConcurrencyTest, ProcessingAndStateCallsOnTwoThreads) {
  LoadedModule module;
  std::string error;
  ASSERT_TRUE(module.Load(STRATUM_TEST_VST3_MODULE, &error)) << error;
  TestHostApplication host("Test Host");
  RecordingComponentHandler handler;  // outlives the instance, which calls it when it stops
  PluginInstance plugin;
  ASSERT_TRUE(plugin.Create(module.Factory(), &host));
  ASSERT_EQ(plugin.controller->setComponentHandler(&handler), kResultTrue);
  ASSERT_TRUE(plugin.Start(kSample32, 48000.0, 64));

  std::atomic<int> blocksWithNotices{0};
  std::vector<std::vector<float>> in(2, std::vector<float>(64, 0.25f));
  std::vector<std::vector<float>> out(2, std::vector<float>(64, 0.0f));
  auto audioBlock = [&](long block) {
    TestParameterChanges changes;
    changes.Add(TestEffect::kNumParams + 1, (block % 128) / 127.0);  // MIDI CC 1
    TestParameterChanges outputs;
    plugin.ProcessFloat(in, out, &changes, &outputs);
    if (outputs.Find(TestEffect::kMidiData2) != nullptr) ++blocksWithNotices;
  };
  auto interfaceRound = [&](long round) {
    std::vector<char> state = plugin.SaveState();
    EXPECT_EQ(state.size(), 8u * TestEffect::kNumParams + 4u);
    EXPECT_EQ(plugin.LoadState(state), kResultOk);
    EXPECT_EQ(plugin.controller->setParamNormalized(TestEffect::kLevel, (round % 10) / 10.0), kResultOk);
  };
  // The user interface on this thread, the audio on its own.
  const std::vector<long> done = RunConcurrentRounds({{10, interfaceRound}, {300, audioBlock}});

  EXPECT_EQ(blocksWithNotices.load(), done[1]);
  EXPECT_TRUE(handler.calls.empty());
}

}  // namespace
