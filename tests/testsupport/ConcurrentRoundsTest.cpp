// The overlap helper keeps its promise whatever the scheduler does: no round
// begins before every side has arrived, and no side leaves its loop before
// every other side has done its minimum.
#include "testsupport/ConcurrentRounds.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

TEST(ConcurrentRounds, EachSidesMinimumRunsWhileTheOthersAreStillLooping) {
  ConcurrentRounds rounds({1, 200});
  std::atomic<bool> quickStarted{false};
  std::atomic<bool> quickReturned{false};
  std::thread quick([&] {
    quickStarted = true;
    rounds.Run(0, [](long) {});
    quickReturned = true;
  });
  long roundsBeforeQuickStarted = 0;
  long roundsWhileQuickLooped = 0;
  const long slow = rounds.Run(1, [&](long) {
    if (!quickStarted) ++roundsBeforeQuickStarted;
    if (!quickReturned) ++roundsWhileQuickLooped;
  });
  quick.join();
  EXPECT_EQ(roundsBeforeQuickStarted, 0);
  EXPECT_GE(slow, 200);
  EXPECT_GE(roundsWhileQuickLooped, 200);
}

TEST(ConcurrentRounds, EverySideDoesAtLeastItsMinimum) {
  std::atomic<long> counted[3] = {{0}, {0}, {0}};
  const std::vector<long> done = RunConcurrentRounds({{5, [&](long) { ++counted[0]; }},
                                                      {50, [&](long) { ++counted[1]; }},
                                                      {500, [&](long) { ++counted[2]; }}});
  ASSERT_EQ(done.size(), 3u);
  const long minimum[3] = {5, 50, 500};
  for (int i = 0; i < 3; ++i) {
    EXPECT_GE(done[i], minimum[i]) << i;
    EXPECT_EQ(done[i], counted[i].load()) << i;
  }
}

}  // namespace
