// Two instances in one process, each driven by its own thread under its own
// instance lock, publishing and applying at the same time: the segment is
// written without a lock, so this is where torn or lost updates would show.
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <random>
#include <string>

#include "testsupport/ConcurrentRounds.h"
#include "testsupport/LinkedInstance.h"

namespace {

// One step of a host driving an instance: mostly parameter changes, now and
// then a block.
std::function<void(long)> Driver(LinkedInstance& instance, unsigned seed) {
  auto random = std::make_shared<std::mt19937>(seed);
  return [&instance, random](long) {
    if ((*random)() % 3 == 0) {
      instance.RunBlock();
    } else {
      // Only the linked controls: the group switches stay on.
      const int param = static_cast<int>((*random)() % (kGroup));
      const IFxParam* shape = instance.plugin.GetParam(param);
      const double span = shape->Max() - shape->Min();
      instance.HostSets(param, shape->Min() + span * static_cast<double>((*random)() % 11) / 10.0);
    }
  };
}

TEST(GroupLinkThreads, ConcurrentPublishersAndAppliersConverge) {
  std::string name = "StratumThreadTest-" + std::to_string(getpid());
  LinkedInstance a(name);
  LinkedInstance b(name);
  a.HostSets(kGroup, 7);
  b.HostSets(kGroup, 7);

  RunConcurrentRounds({{20000, Driver(a, 1)}, {20000, Driver(b, 2)}});

  // Quiet again: one block each takes whatever the last publishers left.
  a.RunBlock();
  b.RunBlock();
  for (int param = 0; param < kGroup; ++param) {
    EXPECT_EQ(a.Value(param), b.Value(param)) << a.plugin.GetParam(param)->Name();
  }
}

}  // namespace
