#include "platform/DescriptorReady.h"

#include <poll.h>

namespace platform {

bool IsDescriptorReadable(int fd) {
  if (fd < 0) return false;
  pollfd entry = {};
  entry.fd = fd;
  entry.events = POLLIN;
  return poll(&entry, 1, 0) > 0 && (entry.revents & POLLIN) != 0;
}

}  // namespace platform
