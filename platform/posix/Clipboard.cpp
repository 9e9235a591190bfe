#include "platform/Clipboard.h"

#include <cerrno>
#include <chrono>
#include <climits>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

// The clipboard is the X11 CLIPBOARD selection. Each read uses a connection
// and a small unmapped window of its own, so it never meets an editor
// window's connection or event queue.

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

// How long the owner of the selection has to hand its text over.
constexpr std::chrono::milliseconds kAnswerTime{1000};

struct Connection {
  Display* display = nullptr;
  Window window = None;
  ~Connection() {
    if (display == nullptr) return;
    if (window != None) XDestroyWindow(display, window);
    XCloseDisplay(display);
  }
};

// The next event of the connection, or false once the deadline has passed.
bool NextEvent(Display* display, Clock::time_point deadline, XEvent* event) {
  for (;;) {
    if (XPending(display) > 0) {
      XNextEvent(display, event);
      return true;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return false;
    pollfd wait = {ConnectionNumber(display), POLLIN, 0};
    if (poll(&wait, 1, static_cast<int>(left.count()) + 1) < 0 && errno != EINTR) return false;
  }
}

struct Property {
  Atom type = None;
  std::string bytes;
};

// Reads and deletes the property (deleting it is what asks an incremental
// sender for its next part).
bool TakeProperty(Display* display, Window window, Atom property, Property* out) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, property, 0, LONG_MAX / 4, True, AnyPropertyType, &type, &format,
                         &count, &remaining, &data) != Success) {
    return false;
  }
  out->type = type;
  out->bytes.clear();
  if (data != nullptr) {
    if (format == 8) out->bytes.assign(reinterpret_cast<const char*>(data), count);
    XFree(data);
  }
  return true;
}

// Collects an incremental transfer: each part arrives as a new value of the
// property, a part of length zero ends it.
bool ReceiveIncrementally(Connection& connection, Atom property, Clock::time_point deadline, Property* out) {
  std::string whole;
  Atom type = None;
  XEvent event;
  while (NextEvent(connection.display, deadline, &event)) {
    if (event.type != PropertyNotify || event.xproperty.window != connection.window ||
        event.xproperty.atom != property || event.xproperty.state != PropertyNewValue) {
      continue;
    }
    Property part;
    if (!TakeProperty(connection.display, connection.window, property, &part)) return false;
    if (part.bytes.empty()) {
      out->type = type;
      out->bytes = std::move(whole);
      return true;
    }
    type = part.type;
    whole += part.bytes;
  }
  return false;
}

enum class Answer { kText, kRefused, kNoAnswer };

// Asks the selection's owner for its content as target.
Answer Request(Connection& connection, Atom selection, Atom target, Atom property, Clock::time_point deadline,
               Property* out) {
  Display* display = connection.display;
  XConvertSelection(display, selection, target, property, connection.window, CurrentTime);
  XEvent event;
  for (;;) {
    if (!NextEvent(display, deadline, &event)) return Answer::kNoAnswer;
    if (event.type == SelectionNotify && event.xselection.requestor == connection.window &&
        event.xselection.selection == selection) {
      break;
    }
  }
  if (event.xselection.property == None) return Answer::kRefused;
  if (!TakeProperty(display, connection.window, property, out)) return Answer::kRefused;
  if (out->type == XInternAtom(display, "INCR", False)) {
    if (!ReceiveIncrementally(connection, property, deadline, out)) return Answer::kNoAnswer;
  }
  return Answer::kText;
}

// STRING is ISO 8859-1: every byte is the code point of the same value.
std::string Latin1ToUtf8(const std::string& latin1) {
  std::string utf8;
  utf8.reserve(latin1.size());
  for (const char c : latin1) {
    const unsigned char code = static_cast<unsigned char>(c);
    if (code < 0x80) {
      utf8 += c;
    } else {
      utf8 += static_cast<char>(0xC0 | (code >> 6));
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return utf8;
}

// Callers treat the text as a C string: it ends at the first NUL.
std::string UpToNul(std::string text) {
  const size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return text;
}

}  // namespace

bool GetClipboardText(std::string& text) {
  text.clear();
  Connection connection;
  connection.display = XOpenDisplay(nullptr);
  if (connection.display == nullptr) return false;
  Display* display = connection.display;
  const Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
  if (XGetSelectionOwner(display, clipboard) == None) return false;

  connection.window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
  XSelectInput(display, connection.window, PropertyChangeMask);
  const Atom property = XInternAtom(display, "STRATUM_CLIPBOARD", False);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  const Clock::time_point deadline = Clock::now() + kAnswerTime;

  for (const Atom target : {utf8, static_cast<Atom>(XA_STRING)}) {
    Property answer;
    const Answer result = Request(connection, clipboard, target, property, deadline, &answer);
    if (result == Answer::kNoAnswer) return false;
    if (result == Answer::kRefused) continue;
    if (answer.type == utf8) {
      text = UpToNul(answer.bytes);
    } else if (answer.type == XA_STRING) {
      text = UpToNul(Latin1ToUtf8(answer.bytes));
    } else {
      continue;  // some other encoding: try the next target
    }
    return !text.empty();
  }
  return false;
}

}  // namespace platform
