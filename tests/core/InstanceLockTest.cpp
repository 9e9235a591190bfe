// The editor thread and the audio thread meet only under the instance lock:
// the ThreadSanitizer build checks that nothing in the base escapes it.
#include <gtest/gtest.h>

#include <vector>

#include "testsupport/ConcurrentRounds.h"
#include "testsupport/TestPlugin.h"

namespace {

TEST(InstanceLock, EditorChangesAndProcessingDoNotRace) {
  TestPlugin plugin;
  plugin.ChangeBlockSize(64);
  plugin.ConnectInputs(0, 2, true);
  plugin.ConnectOutputs(0, 2, true);
  auto editorRound = [&](long i) { plugin.SetParameterFromGUI(kGainLevel, (i % 100) / 100.0); };

  std::vector<float> in(64, 0.5f), out0(64), out1(64);
  const float* inputs[] = {in.data(), in.data()};
  float* outputs[] = {out0.data(), out1.data()};
  double lastGain = 0.0;
  auto audioBlock = [&](long) {
    platform::LockGuard guard(plugin.GetLock());
    plugin.AttachInputs(0, 2, inputs, 64);
    plugin.AttachOutputs(0, 2, outputs);
    plugin.RunProcessingFloat(64);
    lastGain = plugin.GetParam(kGainLevel)->Value();
  };
  // The audio on this thread, the editor on its own.
  const std::vector<long> done = RunConcurrentRounds({{10, audioBlock}, {500, editorRound}});
  const long editorChanges = done[1];

  EXPECT_EQ(out1[63], 0.5f);
  EXPECT_GE(lastGain, -60.0);
  EXPECT_EQ(plugin.ParamChanges().size(), static_cast<size_t>(editorChanges));
}

}  // namespace
