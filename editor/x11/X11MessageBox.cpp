#include "editor/x11/X11MessageBox.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "editor/x11/X11Surface.h"
#include "editor/x11/X11TextWrap.h"
#include "raster/RAS_Blit.h"
#include "raster/RAS_CachedFont.h"
#include "raster/RAS_MemBitmap.h"

namespace {

// The editor's look, as in the pop-up menu.
constexpr uint32_t kBackground = 0xFF232528u;
constexpr uint32_t kCaptionBar = 0xFF2E3236u;
constexpr uint32_t kBorder = 0xFF5B6168u;
constexpr uint32_t kButtonFace = 0xFF363A40u;
constexpr uint32_t kButtonPressed = 0xFF2A4560u;
constexpr uint32_t kFocus = 0xFF3C5A7Du;
constexpr uint32_t kText = 0xFFE8E8E8u;

constexpr int kWidth = 320;
constexpr int kPadding = 14;
constexpr int kCaptionHeight = 24;
constexpr int kLineHeight = 16;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 24;
constexpr int kButtonGap = 8;

int TextWidth(RAS_CachedFont* font, const std::string& text) {
  if (!font || text.empty()) return 0;
  RAS_Rect rect;
  font->DrawText(nullptr, text.c_str(), -1, &rect, RAS_TextMeasure | RAS_TextSingleLine);
  return rect.R - rect.L;
}

long long NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void DrawFrame(RAS_MemBitmap* bitmap, int l, int t, int r, int b, uint32_t colour) {
  RAS_DrawLine(bitmap, l, t, r, t, colour, 1.0f, RAS_BlitCopy, false);
  RAS_DrawLine(bitmap, l, b, r, b, colour, 1.0f, RAS_BlitCopy, false);
  RAS_DrawLine(bitmap, l, t, l, b, colour, 1.0f, RAS_BlitCopy, false);
  RAS_DrawLine(bitmap, r, t, r, b, colour, 1.0f, RAS_BlitCopy, false);
}

}  // namespace

// ---- Button sets ----

std::vector<int> X11MessageBox::Buttons(int type) {
  switch (type & 0xF) {
    case kOkCancel: return {kOk, kCancel};
    case kAbortRetryIgnore: return {kAbort, kRetry, kIgnore};
    case kYesNoCancel: return {kYes, kNo, kCancel};
    case kYesNo: return {kYes, kNo};
    case kRetryCancel: return {kRetry, kCancel};
    case kCancelTryContinue: return {kCancel, kTryAgain, kContinue};
    default: return {kOk};
  }
}

int X11MessageBox::DefaultButton(int type) {
  const int index = (type >> 8) & 0xF;
  return index < static_cast<int>(Buttons(type).size()) ? index : 0;
}

int X11MessageBox::EscapeAnswer(int type) {
  const std::vector<int> buttons = Buttons(type);
  if (buttons.size() == 1) return kOk;
  for (int answer : buttons)
    if (answer == kCancel) return kCancel;
  for (int answer : buttons)
    if (answer == kNo) return kNo;
  return 0;
}

int X11MessageBox::CloseAnswer(int type) {
  const int escape = EscapeAnswer(type);
  return escape != 0 ? escape : kAbort;
}

const char* X11MessageBox::Label(int answer) {
  switch (answer) {
    case kOk: return "OK";
    case kCancel: return "Cancel";
    case kAbort: return "Abort";
    case kRetry: return "Retry";
    case kIgnore: return "Ignore";
    case kYes: return "Yes";
    case kNo: return "No";
    case kTryAgain: return "Try Again";
    case kContinue: return "Continue";
    default: return "";
  }
}

// ---- Layout ----

int X11MessageBox::WindowHeight(int lineCount) {
  return kCaptionHeight + kPadding + std::max(lineCount, 1) * kLineHeight + kPadding +
         kButtonHeight + kPadding;
}

IRect X11MessageBox::ButtonRect(int windowWidth, int windowHeight, int count, int index) {
  // Right-aligned in one row at the bottom.
  const int right = windowWidth - kPadding - (count - 1 - index) * (kButtonWidth + kButtonGap);
  const int top = windowHeight - kPadding - kButtonHeight;
  return IRect(right - kButtonWidth, top, right, top + kButtonHeight);
}

// ---- The window ----

X11MessageBox::X11MessageBox(Display* display, RAS_CachedFont* font)
    : mDisplay(display), mFont(font), mSurface(std::make_unique<X11Surface>()) {}

X11MessageBox::~X11MessageBox() {
  if (!mConnectionAlive) {
    // A dead connection takes no more requests, not even the surface's
    // clean-up; its resources went with the connection.
    mSurface.release();
    return;
  }
  if (mWindow) {
    mSurface->Destroy();
    XDestroyWindow(mDisplay, mWindow);
    XFlush(mDisplay);
  }
}

int X11MessageBox::Run(const char* text, const char* caption, int type, int centreX, int centreY,
                       int tickIntervalMs, const std::function<void()>& tick,
                       const std::function<void(XEvent&)>& other,
                       const std::function<bool()>& abandoned) {
  const int screen = DefaultScreen(mDisplay);
  Visual* visual = DefaultVisual(mDisplay, screen);
  const int depth = DefaultDepth(mDisplay, screen);
  if (!X11Surface::VisualMatches(visual, depth)) return 0;

  mType = type;
  mButtons = Buttons(type);
  mFocused = DefaultButton(type);
  mCaption = caption ? caption : "";
  mLines = WrapText(text ? text : "", kWidth - 2 * kPadding,
                    [this](const std::string& piece) { return TextWidth(mFont, piece); });
  mWidth = kWidth;
  mHeight = WindowHeight(static_cast<int>(mLines.size()));
  // A text too long for the screen shows as much as fits.
  const int screenWidth = DisplayWidth(mDisplay, screen);
  const int screenHeight = DisplayHeight(mDisplay, screen);
  mHeight = std::min(mHeight, std::max(WindowHeight(1), screenHeight));
  const int x = std::max(0, std::min(centreX - mWidth / 2, screenWidth - mWidth));
  const int y = std::max(0, std::min(centreY - mHeight / 2, screenHeight - mHeight));

  XSetWindowAttributes attributes = {};
  attributes.override_redirect = True;
  attributes.background_pixel = kBackground & 0xFFFFFFu;
  attributes.border_pixel = 0;
  attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | KeyPressMask;
  mWindow = XCreateWindow(mDisplay, RootWindow(mDisplay, screen), x, y,
                          static_cast<unsigned>(mWidth), static_cast<unsigned>(mHeight), 0, depth,
                          InputOutput, visual,
                          CWOverrideRedirect | CWBackPixel | CWBorderPixel | CWEventMask,
                          &attributes);
  const Atom windowType = XInternAtom(mDisplay, "_NET_WM_WINDOW_TYPE", False);
  Atom dialogType = XInternAtom(mDisplay, "_NET_WM_WINDOW_TYPE_DIALOG", False);
  XChangeProperty(mDisplay, mWindow, windowType, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&dialogType), 1);
  mPixels = std::make_unique<RAS_MemBitmap>(mWidth, mHeight);
  mSurface->Create(mDisplay, mWindow, visual, depth, mWidth, mHeight, false);
  XMapRaised(mDisplay, mWindow);
  Draw();
  XSync(mDisplay, False);

  // Modal: presses outside the box go nowhere, and the keys are ours. All
  // input is reported to the box, even over the editor's window (which
  // would take the keys under the pointer otherwise). The grabs fail only
  // while another client holds one; the box still works with the mouse
  // then and takes the focus for the keys.
  const bool pointerGrabbed =
      XGrabPointer(mDisplay, mWindow, False, ButtonPressMask | ButtonReleaseMask, GrabModeAsync,
                   GrabModeAsync, None, None, CurrentTime) == GrabSuccess;
  const bool keyboardGrabbed =
      XGrabKeyboard(mDisplay, mWindow, False, GrabModeAsync, GrabModeAsync, CurrentTime) ==
      GrabSuccess;
  if (!keyboardGrabbed) XSetInputFocus(mDisplay, mWindow, RevertToParent, CurrentTime);
  // Named only now: whoever finds the box by its name finds it ready for
  // input.
  XStoreName(mDisplay, mWindow, kWindowName);
  XSync(mDisplay, False);

  const int interval = tickIntervalMs > 0 ? tickIntervalMs : 40;
  long long nextTick = NowMs() + interval;
  const int fd = ConnectionNumber(mDisplay);
  mDone = false;
  mAnswer = 0;
  while (!mDone) {
    // Xlib ends the process when it reads the end of a connection, so the
    // end is looked for first, on the socket itself.
    if (ServerClosedConnection()) {
      mConnectionAlive = false;
      Finish(CloseAnswer(type));
      break;
    }
    while (!mDone && XPending(mDisplay)) {
      XEvent event;
      XNextEvent(mDisplay, &event);
      HandleEvent(event, other);
    }
    if (!mDone && abandoned && abandoned()) Finish(CloseAnswer(type));
    if (mDone) break;
    const long long now = NowMs();
    if (now >= nextTick) {
      if (tick) tick();
      nextTick = now + interval;
    }
    pollfd watch = {fd, POLLIN, 0};
    poll(&watch, 1, static_cast<int>(std::max<long long>(1, nextTick - NowMs())));
  }

  if (mConnectionAlive) {
    if (keyboardGrabbed) XUngrabKeyboard(mDisplay, CurrentTime);
    if (pointerGrabbed) XUngrabPointer(mDisplay, CurrentTime);
    mSurface->Destroy();
    XDestroyWindow(mDisplay, mWindow);
    mWindow = 0;
    XFlush(mDisplay);
  }
  return mAnswer;
}

bool X11MessageBox::ServerClosedConnection() const {
  char byte = 0;
  const ssize_t got = recv(ConnectionNumber(mDisplay), &byte, 1, MSG_PEEK | MSG_DONTWAIT);
  if (got == 0) return true;
  return got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR;
}

void X11MessageBox::Finish(int answer) {
  mAnswer = answer;
  mDone = true;
}

void X11MessageBox::Draw() {
  RAS_MemBitmap* bitmap = mPixels.get();
  RAS_FillRectangle(bitmap, 0, 0, mWidth, mHeight, kBackground, 1.0f, RAS_BlitCopy);
  RAS_FillRectangle(bitmap, 0, 0, mWidth, kCaptionHeight, kCaptionBar, 1.0f, RAS_BlitCopy);
  RAS_DrawLine(bitmap, 0, kCaptionHeight, mWidth - 1, kCaptionHeight, kBorder, 1.0f,
               RAS_BlitCopy, false);
  if (mFont) {
    mFont->SetTextColor(kText);
    RAS_Rect rect;
    rect.L = kPadding;
    rect.T = 0;
    rect.R = mWidth - kPadding;
    rect.B = kCaptionHeight;
    mFont->DrawText(bitmap, mCaption.c_str(), -1, &rect, RAS_TextVCenter | RAS_TextSingleLine);
    const int textBottom = ButtonRect(mWidth, mHeight, 1, 0).T - kPadding;
    int top = kCaptionHeight + kPadding;
    for (const std::string& line : mLines) {
      if (top + kLineHeight > textBottom) break;
      rect.T = top;
      rect.B = top + kLineHeight;
      mFont->DrawText(bitmap, line.c_str(), -1, &rect, RAS_TextVCenter | RAS_TextSingleLine);
      top += kLineHeight;
    }
  }
  const int count = static_cast<int>(mButtons.size());
  for (int i = 0; i < count; ++i) {
    const IRect r = ButtonRect(mWidth, mHeight, count, i);
    RAS_FillRectangle(bitmap, r.L, r.T, r.W(), r.H(), i == mPressed ? kButtonPressed : kButtonFace,
                      1.0f, RAS_BlitCopy);
    DrawFrame(bitmap, r.L, r.T, r.R - 1, r.B - 1, i == mFocused ? kFocus : kBorder);
    if (i == mFocused) DrawFrame(bitmap, r.L + 1, r.T + 1, r.R - 2, r.B - 2, kFocus);
    if (mFont) {
      mFont->SetTextColor(kText);
      RAS_Rect rect;
      rect.L = r.L;
      rect.T = r.T;
      rect.R = r.R;
      rect.B = r.B;
      mFont->DrawText(bitmap, Label(mButtons[static_cast<size_t>(i)]), -1, &rect,
                      RAS_TextCenter | RAS_TextVCenter | RAS_TextSingleLine);
    }
  }
  DrawFrame(bitmap, 0, 0, mWidth - 1, mHeight - 1, kBorder);
  mSurface->Put(bitmap->GetPixels(), bitmap->GetRowSpan(), 0, 0, mWidth, mHeight);
}

int X11MessageBox::ButtonAt(int x, int y) const {
  const int count = static_cast<int>(mButtons.size());
  for (int i = 0; i < count; ++i)
    if (ButtonRect(mWidth, mHeight, count, i).Contains(x, y)) return i;
  return -1;
}

void X11MessageBox::HandleEvent(XEvent& event, const std::function<void(XEvent&)>& other) {
  if (event.xany.window != mWindow) {
    if (other) other(event);
    return;
  }
  switch (event.type) {
    case Expose:
      if (event.xexpose.count == 0) Draw();
      return;
    case ButtonPress:
      if (event.xbutton.button != Button1) return;
      mPressed = ButtonAt(event.xbutton.x, event.xbutton.y);
      if (mPressed >= 0) mFocused = mPressed;
      Draw();
      return;
    case ButtonRelease: {
      // Only a release over the button its press began on chooses; the
      // release of the press that opened the box chooses nothing.
      if (event.xbutton.button != Button1) return;
      const int pressed = mPressed;
      mPressed = -1;
      if (pressed >= 0 && ButtonAt(event.xbutton.x, event.xbutton.y) == pressed) {
        Finish(mButtons[static_cast<size_t>(pressed)]);
        return;
      }
      Draw();
      return;
    }
    case KeyPress: HandleKey(event.xkey); return;
    default: return;
  }
}

void X11MessageBox::HandleKey(XKeyEvent& key) {
  const KeySym symbol = XLookupKeysym(&key, 0);
  const int count = static_cast<int>(mButtons.size());
  const bool backwards = (key.state & ShiftMask) != 0;
  switch (symbol) {
    case XK_Return:
    case XK_KP_Enter:
    case XK_space: Finish(mButtons[static_cast<size_t>(mFocused)]); return;
    case XK_Escape: {
      const int answer = EscapeAnswer(mType);
      if (answer != 0) Finish(answer);
      return;
    }
    case XK_Tab:
    case XK_ISO_Left_Tab:
      mFocused = (mFocused + (backwards || symbol == XK_ISO_Left_Tab ? count - 1 : 1)) % count;
      break;
    case XK_Left:
    case XK_KP_Left: mFocused = (mFocused + count - 1) % count; break;
    case XK_Right:
    case XK_KP_Right: mFocused = (mFocused + 1) % count; break;
    default: return;
  }
  Draw();
}
