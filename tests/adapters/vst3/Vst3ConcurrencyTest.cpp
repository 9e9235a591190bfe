// The host's audio thread processes while its user-interface thread reads and
// writes state and parameter values: everything meets under the instance
// lock, and notices raised inside process() leave as output parameter
// changes, never as component-handler calls from the audio thread.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

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

  std::atomic<bool> done{false};
  std::atomic<int> blocksWithNotices{0};
  std::thread audio([&] {
    std::vector<std::vector<float>> in(2, std::vector<float>(64, 0.25f));
    std::vector<std::vector<float>> out(2, std::vector<float>(64, 0.0f));
    for (int block = 0; block < 300; ++block) {
      TestParameterChanges changes;
      changes.Add(TestEffect::kNumParams + 1, (block % 128) / 127.0);  // MIDI CC 1
      TestParameterChanges outputs;
      plugin.ProcessFloat(in, out, &changes, &outputs);
      if (outputs.Find(TestEffect::kMidiData2) != nullptr) ++blocksWithNotices;
    }
    done = true;
  });

  int rounds = 0;
  while (!done || rounds < 10) {
    std::vector<char> state = plugin.SaveState();
    EXPECT_EQ(state.size(), 8u * TestEffect::kNumParams + 4u);
    EXPECT_EQ(plugin.LoadState(state), kResultOk);
    EXPECT_EQ(plugin.controller->setParamNormalized(TestEffect::kLevel, (rounds % 10) / 10.0),
              kResultOk);
    ++rounds;
  }
  audio.join();

  EXPECT_EQ(blocksWithNotices.load(), 300);
  EXPECT_TRUE(handler.calls.empty());
}

}  // namespace
