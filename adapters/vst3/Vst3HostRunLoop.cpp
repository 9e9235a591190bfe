#include "adapters/vst3/Vst3HostRunLoop.h"

#include <atomic>

using namespace Steinberg;

// Both host callbacks of one client in one object.
class Vst3HostRunLoop::Handler : public Linux::ITimerHandler, public Linux::IEventHandler {
 public:
  explicit Handler(IFxRunLoopClient* client) : mClient(client) {}

  void Detach() { mClient = nullptr; }

  void PLUGIN_API onTimer() override {
    if (mClient) mClient->OnRunLoopTimer();
  }
  void PLUGIN_API onFDIsSet(Linux::FileDescriptor fd) override {
    if (mClient) mClient->OnRunLoopInput(fd);
  }

  tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override {
    if (FUnknownPrivate::iidEqual(iid, Linux::ITimerHandler::iid) ||
        FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
      addRef();
      *obj = static_cast<Linux::ITimerHandler*>(this);
      return kResultOk;
    }
    if (FUnknownPrivate::iidEqual(iid, Linux::IEventHandler::iid)) {
      addRef();
      *obj = static_cast<Linux::IEventHandler*>(this);
      return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 PLUGIN_API addRef() override { return ++mRefs; }
  uint32 PLUGIN_API release() override {
    const uint32 left = --mRefs;
    if (left == 0) delete this;
    return left;
  }

 private:
  virtual ~Handler() = default;
  IFxRunLoopClient* mClient;
  std::atomic<uint32> mRefs{1};
};

Vst3HostRunLoop::Vst3HostRunLoop(Linux::IRunLoop* runLoop) : mRunLoop(runLoop) {
  if (mRunLoop) mRunLoop->addRef();
}

Vst3HostRunLoop::~Vst3HostRunLoop() {
  while (!mRegistrations.empty()) Unregister(mRegistrations.back().client);
  if (mRunLoop) mRunLoop->release();
}

Linux::IRunLoop* Vst3HostRunLoop::FromFrame(IPlugFrame* frame) {
  if (!frame) return nullptr;
  Linux::IRunLoop* runLoop = nullptr;
  if (frame->queryInterface(Linux::IRunLoop::iid, reinterpret_cast<void**>(&runLoop)) != kResultOk)
    return nullptr;
  return runLoop;  // the caller owns the reference queryInterface added
}

bool Vst3HostRunLoop::Register(IFxRunLoopClient* client, int fd, int intervalMs) {
  if (!mRunLoop || !client) return false;
  for (const Registration& registration : mRegistrations)
    if (registration.client == client) return false;
  Handler* handler = new Handler(client);
  const Linux::TimerInterval interval = static_cast<Linux::TimerInterval>(intervalMs > 0 ? intervalMs : 1);
  if (mRunLoop->registerTimer(handler, interval) != kResultOk) {
    handler->release();
    return false;
  }
  bool watchesFd = false;
  if (fd >= 0) {
    watchesFd = mRunLoop->registerEventHandler(handler, fd) == kResultOk;
    if (!watchesFd) {
      mRunLoop->unregisterTimer(handler);
      handler->Detach();
      handler->release();
      return false;
    }
  }
  mRegistrations.push_back(Registration{client, handler, watchesFd});
  return true;
}

void Vst3HostRunLoop::Unregister(IFxRunLoopClient* client) {
  for (auto it = mRegistrations.begin(); it != mRegistrations.end(); ++it) {
    if (it->client != client) continue;
    Handler* handler = it->handler;
    mRunLoop->unregisterTimer(handler);
    if (it->watchesFd) mRunLoop->unregisterEventHandler(handler);
    handler->Detach();
    handler->release();
    mRegistrations.erase(it);
    return;
  }
}
