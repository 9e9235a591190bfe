#include "editor/x11/IGraphicsX11.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "editor/x11/X11ErrorTrap.h"
#include "editor/x11/X11Keys.h"
#include "editor/x11/X11MessageBox.h"
#include "editor/x11/X11PopupMenu.h"
#include "editor/x11/X11Surface.h"
#include "raster/RAS_Blit.h"
#include "raster/RAS_CachedFont.h"
#include "raster/RAS_MemBitmap.h"
#include "raster/RAS_Png.h"
#include "platform/Clipboard.h"
#include "platform/OpenUrl.h"
#include "platform/Paths.h"
#include "raster/RAS_SysBitmap.h"

namespace {

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask |
                            PointerMotionMask | KeyPressMask | KeyReleaseMask | LeaveWindowMask |
                            FocusChangeMask | StructureNotifyMask;

// Selection behind the entry's text, over its background colour.
constexpr uint32_t kSelectionColour = 0xFF9DC3E6u;

// A busy server refuses connections for a moment while its accept queue is
// full; a few quick retries, bounded so the host's thread never waits long.
Display* OpenDisplay() {
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (Display* display = XOpenDisplay(nullptr)) return display;
    if (std::getenv("DISPLAY") == nullptr) return nullptr;
    poll(nullptr, 0, 10);
  }
  return nullptr;
}

bool HasPngExtension(const char* name) {
  if (!name) return false;
  const char* dot = std::strrchr(name, '.');
  if (!dot || std::strlen(dot + 1) != 3) return false;
  return std::tolower(static_cast<unsigned char>(dot[1])) == 'p' &&
         std::tolower(static_cast<unsigned char>(dot[2])) == 'n' &&
         std::tolower(static_cast<unsigned char>(dot[3])) == 'g';
}

// Buttons and modifiers from an event's state; `pressed` is the button the
// event itself is about (the state shows buttons as they were before).
IMouseMod ModFromState(unsigned int state, unsigned int pressed = 0) {
  IMouseMod mod;
  mod.L = (state & Button1Mask) || pressed == Button1;
  mod.R = (state & Button3Mask) || pressed == Button3;
  mod.S = (state & ShiftMask) != 0;
  mod.C = (state & ControlMask) != 0;
  mod.A = (state & Mod1Mask) != 0;
  return mod;
}

}  // namespace

IGraphicsX11::IGraphicsX11(IFxBase* plug, int width, int height, int fps)
    : IGraphics(plug, width, height, fps), mSurface(std::make_unique<X11Surface>()) {}

IGraphicsX11::~IGraphicsX11() { CloseWindow(); }

bool IGraphicsX11::UsesSharedMemory() const { return mSurface->UsesShm(); }

bool IGraphicsX11::AcceptsParentType(const char* type) const {
  return type != nullptr && std::strcmp(type, kParentType) == 0;
}

void* IGraphicsX11::GetWindow() {
  return mWindow != 0 ? reinterpret_cast<void*>(static_cast<uintptr_t>(mWindow)) : nullptr;
}

// ---- Window ----

void* IGraphicsX11::OpenWindow(void* parentWindow) {
  const Window parent = static_cast<Window>(reinterpret_cast<uintptr_t>(parentWindow));
  if (parent == 0) return nullptr;
  int x = 0;
  int y = 0;
  if (mWindow != 0) {
    // A re-opened window keeps its place in the parent.
    XWindowAttributes attributes;
    if (!mWindowDestroyed && XGetWindowAttributes(mDisplay, mWindow, &attributes)) {
      x = attributes.x;
      y = attributes.y;
    }
    CloseWindow();
  }
  if (!GetBackBuffer()) return nullptr;

  // Our own connection: the host's may be used from other threads, and
  // nothing here may depend on how the host set Xlib up.
  Display* display = OpenDisplay();
  if (!display) return nullptr;
  if (!X11ErrorTrap::Adopt(display)) {
    XCloseDisplay(display);
    return nullptr;
  }
  XWindowAttributes parentAttributes;
  bool parentOk = false;
  {
    X11ErrorTrap trap(display);
    parentOk = XGetWindowAttributes(display, parent, &parentAttributes) != 0 && !trap.Failed();
  }
  if (!parentOk || !X11Surface::VisualMatches(parentAttributes.visual, parentAttributes.depth)) {
    XCloseDisplay(display);
    X11ErrorTrap::Release(display);
    return nullptr;
  }

  XSetWindowAttributes attributes = {};
  attributes.event_mask = kEventMask;
  attributes.background_pixmap = None;  // the back buffer paints everything
  attributes.border_pixel = 0;
  attributes.colormap = parentAttributes.colormap;
  X11ErrorTrap trap(display);
  const Window window = XCreateWindow(
      display, parent, x, y, static_cast<unsigned>(Width()), static_cast<unsigned>(Height()), 0,
      parentAttributes.depth, InputOutput, parentAttributes.visual,
      CWEventMask | CWBackPixmap | CWBorderPixel | CWColormap, &attributes);
  XStoreName(display, window, "IFx");
  XMapWindow(display, window);
  if (window == 0 || trap.Failed()) {
    XCloseDisplay(display);
    X11ErrorTrap::Release(display);
    return nullptr;
  }
  mDisplay = display;
  mParent = parent;
  mWindow = window;
  mWindowDestroyed = false;
  mExposed = IRect();
  mPendingRepaint = IRect();
  mClicks.Reset();
  std::fill(std::begin(mPressDelivered), std::end(mPressDelivered), false);
  mSurface->Create(display, window, parentAttributes.visual, parentAttributes.depth, Width(),
                  Height(), mAllowShm);

  // The first tick paints everything.
  MarkAllControlsDirty();
  IFxHostRunLoop* runLoop = HostRunLoop();
  const int interval = static_cast<int>(1000.0 / FPS());
  mRegistered = runLoop != nullptr && runLoop->Register(this, ConnectionNumber(display), interval);
  if (!mRegistered) {
    // Nobody drives the window: show the editor as it is now; it stays
    // still until a host calls the run-loop client itself.
    OnRunLoopTimer();
  }
  XFlush(display);
  return GetWindow();
}

void IGraphicsX11::CloseWindow() {
  if (mWindow == 0) return;
  if (mRegistered && HostRunLoop()) HostRunLoop()->Unregister(this);
  mRegistered = false;
  CloseTextEntry();
  mSurface->Destroy();
  if (mBlankCursor) XFreeCursor(mDisplay, mBlankCursor);
  mBlankCursor = 0;
  mCursorHidden = false;
  // Already gone when the host destroyed its parent first; the error of a
  // second destruction is dropped by the trap's handler.
  if (!mWindowDestroyed) XDestroyWindow(mDisplay, mWindow);
  Display* display = mDisplay;
  XCloseDisplay(display);
  X11ErrorTrap::Release(display);
  mDisplay = nullptr;
  mWindow = 0;
  mParent = 0;
  ReleaseMouseCapture();
}

// ---- Run loop ----

void IGraphicsX11::OnRunLoopInput(int) { ProcessEvents(); }

void IGraphicsX11::OnRunLoopTimer() {
  if (!mDisplay) return;
  ProcessEvents();
  if (!mDisplay) return;
  if (IsTextEntryOpen() && mEntryState == EntryState::kCommit) {
    IControl* control = mEntryControl;
    IFxParam* param = mEntryParam;
    const std::string text = mField.Text();
    CloseTextEntry();
    IGraphics::CommitTextEntry(control, param, text.c_str());
    return;
  }
  if (IsTextEntryOpen() && mEntryState == EntryState::kCancel) {
    CloseTextEntry();
    return;
  }
  IRect update;
  if (ShowControlBounds())
    update = GetDrawRect();
  else
    CollectDirtyRect(update);
  update = update.Union(mPendingRepaint);
  mPendingRepaint = IRect();
  if (update.Empty()) return;
  DrawRegion(update);
}

void IGraphicsX11::ProcessEvents() {
  while (mDisplay && XPending(mDisplay)) {
    XEvent event;
    XNextEvent(mDisplay, &event);
    HandleEvent(event);
  }
}

bool IGraphicsX11::DrawScreen(const IRect& r) {
  RAS_SysBitmap* back = GetBackBuffer();
  if (!mDisplay || mWindowDestroyed || !back) return false;
  mSurface->Put(back->GetPixels(), back->GetRowSpan(), r.L, r.T, r.W(), r.H());
  // An open entry stays on top of whatever was painted beneath it.
  if (IsTextEntryOpen() && r.Intersects(mEntryRect)) PaintTextEntry();
  return true;
}

// ---- Events ----

void IGraphicsX11::HandleEvent(XEvent& event) {
  if (event.xany.window != mWindow) return;
  switch (event.type) {
    case Expose: {
      const IRect r(event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                    event.xexpose.y + event.xexpose.height);
      mExposed = mExposed.Union(r);
      if (event.xexpose.count > 0) return;
      // The back buffer holds the current picture: copy it back. (Drawing
      // the region again would mark every control clean, and dirty ones
      // outside it would miss their next tick.)
      const IRect exposed = mExposed;
      mExposed = IRect();
      DrawScreen(exposed);
      return;
    }
    case ButtonPress: HandleButtonPress(event); return;
    case ButtonRelease: HandleButtonRelease(event); return;
    case MotionNotify:
      // Only the latest of consecutive moves matters; a move queued after a
      // press or release must stay after it.
      while (XPending(mDisplay)) {
        XEvent next;
        XPeekEvent(mDisplay, &next);
        if (next.type != MotionNotify || next.xany.window != mWindow) break;
        XNextEvent(mDisplay, &event);
      }
      HandleMotion(event);
      return;
    case LeaveNotify:
      if (event.xcrossing.mode == NotifyNormal) MouseOut();
      return;
    case KeyPress: HandleKey(event, true); return;
    case KeyRelease: HandleKey(event, false); return;
    case FocusOut:
      // Focus taken elsewhere (not by a grab of our own menu) applies the
      // text typed so far. Taking the focus ourselves from the pointer-root
      // focus sends a "pointer" focus-out that is no loss.
      // Focus events from before this entry took the focus (the previous
      // entry giving it back) are stale.
      if (IsTextEntryOpen() && mEntryState == EntryState::kEditing &&
          event.xfocus.serial >= mEntryFocusSerial && event.xfocus.mode == NotifyNormal && event.xfocus.detail != NotifyInferior &&
          event.xfocus.detail != NotifyPointer)
        mEntryState = EntryState::kCommit;
      return;
    case DestroyNotify:
      if (event.xdestroywindow.window == mWindow) mWindowDestroyed = true;
      return;
    default: return;
  }
}

void IGraphicsX11::HandleButtonPress(XEvent& event) {
  XButtonEvent& button = event.xbutton;
  const int x = button.x;
  const int y = button.y;
  if (button.button >= 4 && button.button <= 7) {
    if (IsTextEntryOpen()) {
      mEntryState = EntryState::kCancel;
      return;
    }
    // 4 and 7 (up, right) raise the value; 5 and 6 (down, left) lower it.
    const double steps = (button.button == 4 || button.button == 7) ? 1.0 : -1.0;
    MouseWheel(x, y, ModFromState(button.state), steps);
    return;
  }
  if (button.button > 3) return;
  if (IsTextEntryOpen()) {
    // Inside the entry a left press places the caret; anywhere else in the
    // editor it throws the typed text away.
    if (button.button == Button1 && EntryContains(x, y)) {
      mField.SetCaret(EntryCaretAt(x), (button.state & ShiftMask) != 0);
      PaintTextEntry();
    } else {
      mEntryState = EntryState::kCancel;
    }
    return;
  }
  const IMouseMod mod = ModFromState(button.state, button.button);
  const bool isDouble =
      mClicks.Press(static_cast<int>(button.button), x, y, static_cast<unsigned long>(button.time));
  // The button's implicit grab keeps the pointer ours until its release, so
  // drags continue outside the window.
  mPressDelivered[button.button] = true;
  mInModal = false;
  if (isDouble && button.button == Button1)
    MouseDoubleClick(x, y, mod);
  else
    MouseDown(x, y, mod);
  if (mInModal && mDisplay) {
    // A menu or message box opened by this press took its release: end the
    // gesture here, at the press position, so the host gets its end notice.
    mInModal = false;
    mClicks.Reset();
    Window root, child;
    int rootX, rootY, winX, winY;
    unsigned int state = 0;
    XQueryPointer(mDisplay, mWindow, &root, &child, &rootX, &rootY, &winX, &winY, &state);
    const unsigned int held = button.button == Button1   ? Button1Mask
                              : button.button == Button2 ? Button2Mask
                                                         : Button3Mask;
    if (!(state & held)) {
      mPressDelivered[button.button] = false;
      MouseUp(x, y, ModFromState(0));
    }
  }
}

void IGraphicsX11::HandleButtonRelease(XEvent& event) {
  XButtonEvent& button = event.xbutton;
  if (button.button < 1 || button.button > 3 || !mPressDelivered[button.button]) return;
  mPressDelivered[button.button] = false;
  MouseUp(button.x, button.y, ModFromState(button.state & ~(Button1Mask << (button.button - 1))));
}

void IGraphicsX11::HandleMotion(XEvent& event) {
  XMotionEvent& motion = event.xmotion;
  const IMouseMod mod = ModFromState(motion.state);
  if ((mod.L || mod.R) && GetMouseCapture() >= 0) {
    if (!IsTextEntryOpen()) MouseDrag(motion.x, motion.y, mod);
    return;
  }
  MouseOver(motion.x, motion.y, mod);
}

void IGraphicsX11::HandleKey(XEvent& event, bool press) {
  XKeyEvent& key = event.xkey;
  if (IsTextEntryOpen()) {
    if (press) HandleEntryKey(event);
    return;
  }
  if (press) {
    const int code = TranslateX11Key(XLookupKeysym(&key, 0));
    if (code >= 0 && KeyDown(key.x, key.y, code)) return;
  }
  ForwardKeyToHost(event, press);
}

void IGraphicsX11::ForwardKeyToHost(XEvent& event, bool press) {
  // Keys no control takes belong to the host: hand the event on to its
  // window, from where it travels up like any key the host gets.
  if (mParent == 0) return;
  XEvent forwarded = event;
  forwarded.xkey.window = mParent;
  forwarded.xkey.subwindow = None;
  forwarded.xkey.send_event = True;
  XSendEvent(mDisplay, mParent, True, press ? KeyPressMask : KeyReleaseMask, &forwarded);
  XFlush(mDisplay);
}

// ---- Text entry ----

void IGraphicsX11::CreateTextEntry(IControl* control, const ITextStyle& style, const IRect& rect,
                                   const char* text, IFxParam* param) {
  if (!control || IsTextEntryOpen() || !mDisplay) return;
  // The field covers the rectangle including its right and bottom edges,
  // as far as the editor reaches.
  const IRect field(std::max(rect.L, 0), std::max(rect.T, 0), std::min(rect.R + 1, Width()),
                    std::min(rect.B + 1, Height()));
  if (field.W() <= 0 || field.H() <= 0) return;
  mEntryControl = control;
  mEntryParam = param;
  mEntryStyle = style;
  mEntryStyle.cachedFont = nullptr;
  mEntryRect = field;
  mField.Open(text, control->GetTextEntryLength(), param);
  mEntryState = EntryState::kEditing;
  mEntryPixels = std::make_unique<RAS_MemBitmap>(field.W(), field.H());
  // Keys go to the entry while it is open; focus goes back afterwards.
  int revert = 0;
  Window focus = 0;
  XGetInputFocus(mDisplay, &focus, &revert);
  mFocusBeforeEntry = focus;
  mEntryFocusSerial = NextRequest(mDisplay);
  XSetInputFocus(mDisplay, mWindow, RevertToParent, CurrentTime);
  PaintTextEntry();
}

void IGraphicsX11::EndTextEntry() {
  if (IsTextEntryOpen()) mEntryState = EntryState::kCancel;
}

void IGraphicsX11::CloseTextEntry() {
  if (!IsTextEntryOpen()) return;
  if (mDisplay && !mWindowDestroyed) {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(mDisplay, &focus, &revert);
    if (focus == mWindow) {
      const Window back = mFocusBeforeEntry > PointerRoot ? mFocusBeforeEntry : PointerRoot;
      XSetInputFocus(mDisplay, back, RevertToParent, CurrentTime);
    }
  }
  // What lay under the entry is painted again at the next tick.
  mPendingRepaint = mPendingRepaint.Union(mEntryRect);
  mEntryControl = nullptr;
  mEntryParam = nullptr;
  mEntryState = EntryState::kIdle;
  mEntryPixels.reset();
  mFocusBeforeEntry = 0;
}

bool IGraphicsX11::EntryContains(int x, int y) const { return mEntryRect.Contains(x, y); }

int IGraphicsX11::EntryTextWidth(int bytes) const {
  RAS_CachedFont* font = const_cast<IGraphicsX11*>(this)->FindFont(
      const_cast<ITextStyle&>(mEntryStyle));
  if (!font || bytes <= 0) return 0;
  RAS_Rect rect;
  font->DrawText(nullptr, mField.Text().c_str(), bytes, &rect,
                 RAS_TextMeasure | RAS_TextSingleLine);
  return rect.R - rect.L;
}

int IGraphicsX11::EntryTextX() const {
  constexpr int kPadding = 2;
  const int width = mEntryRect.W();
  const int textWidth = EntryTextWidth(static_cast<int>(mField.Text().size()));
  if (textWidth > width - 2 * kPadding) {
    // Too long for the field: keep the caret in view.
    const int caretX = EntryTextWidth(mField.Caret());
    return std::min(kPadding, width - kPadding - 1 - caretX);
  }
  switch (mEntryStyle.align) {
    case ITextStyle::AlignLeft: return kPadding;
    case ITextStyle::AlignRight: return width - kPadding - textWidth;
    default: return (width - textWidth) / 2;
  }
}

int IGraphicsX11::EntryCaretAt(int x) const {
  const int local = x - mEntryRect.L - EntryTextX();
  // The boundary nearest to the pointer.
  int best = 0;
  int bestDistance = 1 << 30;
  const int size = static_cast<int>(mField.Text().size());
  for (int position = 0; position <= size; ++position) {
    if (position < size && (static_cast<unsigned char>(mField.Text()[position]) & 0xC0) == 0x80)
      continue;
    const int distance = std::abs(EntryTextWidth(position) - local);
    if (distance < bestDistance) {
      best = position;
      bestDistance = distance;
    }
  }
  return best;
}

void IGraphicsX11::PaintTextEntry() {
  if (!IsTextEntryOpen() || !mEntryPixels || !mDisplay) return;
  RAS_MemBitmap* bitmap = mEntryPixels.get();
  const int width = bitmap->GetWidth();
  const int height = bitmap->GetHeight();
  RAS_FillRectangle(bitmap, 0, 0, width, height, mEntryStyle.entryBackColor.Word() | 0xFF000000u,
                    1.0f, RAS_BlitCopy);
  const int textX = EntryTextX();
  if (mField.HasSelection()) {
    const int from = textX + EntryTextWidth(mField.SelectionStart());
    const int to = textX + EntryTextWidth(mField.SelectionEnd());
    RAS_FillRectangle(bitmap, from, 1, to - from, height - 2, kSelectionColour, 1.0f,
                      RAS_BlitCopy);
  }
  RAS_CachedFont* font = FindFont(mEntryStyle);
  const uint32_t textColour = mEntryStyle.entryTextColor.Word() | 0xFF000000u;
  if (font && !mField.Text().empty()) {
    font->SetTextColor(textColour);
    RAS_Rect rect;
    rect.L = textX;
    rect.T = 0;
    rect.R = width;
    rect.B = height;
    font->DrawText(bitmap, mField.Text().c_str(), -1, &rect,
                   RAS_TextVCenter | RAS_TextSingleLine | RAS_TextNoClip);
  }
  const int caretX = textX + EntryTextWidth(mField.Caret());
  RAS_DrawLine(bitmap, caretX, 2, caretX, height - 3, textColour, 1.0f, RAS_BlitCopy, false);
  mSurface->Put(bitmap->GetPixels(), bitmap->GetRowSpan(), 0, 0, mEntryRect.L, mEntryRect.T, width,
               height);
}

void IGraphicsX11::HandleEntryKey(XEvent& event) {
  XKeyEvent& key = event.xkey;
  if (mEntryState != EntryState::kEditing) return;
  char typed[32] = {};
  KeySym symbol = NoSymbol;
  const int length = XLookupString(&key, typed, sizeof(typed) - 1, &symbol, nullptr);
  const bool shift = (key.state & ShiftMask) != 0;
  const bool control = (key.state & ControlMask) != 0;
  switch (symbol) {
    case XK_Return:
    case XK_KP_Enter: mEntryState = EntryState::kCommit; return;
    case XK_Escape: mEntryState = EntryState::kCancel; return;
    case XK_BackSpace: mField.Backspace(); break;
    case XK_Delete:
    case XK_KP_Delete: mField.Delete(); break;
    case XK_Home:
    case XK_KP_Home: mField.Home(shift); break;
    case XK_End:
    case XK_KP_End: mField.End(shift); break;
    case XK_Left:
    case XK_KP_Left: mField.Left(shift); break;
    case XK_Right:
    case XK_KP_Right: mField.Right(shift); break;
    case XK_Insert:
      if (shift) {
        std::string pasted;
        if (GetClipboardText(pasted)) mField.Insert(pasted);
      }
      break;
    default:
      if (control && (symbol == XK_a || symbol == XK_A)) {
        mField.SelectAll();
      } else if (control && (symbol == XK_v || symbol == XK_V)) {
        std::string pasted;
        if (GetClipboardText(pasted)) mField.Insert(pasted);
      } else if (!control && length > 0) {
        mField.Insert(std::string(typed, static_cast<size_t>(length)));
      }
      break;
  }
  PaintTextEntry();
}

// ---- Pop-up menu ----

IPopupMenu* IGraphicsX11::ShowPopupMenu(IPopupMenu* menu, const IRect& rect) {
  ReleaseMouseCapture();
  if (!menu || !mDisplay || mWindowDestroyed) return nullptr;
  mInModal = true;
  Window child = 0;
  int rootX = 0;
  int rootY = 0;
  XTranslateCoordinates(mDisplay, mWindow, DefaultRootWindow(mDisplay), rect.L, rect.B, &rootX,
                        &rootY, &child);
  ITextStyle menuStyle(12, IColor(255, 232, 232, 232));
  X11PopupMenu popup(mDisplay, FindFont(menuStyle));
  const int interval = static_cast<int>(1000.0 / FPS());
  IPopupMenu* chosen = popup.Run(
      menu, rootX, rootY, interval,
      // The editor keeps painting while the menu is open.
      [this] {
        IRect update;
        if (CollectDirtyRect(update)) DrawRegion(update);
      },
      [this](XEvent& event) {
        if (event.type == Expose || event.type == DestroyNotify) HandleEvent(event);
      });
  mClicks.Reset();
  MarkAllControlsDirty();
  return chosen;
}

// ---- Services ----

int IGraphicsX11::ShowMessageBox(const char* text, const char* caption, int type) {
  if (!mDisplay || mWindowDestroyed) return 0;
  ReleaseMouseCapture();
  mInModal = true;
  // Centred on the editor.
  Window child = 0;
  int centreX = 0;
  int centreY = 0;
  XTranslateCoordinates(mDisplay, mWindow, DefaultRootWindow(mDisplay), Width() / 2,
                        Height() / 2, &centreX, &centreY, &child);
  ITextStyle boxStyle(12, IColor(255, 232, 232, 232));
  X11MessageBox box(mDisplay, FindFont(boxStyle));
  const int interval = static_cast<int>(1000.0 / FPS());
  const int answer = box.Run(
      text, caption, type, centreX, centreY, interval,
      // The editor keeps painting while the box is open.
      [this] {
        IRect update;
        if (CollectDirtyRect(update)) DrawRegion(update);
      },
      [this](XEvent& event) {
        if (event.type == Expose || event.type == DestroyNotify) HandleEvent(event);
      },
      // The host destroyed the editor's window under the box.
      [this] { return mWindowDestroyed; });
  if (!box.ConnectionAlive()) {
    AbandonConnection();
    return answer;
  }
  mClicks.Reset();
  MarkAllControlsDirty();
  return answer;
}

void IGraphicsX11::AbandonConnection() {
  // The server closed the connection: Xlib would end the process at the
  // next request that reaches it, so the window is forgotten without one.
  // The connection's memory stays allocated.
  if (mRegistered && HostRunLoop()) HostRunLoop()->Unregister(this);
  mRegistered = false;
  mEntryControl = nullptr;
  mEntryParam = nullptr;
  mEntryState = EntryState::kIdle;
  mEntryPixels.reset();
  mSurface.release();
  mSurface = std::make_unique<X11Surface>();
  mBlankCursor = 0;
  mCursorHidden = false;
  X11ErrorTrap::Release(mDisplay);
  mDisplay = nullptr;
  mWindow = 0;
  mParent = 0;
  ReleaseMouseCapture();
}

void IGraphicsX11::HostPath(std::string& path) { path = platform::HostPath(); }
void IGraphicsX11::PluginPath(std::string& path) { path = platform::PluginPath(); }
void IGraphicsX11::DesktopPath(std::string& path) { path = platform::DesktopPath(); }
void IGraphicsX11::AppDataPath(std::string& path, bool system) { path = platform::AppDataPath(system); }
void IGraphicsX11::UserAppDataPath(std::string& path) { path = platform::UserAppDataPath(); }

void IGraphicsX11::PromptForFile(std::string& file, int, std::string&, const char*) {
  file.clear();
}

bool IGraphicsX11::PromptForColor(IColor&, const char*) { return false; }

// A link that wants the user's confirmation first asks with a yes/no box
// (none without an open window, so the link is not opened then).
bool IGraphicsX11::OpenURL(const char* url, const char* windowTitle, const char* confirmMsg,
                           const char*) {
  if (confirmMsg != nullptr && confirmMsg[0] != '\0' &&
      ShowMessageBox(confirmMsg, windowTitle, X11MessageBox::kYesNo) != X11MessageBox::kYes)
    return false;
  return platform::OpenUrl(url);
}

bool IGraphicsX11::GetClipboardText(std::string& text) { return platform::GetClipboardText(text); }

void IGraphicsX11::HideCursor() {
  if (mCursorHidden || !mDisplay) return;
  Window root, child;
  int rootX, rootY, x, y;
  unsigned int state;
  if (XQueryPointer(mDisplay, mWindow, &root, &child, &rootX, &rootY, &x, &y, &state)) {
    mHiddenMousePointX = x;
    mHiddenMousePointY = y;
  }
  if (!mBlankCursor) {
    // An empty one-pixel cursor.
    const char empty = 0;
    const Pixmap pixmap = XCreateBitmapFromData(mDisplay, mWindow, &empty, 1, 1);
    XColor black = {};
    mBlankCursor = XCreatePixmapCursor(mDisplay, pixmap, pixmap, &black, &black, 0, 0);
    XFreePixmap(mDisplay, pixmap);
  }
  XDefineCursor(mDisplay, mWindow, mBlankCursor);
  XFlush(mDisplay);
  mCursorHidden = true;
}

void IGraphicsX11::ShowCursor() {
  if (!mCursorHidden || !mDisplay) return;
  XUndefineCursor(mDisplay, mWindow);
  XWarpPointer(mDisplay, None, mWindow, 0, 0, 0, 0, mHiddenMousePointX, mHiddenMousePointY);
  XFlush(mDisplay);
  mCursorHidden = false;
}

void IGraphicsX11::Resize(int w, int h) {
  if (w == Width() && h == Height()) return;
  // The entry's control is destroyed with the others.
  CloseTextEntry();
  mPendingRepaint = IRect();
  IGraphics::Resize(w, h);
  if (mDisplay && !mWindowDestroyed) {
    XResizeWindow(mDisplay, mWindow, static_cast<unsigned>(w), static_cast<unsigned>(h));
    XWindowAttributes attributes;
    XGetWindowAttributes(mDisplay, mWindow, &attributes);
    mSurface->Create(mDisplay, mWindow, attributes.visual, attributes.depth, w, h, mAllowShm);
  }
  MarkAllControlsDirty();
}

RAS_IBitmap* IGraphicsX11::LoadPlatformBitmap(int id, const char* name) {
  if (!HasPngExtension(name)) return nullptr;
  return RAS_LoadPngResource(nullptr, id);
}
