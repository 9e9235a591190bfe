#include "platform/DescriptorReady.h"

namespace platform {

// Windows window layers wait on their message queue, not on descriptors:
// there is never input waiting on one.
bool IsDescriptorReadable(int) { return false; }

}  // namespace platform
