// Two instances in one process, each driven by its own thread under its own
// instance lock, publishing and applying at the same time: the segment is
// written without a lock, so this is where torn or lost updates would show.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <random>
#include <string>
#include <thread>

#include "testsupport/LinkedInstance.h"

namespace {

void Drive(LinkedInstance& instance, unsigned seed, const std::atomic<bool>& go) {
  std::mt19937 random(seed);
  while (!go.load()) std::this_thread::yield();  // start together
  for (int step = 0; step < 20000; ++step) {
    if (random() % 3 == 0) {
      instance.RunBlock();
    } else {
      // Only the linked controls: the group switches stay on.
      const int param = static_cast<int>(random() % (kGroup));
      const IFxParam* shape = instance.plugin.GetParam(param);
      const double span = shape->Max() - shape->Min();
      instance.HostSets(param, shape->Min() + span * static_cast<double>(random() % 11) / 10.0);
    }
  }
}

TEST(GroupLinkThreads, ConcurrentPublishersAndAppliersConverge) {
  std::string name = "StratumThreadTest-" + std::to_string(getpid());
  LinkedInstance a(name);
  LinkedInstance b(name);
  a.HostSets(kGroup, 7);
  b.HostSets(kGroup, 7);

  std::atomic<bool> go(false);
  std::thread first([&] { Drive(a, 1, go); });
  std::thread second([&] { Drive(b, 2, go); });
  go = true;
  first.join();
  second.join();

  // Quiet again: one block each takes whatever the last publishers left.
  a.RunBlock();
  b.RunBlock();
  for (int param = 0; param < kGroup; ++param) {
    EXPECT_EQ(a.Value(param), b.Value(param)) << a.plugin.GetParam(param)->Name();
  }
}

}  // namespace
