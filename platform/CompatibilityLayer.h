#pragma once

namespace platform {

// True when the process runs under a compatibility layer that emulates
// another operating system's interfaces imperfectly (on Windows builds: the
// registry key "Software\\Wine" exists under the local-machine hive). Text
// drawing then avoids the platform's own text function. Always false on
// Linux and in the 32-bit Windows builds.
bool IsRunningUnderCompatibilityLayer();

}  // namespace platform
