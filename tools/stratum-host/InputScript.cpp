#include "tools/stratum-host/InputScript.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdio>

namespace stratumhost {

namespace {

bool ParseInts(const std::string& text, int* values, int count) {
  int used = 0;
  if (count == 2) return std::sscanf(text.c_str(), "%d,%d%n", &values[0], &values[1], &used) == 2 && used == static_cast<int>(text.size());
  return std::sscanf(text.c_str(), "%d,%d,%d,%d%n", &values[0], &values[1], &values[2], &values[3], &used) == 4 &&
         used == static_cast<int>(text.size());
}

void MoveTo(Display* display, Window window, int x, int y) {
  Window child = 0;
  int rootX = 0;
  int rootY = 0;
  XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &rootX, &rootY, &child);
  XTestFakeMotionEvent(display, -1, rootX, rootY, 0);
}

void TapKey(Display* display, KeySym symbol) {
  const KeyCode code = XKeysymToKeycode(display, symbol);
  if (code == 0) return;
  XTestFakeKeyEvent(display, code, True, 0);
  XTestFakeKeyEvent(display, code, False, 0);
}

KeySym SymbolOf(char c) {
  switch (c) {
    case '-': return XK_minus;
    case '+': return XK_plus;
    case '.': return XK_period;
    case ' ': return XK_space;
    default: {
      const char name[2] = {c, 0};
      return XStringToKeysym(name);
    }
  }
}

}  // namespace

bool InputScript::ParsePoint(const std::string& text, Action* action, std::string* error) {
  int values[2];
  if (!ParseInts(text, values, 2)) {
    *error = "--click takes X,Y, not '" + text + "'";
    return false;
  }
  action->kind = Action::kClick;
  action->x = values[0];
  action->y = values[1];
  return true;
}

bool InputScript::ParseDrag(const std::string& text, Action* action, std::string* error) {
  int values[4];
  if (!ParseInts(text, values, 4)) {
    *error = "--drag takes X,Y,X2,Y2, not '" + text + "'";
    return false;
  }
  action->kind = Action::kDrag;
  action->x = values[0];
  action->y = values[1];
  action->toX = values[2];
  action->toY = values[3];
  return true;
}

InputScript::~InputScript() {
  if (mThread.joinable()) mThread.join();
}

bool InputScript::Start(unsigned long window, int pauseMs, std::string* error) {
  Display* probe = XOpenDisplay(nullptr);
  int event = 0, errorBase = 0, major = 0, minor = 0;
  const bool haveXTest = probe && XTestQueryExtension(probe, &event, &errorBase, &major, &minor);
  if (probe) XCloseDisplay(probe);
  if (!haveXTest) {
    *error = "the X server offers no XTest extension for scripted input";
    return false;
  }
  mThread = std::thread([this, window, pauseMs] { Run(window, pauseMs); });
  return true;
}

void InputScript::Run(unsigned long window, int pauseMs) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    mDone = true;
    return;
  }
  const auto pause = std::chrono::milliseconds(pauseMs);
  for (const Action& action : mActions) {
    switch (action.kind) {
      case Action::kClick:
        MoveTo(display, window, action.x, action.y);
        XTestFakeButtonEvent(display, 1, True, 0);
        XTestFakeButtonEvent(display, 1, False, 0);
        break;
      case Action::kDrag: {
        MoveTo(display, window, action.x, action.y);
        XTestFakeButtonEvent(display, 1, True, 0);
        XSync(display, False);
        constexpr int kSteps = 8;
        for (int step = 1; step <= kSteps; ++step) {
          MoveTo(display, window, action.x + (action.toX - action.x) * step / kSteps,
                 action.y + (action.toY - action.y) * step / kSteps);
          XSync(display, False);
          std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        XTestFakeButtonEvent(display, 1, False, 0);
        break;
      }
      case Action::kType:
        for (char c : action.text) TapKey(display, SymbolOf(c));
        break;
      case Action::kKey: TapKey(display, XStringToKeysym(action.text.c_str())); break;
    }
    XSync(display, False);
    std::this_thread::sleep_for(pause);
  }
  XCloseDisplay(display);
  mDone = true;
}

}  // namespace stratumhost
