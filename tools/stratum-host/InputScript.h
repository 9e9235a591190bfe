#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace stratumhost {

// Scripted input for `stratum-host edit`: clicks, drags, typed text and
// keys, sent through the X server's XTest extension into a window, one
// action after another with a pause between them. It runs on a thread and a
// connection of its own, so an editor's modal pop-up menu (which holds the
// interface thread) can be answered by the next action.
class InputScript {
 public:
  struct Action {
    enum Kind { kClick, kDrag, kType, kKey } kind;
    int x = 0, y = 0, toX = 0, toY = 0;
    std::string text;  // kType: the characters; kKey: a key symbol name
  };

  // Reads "X,Y" (click) or "X,Y,X2,Y2" (drag); false with a reason.
  static bool ParsePoint(const std::string& text, Action* action, std::string* error);
  static bool ParseDrag(const std::string& text, Action* action, std::string* error);

  ~InputScript();
  void Add(const Action& action) { mActions.push_back(action); }
  bool Empty() const { return mActions.empty(); }
  // Starts sending into window (coordinates are the window's); Done() turns
  // true after the last action's pause.
  bool Start(unsigned long window, int pauseMs, std::string* error);
  bool Done() const { return mDone; }

 private:
  void Run(unsigned long window, int pauseMs);

  std::vector<Action> mActions;
  std::thread mThread;
  std::atomic<bool> mDone{false};
};

}  // namespace stratumhost
