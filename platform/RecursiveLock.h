#pragma once

#include <memory>

namespace platform {

// A recursive mutual-exclusion lock: the thread that holds it may take it
// again. Used for the per-instance lock and the process-wide caches.
class RecursiveLock {
 public:
  RecursiveLock();
  ~RecursiveLock();
  RecursiveLock(const RecursiveLock&) = delete;
  RecursiveLock& operator=(const RecursiveLock&) = delete;

  void Lock();
  void Unlock();
  bool TryLock();

 private:
  struct Impl;
  std::unique_ptr<Impl> mImpl;
};

// Holds a RecursiveLock for the lifetime of the guard.
class LockGuard {
 public:
  explicit LockGuard(RecursiveLock& lock) : mLock(lock) { mLock.Lock(); }
  ~LockGuard() { mLock.Unlock(); }
  LockGuard(const LockGuard&) = delete;
  LockGuard& operator=(const LockGuard&) = delete;

 private:
  RecursiveLock& mLock;
};

}  // namespace platform
