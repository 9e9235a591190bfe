#include "platform/RecursiveLock.h"

#include <gtest/gtest.h>

#include <thread>

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
  int counter = 0;
  auto work = [&] {
    for (int i = 0; i < 10000; ++i) {
      platform::LockGuard outer(lock);
      platform::LockGuard inner(lock);
      ++counter;
    }
  };
  std::thread a(work), b(work);
  a.join();
  b.join();
  EXPECT_EQ(counter, 20000);
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
