#include "tests/editor/x11/X11TestDisplay.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <poll.h>

#include <chrono>
#include <cstring>

#include "editor/x11/X11PopupMenu.h"

namespace x11test {

// A busy server (a loaded test machine) refuses connections now and then
// while its accept queue is full; try again for a while.
Display* OpenDisplay() {
  for (int attempt = 0; attempt < 200; ++attempt) {
    if (Display* display = XOpenDisplay(nullptr)) return display;
    poll(nullptr, 0, 10);
  }
  return nullptr;
}

bool DisplayAvailable() {
  static const bool available = [] {
    Display* display = OpenDisplay();
    if (display) XCloseDisplay(display);
    return display != nullptr;
  }();
  return available;
}

HostWindow::HostWindow(int x, int y, int width, int height) {
  mDisplay = OpenDisplay();
  if (!mDisplay) return;
  mWindow = XCreateSimpleWindow(mDisplay, DefaultRootWindow(mDisplay), x, y,
                                static_cast<unsigned>(width), static_cast<unsigned>(height), 0, 0,
                                0x808080);
  XSelectInput(mDisplay, mWindow, StructureNotifyMask | KeyPressMask);
  XMapWindow(mDisplay, mWindow);
  // The server answers a map with MapNotify; wait for it.
  XEvent event;
  do {
    XWindowEvent(mDisplay, mWindow, StructureNotifyMask, &event);
  } while (event.type != MapNotify);
}

HostWindow::~HostWindow() {
  if (!mDisplay) return;
  XDestroyWindow(mDisplay, mWindow);
  XCloseDisplay(mDisplay);
}

std::vector<Window> HostWindow::Children() const {
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  std::vector<Window> result;
  XSync(mDisplay, False);
  if (XQueryTree(mDisplay, mWindow, &root, &parent, &children, &count)) {
    result.assign(children, children + count);
    if (children) XFree(children);
  }
  return result;
}

int HostWindow::ReceivedKeyPresses() {
  XSync(mDisplay, False);
  int count = 0;
  XEvent event;
  while (XCheckTypedWindowEvent(mDisplay, mWindow, KeyPress, &event)) ++count;
  return count;
}

FakeInput::FakeInput() { mDisplay = OpenDisplay(); }

FakeInput::~FakeInput() {
  if (mDisplay) XCloseDisplay(mDisplay);
}

void FakeInput::MoveTo(Window window, int x, int y) {
  Window child = 0;
  int rootX = 0;
  int rootY = 0;
  XTranslateCoordinates(mDisplay, window, DefaultRootWindow(mDisplay), x, y, &rootX, &rootY, &child);
  XTestFakeMotionEvent(mDisplay, -1, rootX, rootY, 0);
}

void FakeInput::Press(int button) {
  XTestFakeButtonEvent(mDisplay, static_cast<unsigned>(button), True, 0);
}

void FakeInput::Release(int button) {
  XTestFakeButtonEvent(mDisplay, static_cast<unsigned>(button), False, 0);
}

void FakeInput::Click(Window window, int x, int y, int button) {
  MoveTo(window, x, y);
  Press(button);
  Release(button);
  Sync();
}

void FakeInput::DoubleClick(Window window, int x, int y) {
  MoveTo(window, x, y);
  Press(1);
  Release(1);
  Press(1);
  Release(1);
  Sync();
}

void FakeInput::Drag(Window window, int x, int y, int toX, int toY) {
  MoveTo(window, x, y);
  Press(1);
  MoveTo(window, (x + toX) / 2, (y + toY) / 2);
  MoveTo(window, toX, toY);
  Release(1);
  Sync();
}

void FakeInput::Key(unsigned long keysym) {
  const KeyCode code = XKeysymToKeycode(mDisplay, keysym);
  XTestFakeKeyEvent(mDisplay, code, True, 0);
  XTestFakeKeyEvent(mDisplay, code, False, 0);
}

void FakeInput::Type(const std::string& text) {
  for (char c : text) {
    char name[2] = {c, 0};
    unsigned long keysym = XStringToKeysym(name);
    if (c == '-') keysym = XK_minus;
    if (c == '.') keysym = XK_period;
    if (c == '+') keysym = XK_plus;
    Key(keysym);
  }
  Sync();
}

void FakeInput::Sync() { XSync(mDisplay, False); }

std::vector<uint32_t> WindowPixels(Display* display, Window window, int width, int height) {
  std::vector<uint32_t> pixels;
  XSync(display, False);
  XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (!image) return pixels;
  pixels.reserve(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels.push_back(XGetPixel(image, x, y) & 0xFFFFFFu);
  XDestroyImage(image);
  return pixels;
}

bool FindPopupMenu(Display* display, int* x, int* y, int* width, int* height) {
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
    return false;
  bool found = false;
  for (unsigned int i = 0; i < count && !found; ++i) {
    char* name = nullptr;
    if (!XFetchName(display, children[i], &name) || !name) continue;
    const bool isMenu = std::strcmp(name, X11PopupMenu::kWindowName) == 0;
    XFree(name);
    XWindowAttributes attributes;
    if (isMenu && XGetWindowAttributes(display, children[i], &attributes) &&
        attributes.map_state == IsViewable) {
      *x = attributes.x;
      *y = attributes.y;
      *width = attributes.width;
      *height = attributes.height;
      found = true;
    }
  }
  if (children) XFree(children);
  return found;
}

bool RunUntil(const std::function<void()>& step, const std::function<bool()>& done, int limitMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  while (std::chrono::steady_clock::now() < end) {
    if (step) step();
    if (done()) return true;
    poll(nullptr, 0, 5);
  }
  return done();
}

}  // namespace x11test
