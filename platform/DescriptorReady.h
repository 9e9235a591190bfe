#pragma once

namespace platform {

// True when input is waiting on the file descriptor (a window system's
// connection, say); never waits. False for a negative or closed descriptor.
bool IsDescriptorReadable(int fd);

}  // namespace platform
