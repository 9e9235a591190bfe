#pragma once

// Puts this process's group segments into a namespace of their own, so
// effects made here (tests, fuzzers, benchmarks, the snapshot tool) never
// meet other processes' instances: parallel test runs, or the plug-ins the
// developer is running. Works by name, so it holds on every platform; the
// instances of one process still meet each other. Call it before the first
// instance is made; later calls keep the first choice.

#include <unistd.h>

#include <string>

#include "grouplink/SharedSegment.h"

namespace testsupport {

inline void UsePrivateSegmentNamespace() {
  static const bool chosen =
      SetSegmentNamespace(("private-" + std::to_string(static_cast<long>(::getpid())) + ".").c_str());
  (void)chosen;
}

}  // namespace testsupport
