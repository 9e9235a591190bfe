#pragma once

#include <X11/Xlib.h>

// X reports request errors to one process-wide handler whose default ends
// the process. The editor's connections must never take the host down (a
// host may destroy its parent window before closing the editor), so while a
// connection is adopted its errors are counted and dropped; errors of every
// other connection go on to the handler that was installed before ours.
//
// A trap counts the errors of one connection over a stretch of requests:
// Failed() waits for the server to answer them (one round trip).
class X11ErrorTrap {
 public:
  explicit X11ErrorTrap(Display* display);
  X11ErrorTrap(const X11ErrorTrap&) = delete;
  X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;
  bool Failed();

  // The first adoption installs the handler; the last release puts the
  // previous one back unless someone installed another after ours.
  // Interface thread only.
  static bool Adopt(Display* display);
  static void Release(Display* display);
  // Errors counted for an adopted connection so far.
  static unsigned long ErrorCount(Display* display);

 private:
  Display* mDisplay;
  unsigned long mErrorsBefore;
};
