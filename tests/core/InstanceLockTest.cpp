// The editor thread and the audio thread meet only under the instance lock:
// the ThreadSanitizer build checks that nothing in the base escapes it.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "testsupport/TestPlugin.h"

namespace {

TEST(InstanceLock, EditorChangesAndProcessingDoNotRace) {
  TestPlugin plugin;
  plugin.ChangeBlockSize(64);
  plugin.ConnectInputs(0, 2, true);
  plugin.ConnectOutputs(0, 2, true);
  constexpr int kRounds = 500;
  std::atomic<bool> editorDone{false};

  std::thread editor([&] {
    for (int i = 0; i < kRounds; ++i) plugin.SetParameterFromGUI(kGainLevel, (i % 100) / 100.0);
    editorDone = true;
  });

  std::vector<float> in(64, 0.5f), out0(64), out1(64);
  const float* inputs[] = {in.data(), in.data()};
  float* outputs[] = {out0.data(), out1.data()};
  double lastGain = 0.0;
  int blocks = 0;
  while (!editorDone || blocks < 10) {
    platform::LockGuard guard(plugin.GetLock());
    plugin.AttachInputs(0, 2, inputs, 64);
    plugin.AttachOutputs(0, 2, outputs);
    plugin.RunProcessingFloat(64);
    lastGain = plugin.GetParam(kGainLevel)->Value();
    ++blocks;
  }
  editor.join();

  EXPECT_EQ(out1[63], 0.5f);
  EXPECT_GE(lastGain, -60.0);
  EXPECT_EQ(plugin.ParamChanges().size(), static_cast<size_t>(kRounds));
}

}  // namespace
