#pragma once

#include <vector>

#include "core/IFxHostRunLoop.h"
#include "pluginterfaces/gui/iplugview.h"

// The host's Linux run loop (from its plug frame) offered to the editor as
// an IFxHostRunLoop: each registered client gets a timer handler and, with a
// descriptor, an event handler registered with the host. The handlers are
// reference counted, because the host may hold them a little longer; once
// unregistered they forward nothing.
class Vst3HostRunLoop : public IFxHostRunLoop {
 public:
  // The run loop is held (one reference) for the wrapper's life.
  explicit Vst3HostRunLoop(Steinberg::Linux::IRunLoop* runLoop);
  ~Vst3HostRunLoop() override;
  Vst3HostRunLoop(const Vst3HostRunLoop&) = delete;
  Vst3HostRunLoop& operator=(const Vst3HostRunLoop&) = delete;

  // The frame's run loop, or null when the frame offers none.
  static Steinberg::Linux::IRunLoop* FromFrame(Steinberg::IPlugFrame* frame);

  bool Register(IFxRunLoopClient* client, int fd, int intervalMs) override;
  void Unregister(IFxRunLoopClient* client) override;

 private:
  class Handler;
  struct Registration {
    IFxRunLoopClient* client;
    Handler* handler;
    bool watchesFd;
  };

  Steinberg::Linux::IRunLoop* mRunLoop;
  std::vector<Registration> mRegistrations;
};
