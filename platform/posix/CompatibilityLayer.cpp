#include "platform/CompatibilityLayer.h"

namespace platform {

// A native Linux process is never emulated.
bool IsRunningUnderCompatibilityLayer() { return false; }

}  // namespace platform
