#pragma once

// Runs the enclosing scope with denormal numbers flushed to zero (inputs and
// results) and restores the caller's floating-point mode afterwards. On
// processors without such a mode it does nothing.
class ScopedDenormalFlush {
 public:
  ScopedDenormalFlush();
  ~ScopedDenormalFlush();
  ScopedDenormalFlush(const ScopedDenormalFlush&) = delete;
  ScopedDenormalFlush& operator=(const ScopedDenormalFlush&) = delete;

 private:
  unsigned int mSavedMode = 0;
};
