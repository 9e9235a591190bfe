#include "tests/editor/x11/X11TestDisplay.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <poll.h>

#include <chrono>
#include <cstring>
#include <utility>

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

void FakeInput::KeyWith(unsigned long modifier, unsigned long keysym) {
  const KeyCode held = XKeysymToKeycode(mDisplay, modifier);
  XTestFakeKeyEvent(mDisplay, held, True, 0);
  Key(keysym);
  XTestFakeKeyEvent(mDisplay, held, False, 0);
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

bool FindMappedWindow(Display* display, const char* wanted, int* x, int* y, int* width,
                      int* height) {
  // Other clients may destroy windows while we look at them: the server is
  // held still meanwhile, so no request here names a window that is gone.
  XGrabServer(display);
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
    XUngrabServer(display);
    XSync(display, False);
    return false;
  }
  bool found = false;
  for (unsigned int i = 0; i < count && !found; ++i) {
    char* name = nullptr;
    if (!XFetchName(display, children[i], &name) || !name) continue;
    const bool named = std::strcmp(name, wanted) == 0;
    XFree(name);
    XWindowAttributes attributes;
    if (named && XGetWindowAttributes(display, children[i], &attributes) &&
        attributes.map_state == IsViewable) {
      *x = attributes.x;
      *y = attributes.y;
      *width = attributes.width;
      *height = attributes.height;
      found = true;
    }
  }
  if (children) XFree(children);
  XUngrabServer(display);
  XSync(display, False);
  return found;
}

bool FindPopupMenu(Display* display, int* x, int* y, int* width, int* height) {
  return FindMappedWindow(display, X11PopupMenu::kWindowName, x, y, width, height);
}

ClipboardOwner::ClipboardOwner(std::string text) : mText(std::move(text)) {
  mDisplay = OpenDisplay();
  if (!mDisplay) return;
  mWindow = XCreateSimpleWindow(mDisplay, DefaultRootWindow(mDisplay), 0, 0, 1, 1, 0, 0, 0);
  const Atom clipboard = XInternAtom(mDisplay, "CLIPBOARD", False);
  XSetSelectionOwner(mDisplay, clipboard, mWindow, CurrentTime);
  XSync(mDisplay, False);
  mOwning = XGetSelectionOwner(mDisplay, clipboard) == mWindow;
  mThread = std::thread([this] { Serve(); });
}

ClipboardOwner::~ClipboardOwner() {
  if (!mDisplay) return;
  mStop = true;
  mThread.join();
  XDestroyWindow(mDisplay, mWindow);
  XCloseDisplay(mDisplay);
}

void ClipboardOwner::Serve() {
  const Atom utf8 = XInternAtom(mDisplay, "UTF8_STRING", False);
  while (!mStop) {
    while (XPending(mDisplay) > 0) {
      XEvent event;
      XNextEvent(mDisplay, &event);
      if (event.type != SelectionRequest) continue;
      const XSelectionRequestEvent& request = event.xselectionrequest;
      XEvent notify = {};
      notify.xselection.type = SelectionNotify;
      notify.xselection.requestor = request.requestor;
      notify.xselection.selection = request.selection;
      notify.xselection.target = request.target;
      notify.xselection.time = request.time;
      notify.xselection.property = None;
      if (request.target == utf8 || request.target == XA_STRING) {
        XChangeProperty(mDisplay, request.requestor, request.property, request.target, 8,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(mText.data()),
                        static_cast<int>(mText.size()));
        notify.xselection.property = request.property;
      }
      XSendEvent(mDisplay, request.requestor, False, NoEventMask, &notify);
      XFlush(mDisplay);
    }
    pollfd wait = {ConnectionNumber(mDisplay), POLLIN, 0};
    poll(&wait, 1, 20);
  }
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
