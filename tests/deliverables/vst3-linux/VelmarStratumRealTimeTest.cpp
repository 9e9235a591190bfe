// Real-time safety of the shipping bundle, measured on the processing thread
// of a host that loaded it: after warm-up, a process call makes no heap
// allocation and no free, and the only lock it takes is the instance lock.
//
// AudioThreadProbe interposes the allocator and pthread_mutex_lock for this
// executable (the module's calls included) and counts only inside a window
// opened around processor->process(), so the test host's own work is not
// counted. Every lock of the system is a pthread mutex, and the first lock a
// process call takes is the instance lock; so "one distinct mutex and no
// other lock call" means no wait on any lock other than the instance lock.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "tests/deliverables/vst3-linux/AudioThreadProbe.h"
#include "tests/adapters/vst3/HostedPluginTest.h"
#include "tests/deliverables/vst3-linux/HostileHost.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int kBlock = 256;
constexpr int kWarmUpBlocks = 30;
constexpr int kWatchedBlocks = 60;
constexpr ParamID kGroup = 15;

class VelmarStratumRealTimeTest : public HostedPluginTest {
 protected:
  void SetUp() override { Open(STRATUM_VST3_BUNDLE_MODULE); }

  std::unique_ptr<PluginInstance> Fresh() {
    std::unique_ptr<PluginInstance> instance = Another();
    EXPECT_TRUE(::Start(*instance, kSample32, 48000.0, kBlock));
    return instance;
  }
};

// One process call inside a probe window.
probe::Record WatchedProcess(HostBlock& block, IAudioProcessor* processor,
                             IParameterChanges* inChanges, IParameterChanges* outChanges) {
  block.data.inputParameterChanges = inChanges;
  block.data.outputParameterChanges = outChanges;
  probe::Window window;
  const tresult result = processor->process(block.data);
  const probe::Record record = window.End();
  EXPECT_EQ(result, kResultOk);
  return record;
}

TEST(AudioThreadProbeTest, SeesAllocationsAndLocksInsideAWindowOnly) {
  void* volatile outside = std::malloc(64);
  std::free(outside);
  probe::Window window;
  void* volatile inside = std::malloc(100);
  std::free(inside);
  pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
  pthread_mutex_lock(&mutex);
  pthread_mutex_unlock(&mutex);
  const probe::Record record = window.End();
  EXPECT_EQ(record.allocations, 1u);
  EXPECT_EQ(record.frees, 1u);
  EXPECT_GE(record.largestAllocation, 100u);
  if (probe::CountsLocks()) {
    EXPECT_EQ(record.distinctMutexes, 1);
  }
}

// The probe reaches into the loaded module: saving its state allocates the
// chunk and takes the instance lock.
TEST_F(VelmarStratumRealTimeTest, ProbeSeesTheModulesAllocationsAndLocks) {
  probe::Window window;
  const std::vector<uint8_t> state = SaveState(*plugin);
  const probe::Record record = window.End();
  EXPECT_EQ(state.size(), 256u);
  EXPECT_GE(record.allocations, 2u);
  if (probe::CountsLocks()) {
    EXPECT_GE(record.distinctMutexes, 1);
  }
}

struct Scenario {
  const char* name;
  // Parameter changes of block n (before and while watched).
  std::function<void(BlockChanges&, int n)> changesForBlock;
  bool playing;
  bool groupTraffic;
};

TEST_F(VelmarStratumRealTimeTest, ProcessAllocatesNothingAndLocksOnlyTheInstanceLock) {
  const auto everyStage = [](BlockChanges& c, int n) {
    if (n != 0) return;
    for (ParamID on : {0, 3, 4, 6, 11, 12}) c.Add(on, 1.0);  // DC, phase L/R, auto gain, clip, limit
    c.Add(2, 1.0);   // channel selector "RL"
    c.Add(5, 1.0);   // RMS auto gain
    c.Add(9, 0.7);   // pan
    c.Add(10, 0.8);  // width 160 %
    c.Add(13, 1.0);  // "2 Bars"
  };
  const Scenario scenarios[] = {
      {"default settings", [](BlockChanges&, int) {}, false, false},
      {"every stage on, transport running", everyStage, true, false},
      {"parameter changes every block",
       [](BlockChanges& c, int n) {
         c.Add(7, 0.3 + 0.01 * (n % 40));
         c.Add(9, 0.2 + 0.015 * (n % 40));
         c.Add(10, 0.6 + 0.005 * (n % 60));
         c.Add(11, n % 2);
         c.Add(14, (n % 10) / 9.0);
         c.Add(13, (n % 3) / 2.0);
         c.Add(31 + (n % 128), 0.5);  // a MIDI controller
       },
       true, false},
      {"group traffic", [](BlockChanges& c, int n) { c.Add(7, 0.2 + 0.01 * (n % 50)); },
       false, true},
  };

  for (const Scenario& scenario : scenarios) {
    SCOPED_TRACE(scenario.name);
    auto subject = Fresh();
    std::unique_ptr<PluginInstance> publisher;
    if (scenario.groupTraffic) {
      publisher = Fresh();
      BlockChanges join;
      join.Add(kGroup, 5.0 / 16.0);
      for (PluginInstance* member : {subject.get(), publisher.get()}) {
        HostBlock block(kBlock);
        block.Run(member->Processor(), &join);
      }
    }
    HostBlock block(kBlock);
    block.SetPlaying(scenario.playing);
    FixedParameterChanges reported;
    for (int n = 0; n < kWarmUpBlocks + kWatchedBlocks; ++n) {
      BlockChanges changes;
      scenario.changesForBlock(changes, n);
      reported.Clear();
      block.context.projectTimeSamples += kBlock;
      if (publisher) {
        // The other member changes the linked gain every block; the subject
        // takes it in its next block and reports it to its host.
        HostBlock other(kBlock);
        other.Run(publisher->Processor(), &changes);
      }
      IParameterChanges* own = publisher ? nullptr : &changes;
      const probe::Record record = WatchedProcess(block, subject->Processor(), own, &reported);
      if (n < kWarmUpBlocks) continue;
      ASSERT_EQ(record.allocations, 0u) << "block " << n;
      ASSERT_EQ(record.frees, 0u) << "block " << n;
      if (probe::CountsLocks()) {
        ASSERT_EQ(record.distinctMutexes, 1) << "block " << n;
        ASSERT_EQ(record.otherLockWaits, 0u) << "block " << n;
      }
    }
    if (scenario.groupTraffic) {
      EXPECT_GE(reported.Last(7), 0.0) << "the group's gain reached the host";
    }
    if (publisher) {
      BlockChanges leave;
      leave.Add(kGroup, 0.0);
      for (PluginInstance* member : {subject.get(), publisher.get()}) {
        HostBlock done(kBlock);
        done.Run(member->Processor(), &leave);
      }
    }
  }
}

}  // namespace
