#include "tools/vst3host/HostRunLoop.h"

#include <poll.h>

#include <algorithm>

using namespace Steinberg;

namespace vst3host {

HostRunLoop::~HostRunLoop() {
  for (Timer& timer : mTimers) timer.handler->release();
  for (Handler& handler : mHandlers) handler.handler->release();
}

tresult PLUGIN_API HostRunLoop::queryInterface(const TUID iid, void** obj) {
  if (FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid) ||
      FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
    *obj = static_cast<Linux::IRunLoop*>(this);
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

tresult PLUGIN_API HostRunLoop::registerEventHandler(Linux::IEventHandler* handler,
                                                     Linux::FileDescriptor fd) {
  if (!handler || fd < 0) return kInvalidArgument;
  handler->addRef();
  mHandlers.push_back(Handler{handler, fd});
  return kResultOk;
}

tresult PLUGIN_API HostRunLoop::unregisterEventHandler(Linux::IEventHandler* handler) {
  for (auto it = mHandlers.begin(); it != mHandlers.end(); ++it) {
    if (it->handler != handler) continue;
    mHandlers.erase(it);
    handler->release();
    return kResultOk;
  }
  return kInvalidArgument;
}

tresult PLUGIN_API HostRunLoop::registerTimer(Linux::ITimerHandler* handler,
                                              Linux::TimerInterval milliseconds) {
  if (!handler || milliseconds == 0) return kInvalidArgument;
  handler->addRef();
  const std::chrono::milliseconds interval(static_cast<long long>(milliseconds));
  mTimers.push_back(Timer{handler, interval, Clock::now() + interval});
  return kResultOk;
}

tresult PLUGIN_API HostRunLoop::unregisterTimer(Linux::ITimerHandler* handler) {
  for (auto it = mTimers.begin(); it != mTimers.end(); ++it) {
    if (it->handler != handler) continue;
    mTimers.erase(it);
    handler->release();
    return kResultOk;
  }
  return kInvalidArgument;
}

void HostRunLoop::RunOnce(int maxWaitMs) {
  const Clock::time_point now = Clock::now();
  int wait = std::max(0, maxWaitMs);
  for (const Timer& timer : mTimers) {
    const auto untilDue =
        std::chrono::duration_cast<std::chrono::milliseconds>(timer.due - now).count();
    wait = std::min(wait, static_cast<int>(std::max<long long>(0, untilDue)));
  }
  std::vector<pollfd> watched;
  for (const Handler& handler : mHandlers) watched.push_back(pollfd{handler.fd, POLLIN, 0});
  poll(watched.data(), watched.size(), wait);

  // Handlers may unregister themselves (or others) while called: call a
  // copy, and only those still registered.
  const std::vector<Handler> handlers = mHandlers;
  for (size_t i = 0; i < handlers.size(); ++i) {
    if (!(watched[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
    const bool stillThere = std::any_of(mHandlers.begin(), mHandlers.end(), [&](const Handler& h) {
      return h.handler == handlers[i].handler;
    });
    if (stillThere) handlers[i].handler->onFDIsSet(handlers[i].fd);
  }
  const Clock::time_point after = Clock::now();
  std::vector<Linux::ITimerHandler*> due;
  for (Timer& timer : mTimers) {
    if (timer.due > after) continue;
    due.push_back(timer.handler);
    timer.due = after + timer.interval;
  }
  for (Linux::ITimerHandler* handler : due) {
    const bool stillThere = std::any_of(mTimers.begin(), mTimers.end(),
                                        [&](const Timer& t) { return t.handler == handler; });
    if (!stillThere) continue;
    ++mTimerCalls;
    handler->onTimer();
  }
}

void HostRunLoop::RunFor(int ms) {
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(ms);
  while (Clock::now() < end) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    RunOnce(static_cast<int>(left.count()));
  }
}

bool HostRunLoop::RunUntil(const std::function<bool()>& done, int limitMs) {
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(limitMs);
  while (!done()) {
    if (Clock::now() >= end) return false;
    RunOnce(10);
  }
  return true;
}

}  // namespace vst3host
