#include "platform/RecursiveLock.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "testsupport/ConcurrentRounds.h"

namespace {

TEST(RecursiveLock, SameThreadMayTakeItAgain) {
  platform::RecursiveLock lock;
  platform::LockGuard outer(lock);
  platform::LockGuard inner(lock);
  EXPECT_TRUE(lock.TryLock());
  lock.Unlock();
}

TEST(RecursiveLock, OtherThreadsWaitUntilFullyReleased) {
  platform::RecursiveLock lock;
  long counter = 0;
  auto work = [&](long) {
    platform::LockGuard outer(lock);
    platform::LockGuard inner(lock);
    ++counter;
  };
  const std::vector<long> done = RunConcurrentRounds({{10000, work}, {10000, work}});
  EXPECT_EQ(counter, done[0] + done[1]);
}

TEST(RecursiveLock, TryLockFailsWhileAnotherThreadHoldsIt) {
  platform::RecursiveLock lock;
  platform::LockGuard held(lock);
  bool acquired = true;
  std::thread other([&] { acquired = lock.TryLock(); });
  other.join();
  EXPECT_FALSE(acquired);
}

}  // namespace
