#pragma once

// What a host offers an editor window for running on the host's own
// user-interface thread: a repeating timer and, where the window system has
// one, a file descriptor to watch for input. A VST3 host on Linux offers its
// run loop; a VST2 adapter drives the same calls from the host's idle calls.
// Window layers with a timer of their own ignore it.
class IFxRunLoopClient {
 public:
  virtual ~IFxRunLoopClient() = default;
  // Every interval, on the host's user-interface thread.
  virtual void OnRunLoopTimer() = 0;
  // Input is waiting on the watched descriptor (same thread).
  virtual void OnRunLoopInput(int fd) = 0;
};

class IFxHostRunLoop {
 public:
  virtual ~IFxHostRunLoop() = default;
  // Calls the client's timer every intervalMs and, when fd is 0 or more, its
  // input handler whenever fd is readable. False when the host refused; the
  // client is then not registered. A client registers at most once.
  virtual bool Register(IFxRunLoopClient* client, int fd, int intervalMs) = 0;
  // Stops every call to the client; safe for a client never registered.
  virtual void Unregister(IFxRunLoopClient* client) = 0;
};
