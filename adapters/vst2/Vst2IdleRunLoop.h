#pragma once

#include <chrono>

#include "core/IFxHostRunLoop.h"

// The run loop a VST2 host does not offer: the editor window registers its
// timer and window-system descriptor here, and the host's effEditIdle calls
// (on its user-interface thread) drive them. The timer fires at the first
// idle after its interval has passed; the descriptor is polled at every idle.
class Vst2IdleRunLoop : public IFxHostRunLoop {
 public:
  // Room for the window layer's clients; a register beyond it is refused.
  static constexpr int kMaxClients = 4;

  bool Register(IFxRunLoopClient* client, int fd, int intervalMs) override;
  void Unregister(IFxRunLoopClient* client) override;

  // One host idle call.
  void Idle();
  int NumClients() const;

 private:
  struct Entry {
    IFxRunLoopClient* client = nullptr;
    int fd = -1;
    std::chrono::milliseconds interval{0};
    std::chrono::steady_clock::time_point lastTimer;
  };
  Entry mEntries[kMaxClients];
};
