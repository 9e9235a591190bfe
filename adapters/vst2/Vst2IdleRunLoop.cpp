#include "adapters/vst2/Vst2IdleRunLoop.h"

#include "platform/DescriptorReady.h"

bool Vst2IdleRunLoop::Register(IFxRunLoopClient* client, int fd, int intervalMs) {
  if (client == nullptr || intervalMs < 0) return false;
  Entry* free = nullptr;
  for (Entry& entry : mEntries) {
    if (entry.client == client) return false;  // a client registers at most once
    if (entry.client == nullptr && free == nullptr) free = &entry;
  }
  if (free == nullptr) return false;
  free->client = client;
  free->fd = fd;
  free->interval = std::chrono::milliseconds(intervalMs);
  free->lastTimer = std::chrono::steady_clock::now();
  return true;
}

void Vst2IdleRunLoop::Unregister(IFxRunLoopClient* client) {
  for (Entry& entry : mEntries) {
    if (entry.client == client) entry = Entry();
  }
}

void Vst2IdleRunLoop::Idle() {
  // A client may unregister itself (or another) from inside its handlers, so
  // each entry is checked again before every call.
  for (Entry& entry : mEntries) {
    if (entry.client != nullptr && entry.fd >= 0 && platform::IsDescriptorReadable(entry.fd)) {
      entry.client->OnRunLoopInput(entry.fd);
    }
    if (entry.client == nullptr) continue;
    const auto now = std::chrono::steady_clock::now();
    if (now - entry.lastTimer >= entry.interval) {
      entry.lastTimer = now;
      entry.client->OnRunLoopTimer();
    }
  }
}

int Vst2IdleRunLoop::NumClients() const {
  int count = 0;
  for (const Entry& entry : mEntries) count += entry.client != nullptr ? 1 : 0;
  return count;
}
