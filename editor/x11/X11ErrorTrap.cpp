#include "editor/x11/X11ErrorTrap.h"

#include <atomic>

namespace {

// A handful of editors per process at most; a fixed table keeps the
// handler free of locks (it may run on any thread of the host).
constexpr int kMaxConnections = 32;
std::atomic<Display*> gDisplays[kMaxConnections];
std::atomic<unsigned long> gErrors[kMaxConnections];
int gAdopted = 0;
XErrorHandler gPreviousHandler = nullptr;

int Slot(Display* display) {
  for (int i = 0; i < kMaxConnections; ++i)
    if (gDisplays[i].load(std::memory_order_acquire) == display) return i;
  return -1;
}

int HandleError(Display* display, XErrorEvent* error) {
  const int slot = Slot(display);
  if (slot >= 0) {
    gErrors[slot].fetch_add(1, std::memory_order_relaxed);
    return 0;
  }
  return gPreviousHandler ? gPreviousHandler(display, error) : 0;
}

}  // namespace

X11ErrorTrap::X11ErrorTrap(Display* display) : mDisplay(display) {
  XSync(display, False);
  mErrorsBefore = ErrorCount(display);
}

bool X11ErrorTrap::Failed() {
  XSync(mDisplay, False);
  return ErrorCount(mDisplay) != mErrorsBefore;
}

bool X11ErrorTrap::Adopt(Display* display) {
  const int slot = Slot(nullptr);
  if (slot < 0) return false;
  gErrors[slot].store(0);
  gDisplays[slot].store(display, std::memory_order_release);
  if (gAdopted++ == 0) gPreviousHandler = XSetErrorHandler(HandleError);
  return true;
}

void X11ErrorTrap::Release(Display* display) {
  const int slot = Slot(display);
  if (slot < 0 || display == nullptr) return;
  gDisplays[slot].store(nullptr, std::memory_order_release);
  if (--gAdopted > 0) return;
  // Our code may be unloaded next: never leave the handler pointing at it.
  const XErrorHandler current = XSetErrorHandler(gPreviousHandler);
  if (current != HandleError) XSetErrorHandler(current);
  gPreviousHandler = nullptr;
}

unsigned long X11ErrorTrap::ErrorCount(Display* display) {
  const int slot = Slot(display);
  return slot >= 0 ? gErrors[slot].load(std::memory_order_relaxed) : 0;
}
