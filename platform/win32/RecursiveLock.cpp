#include "platform/RecursiveLock.h"

#include <windows.h>

namespace platform {

// A critical section is recursive by nature: its owning thread may enter it again.
struct RecursiveLock::Impl {
  CRITICAL_SECTION section;
};

RecursiveLock::RecursiveLock() : mImpl(new Impl) { InitializeCriticalSection(&mImpl->section); }

RecursiveLock::~RecursiveLock() { DeleteCriticalSection(&mImpl->section); }

void RecursiveLock::Lock() { EnterCriticalSection(&mImpl->section); }

void RecursiveLock::Unlock() { LeaveCriticalSection(&mImpl->section); }

bool RecursiveLock::TryLock() { return TryEnterCriticalSection(&mImpl->section) != 0; }

}  // namespace platform
