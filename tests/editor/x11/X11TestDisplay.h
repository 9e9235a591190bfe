#pragma once

// What the window-layer tests need of the X server: a host window to embed
// the editor in, real input through XTest, the window's pixels, and waits
// that end on a condition (never on elapsed time alone).

#include <X11/Xlib.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/IFxHostRunLoop.h"

namespace x11test {

// A connection to DISPLAY, retried while a busy server refuses; null when
// no server answers.
Display* OpenDisplay();

// True when an X server answers on DISPLAY (asked once).
bool DisplayAvailable();

// A host's top-level window on a connection of the test's own.
class HostWindow {
 public:
  HostWindow(int x, int y, int width, int height);
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  Display* display() const { return mDisplay; }
  Window window() const { return mWindow; }
  void* parent() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(mWindow)); }

  // The children of the host window.
  std::vector<Window> Children() const;
  // Key events the host window received (forwarded by the editor).
  int ReceivedKeyPresses();

 private:
  Display* mDisplay = nullptr;
  Window mWindow = 0;
};

// Real input through the XTest extension, on a connection of its own (so a
// helper thread may use it while the editor's thread waits in a menu).
class FakeInput {
 public:
  FakeInput();
  ~FakeInput();
  FakeInput(const FakeInput&) = delete;
  FakeInput& operator=(const FakeInput&) = delete;

  Display* display() const { return mDisplay; }
  // Positions are in window's coordinates.
  void MoveTo(Window window, int x, int y);
  void Press(int button);
  void Release(int button);
  void Click(Window window, int x, int y, int button = 1);
  void DoubleClick(Window window, int x, int y);
  void Drag(Window window, int x, int y, int toX, int toY);
  // Types keys by their key symbols (press and release each).
  void Key(unsigned long keysym);
  // A key with a modifier key held (Control_L, Shift_L, ...).
  void KeyWith(unsigned long modifier, unsigned long keysym);
  void Type(const std::string& text);
  // Waits until the server has handled everything sent so far.
  void Sync();

 private:
  Display* mDisplay = nullptr;
};

// The window's pixels (0x00RRGGBB per pixel, row by row).
std::vector<uint32_t> WindowPixels(Display* display, Window window, int width, int height);

// A mapped top-level window of that name on the screen, if there is one;
// its root position and size.
bool FindMappedWindow(Display* display, const char* name, int* x, int* y, int* width,
                      int* height);
// The pop-up menu window.
bool FindPopupMenu(Display* display, int* x, int* y, int* width, int* height);

// Owns the CLIPBOARD selection on a connection of its own and serves the
// text (as UTF8_STRING or STRING) from a thread. Ownership is confirmed by
// the server before the constructor returns, so a paste that follows finds
// it.
class ClipboardOwner {
 public:
  explicit ClipboardOwner(std::string text);
  ~ClipboardOwner();
  ClipboardOwner(const ClipboardOwner&) = delete;
  ClipboardOwner& operator=(const ClipboardOwner&) = delete;
  bool Owning() const { return mOwning; }

 private:
  void Serve();

  const std::string mText;
  Display* mDisplay = nullptr;
  Window mWindow = 0;
  bool mOwning = false;
  std::atomic<bool> mStop{false};
  std::thread mThread;
};

// Calls step until done answers true; false after `limitMs` without.
bool RunUntil(const std::function<void()>& step, const std::function<bool()>& done,
              int limitMs = 3000);

// A run loop that only records what the editor registers; the tests call
// the client themselves.
class RecordingRunLoop : public IFxHostRunLoop {
 public:
  struct Registration {
    IFxRunLoopClient* client;
    int fd;
    int intervalMs;
  };
  bool Register(IFxRunLoopClient* client, int fd, int intervalMs) override {
    registered.push_back({client, fd, intervalMs});
    return true;
  }
  void Unregister(IFxRunLoopClient* client) override { unregistered.push_back(client); }

  std::vector<Registration> registered;
  std::vector<IFxRunLoopClient*> unregistered;
};

}  // namespace x11test
