#pragma once

#include <chrono>
#include <functional>
#include <vector>

#include "pluginterfaces/gui/iplugview.h"

namespace vst3host {

// The host side of a Linux VST3 editor: the run loop a plug-in's view gets
// from its frame. One thread (the host's interface thread) runs it; it
// calls registered timers at their intervals and event handlers when their
// descriptor is readable, waiting in poll in between.
class HostRunLoop : public Steinberg::Linux::IRunLoop {
 public:
  HostRunLoop() = default;
  ~HostRunLoop();
  HostRunLoop(const HostRunLoop&) = delete;
  HostRunLoop& operator=(const HostRunLoop&) = delete;

  Steinberg::tresult PLUGIN_API registerEventHandler(Steinberg::Linux::IEventHandler* handler,
                                                     Steinberg::Linux::FileDescriptor fd) override;
  Steinberg::tresult PLUGIN_API unregisterEventHandler(
      Steinberg::Linux::IEventHandler* handler) override;
  Steinberg::tresult PLUGIN_API registerTimer(Steinberg::Linux::ITimerHandler* handler,
                                              Steinberg::Linux::TimerInterval milliseconds) override;
  Steinberg::tresult PLUGIN_API unregisterTimer(Steinberg::Linux::ITimerHandler* handler) override;

  // Owned by whoever made the loop: reference counting is not used.
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
  Steinberg::uint32 PLUGIN_API release() override { return 1; }

  // Runs for about `ms` milliseconds.
  void RunFor(int ms);
  // Runs until done answers true (checked after every wake-up) or `limitMs`
  // passed; answers done's last answer.
  bool RunUntil(const std::function<bool()>& done, int limitMs);
  // One wait of at most `maxWaitMs`, then the due timers and ready handlers.
  void RunOnce(int maxWaitMs);

  size_t TimerCount() const { return mTimers.size(); }
  size_t EventHandlerCount() const { return mHandlers.size(); }
  // Timer calls made so far.
  long TimerCalls() const { return mTimerCalls; }

 private:
  using Clock = std::chrono::steady_clock;
  struct Timer {
    Steinberg::Linux::ITimerHandler* handler;
    std::chrono::milliseconds interval;
    Clock::time_point due;
  };
  struct Handler {
    Steinberg::Linux::IEventHandler* handler;
    int fd;
  };

  std::vector<Timer> mTimers;
  std::vector<Handler> mHandlers;
  long mTimerCalls = 0;
};

}  // namespace vst3host
