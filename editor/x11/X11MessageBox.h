#pragma once

#include <X11/Xlib.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/IRect.h"

class RAS_CachedFont;
class RAS_MemBitmap;
class X11Surface;

// The editor's message box: an override-redirect window drawn with the
// raster library in the editor's look (caption bar, wrapped text, a row of
// buttons), run modally on the interface thread like the pop-up menu.
//
// Types and answers are the classic message-box codes: the low four bits of
// the type pick the button set, bits 8 to 11 the default button (0 the
// first). Return or space takes the focused button (the default one at
// first), Tab and Shift+Tab or left and right move the focus, Escape gives
// the set's cancel answer where it has one (Cancel, No, or OK when OK is all
// there is). A click takes a button when press and release fall on it.
// Closing without a choice (the editor's window gone, the connection lost)
// answers CloseAnswer().
class X11MessageBox {
 public:
  enum Answer {
    kOk = 1,
    kCancel = 2,
    kAbort = 3,
    kRetry = 4,
    kIgnore = 5,
    kYes = 6,
    kNo = 7,
    kTryAgain = 10,
    kContinue = 11,
  };
  enum ButtonSet {
    kOkOnly = 0,
    kOkCancel = 1,
    kAbortRetryIgnore = 2,
    kYesNoCancel = 3,
    kYesNo = 4,
    kRetryCancel = 5,
    kCancelTryContinue = 6,
  };

  // The answers of the type's buttons, left to right (an unknown set shows
  // OK alone).
  static std::vector<int> Buttons(int type);
  // The default button's index.
  static int DefaultButton(int type);
  // What Escape answers; 0 where Escape does nothing (abort, retry, ignore).
  static int EscapeAnswer(int type);
  // What closing without a choice answers: Escape's answer, Abort where
  // Escape has none.
  static int CloseAnswer(int type);
  static const char* Label(int answer);

  // Layout, shared with the tests: the window's size for a number of text
  // lines, and button i of n in a window of that size.
  static int WindowHeight(int lineCount);
  static IRect ButtonRect(int windowWidth, int windowHeight, int count, int index);

  // Windows go on display's default screen; the font draws the texts.
  X11MessageBox(Display* display, RAS_CachedFont* font);
  ~X11MessageBox();
  X11MessageBox(const X11MessageBox&) = delete;
  X11MessageBox& operator=(const X11MessageBox&) = delete;

  // Shows the box centred on (centreX, centreY) in root coordinates and
  // waits for an answer. Between events `tick` runs at the editor's rate;
  // `other` receives events of other windows; `abandoned` is asked after
  // each batch of events and ends the box with CloseAnswer() when true.
  int Run(const char* text, const char* caption, int type, int centreX, int centreY,
          int tickIntervalMs, const std::function<void()>& tick,
          const std::function<void(XEvent&)>& other, const std::function<bool()>& abandoned);

  // False once the box found its connection closed by the server: nothing
  // may use the connection after that.
  bool ConnectionAlive() const { return mConnectionAlive; }

  // The window name the box carries once it takes input (tests look for
  // it).
  static constexpr const char* kWindowName = "IFxMessageBox";

 private:
  void Draw();
  void HandleEvent(XEvent& event, const std::function<void(XEvent&)>& other);
  void HandleKey(XKeyEvent& key);
  int ButtonAt(int x, int y) const;
  void Finish(int answer);
  bool ServerClosedConnection() const;

  Display* mDisplay;
  RAS_CachedFont* mFont;
  Window mWindow = 0;
  int mWidth = 0;
  int mHeight = 0;
  std::string mCaption;
  std::vector<std::string> mLines;
  std::vector<int> mButtons;
  int mFocused = 0;
  int mPressed = -1;  // button under a press that has not been released
  int mType = 0;
  int mAnswer = 0;
  bool mDone = false;
  bool mConnectionAlive = true;
  std::unique_ptr<RAS_MemBitmap> mPixels;
  std::unique_ptr<X11Surface> mSurface;
};
