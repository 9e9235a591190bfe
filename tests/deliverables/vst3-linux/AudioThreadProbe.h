#pragma once

// Watches what one thread does inside a window (a process call): heap
// allocations and frees, and the mutexes it locks. Linked into a test
// executable, it interposes malloc and friends and pthread_mutex_lock for the
// whole process (a loaded plug-in module's calls included) but counts only on
// a thread that has opened a window, so the host side of a test is free to
// allocate. Nothing here allocates or locks.

#include <cstddef>

namespace probe {

struct Record {
  size_t allocations = 0;
  size_t frees = 0;
  size_t largestAllocation = 0;
  // Distinct mutexes locked, and lock calls that are not pthread mutex locks
  // (read-write locks, timed locks).
  int distinctMutexes = 0;
  size_t otherLockWaits = 0;
};

// Starts a window on the calling thread, clearing its record.
void BeginWindow();
// Ends it and answers what happened in it.
Record EndWindow();

// RAII form for one call.
class Window {
 public:
  Window() { BeginWindow(); }
  ~Window() { if (!mEnded) EndWindow(); }
  Record End() {
    mEnded = true;
    return EndWindow();
  }

 private:
  bool mEnded = false;
};

// Whether this build watches allocations (every build so far) and locks
// (not under AddressSanitizer).
bool CountsAllocations();
bool CountsLocks();

}  // namespace probe
