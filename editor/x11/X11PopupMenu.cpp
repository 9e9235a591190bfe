#include "editor/x11/X11PopupMenu.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "editor/IPopupMenu.h"
#include "editor/x11/X11Surface.h"
#include "raster/RAS_Blit.h"
#include "raster/RAS_CachedFont.h"
#include "raster/RAS_MemBitmap.h"

namespace {

// The editor's look: dark panel, light text, a muted blue highlight.
constexpr uint32_t kBackground = 0xFF232528u;
constexpr uint32_t kBorder = 0xFF5B6168u;
constexpr uint32_t kHighlight = 0xFF3C5A7Du;
constexpr uint32_t kText = 0xFFE8E8E8u;
constexpr uint32_t kGreyedText = 0xFF8C8C8Cu;
constexpr uint32_t kDisabledText = 0xFF5E5E5Eu;
constexpr uint32_t kSeparator = 0xFF44484Du;

constexpr int kItemHeight = 20;
constexpr int kSeparatorHeight = 7;
constexpr int kTickColumn = 20;
constexpr int kArrowColumn = 20;
constexpr int kMinWidth = 80;

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

}  // namespace

struct X11PopupMenu::Panel {
  IPopupMenu* menu = nullptr;
  Window window = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  std::vector<int> itemTops;  // one per item, plus the bottom edge
  int highlighted = -1;
  std::unique_ptr<RAS_MemBitmap> pixels;
  X11Surface surface;
};

X11PopupMenu::X11PopupMenu(Display* display, RAS_CachedFont* font)
    : mDisplay(display), mFont(font) {}

X11PopupMenu::~X11PopupMenu() { ClosePanelsAbove(0); }

IPopupMenu* X11PopupMenu::Run(IPopupMenu* menu, int rootX, int rootY, int tickIntervalMs,
                              const std::function<void()>& tick,
                              const std::function<void(XEvent&)>& other) {
  if (!menu || menu->GetNItems() == 0) return nullptr;
  mResult = nullptr;
  mDone = false;
  OpenPanel(menu, rootX, rootY);
  if (mPanels.empty()) return nullptr;

  const Window grabWindow = mPanels[0]->window;
  XSync(mDisplay, False);
  const unsigned int pointerEvents = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
  // Without the grabs a press outside could not dismiss the menu; a menu
  // that cannot hold the pointer is not shown at all.
  if (XGrabPointer(mDisplay, grabWindow, True, pointerEvents, GrabModeAsync, GrabModeAsync, None,
                   None, CurrentTime) != GrabSuccess) {
    ClosePanelsAbove(0);
    return nullptr;
  }
  XGrabKeyboard(mDisplay, grabWindow, True, GrabModeAsync, GrabModeAsync, CurrentTime);

  const int interval = tickIntervalMs > 0 ? tickIntervalMs : 40;
  long long nextTick = NowMs() + interval;
  const int fd = ConnectionNumber(mDisplay);
  while (!mDone) {
    while (!mDone && XPending(mDisplay)) {
      XEvent event;
      XNextEvent(mDisplay, &event);
      HandleEvent(event, other);
    }
    if (mDone) break;
    long long now = NowMs();
    if (now >= nextTick) {
      if (tick) tick();
      nextTick = now + interval;
    }
    pollfd watch = {fd, POLLIN, 0};
    poll(&watch, 1, static_cast<int>(std::max<long long>(1, nextTick - NowMs())));
  }

  XUngrabKeyboard(mDisplay, CurrentTime);
  XUngrabPointer(mDisplay, CurrentTime);
  ClosePanelsAbove(0);
  XFlush(mDisplay);
  return mResult;
}

void X11PopupMenu::OpenPanel(IPopupMenu* menu, int x, int y) {
  const int screen = DefaultScreen(mDisplay);
  Visual* visual = DefaultVisual(mDisplay, screen);
  const int depth = DefaultDepth(mDisplay, screen);
  if (!X11Surface::VisualMatches(visual, depth)) return;

  auto panel = std::make_unique<Panel>();
  panel->menu = menu;
  int widest = 0;
  int top = 1;
  for (int i = 0; i < menu->GetNItems(); ++i) {
    panel->itemTops.push_back(top);
    const IPopupMenuItem* item = menu->GetItem(i);
    top += item->IsSeparator() ? kSeparatorHeight : kItemHeight;
    if (!item->IsSeparator()) widest = std::max(widest, TextWidth(mFont, menu->ItemDisplayText(i)));
  }
  panel->itemTops.push_back(top);
  panel->width = std::max(kMinWidth, widest + kTickColumn + kArrowColumn);
  panel->height = top + 1;

  // Keep the panel on the screen.
  const int screenWidth = DisplayWidth(mDisplay, screen);
  const int screenHeight = DisplayHeight(mDisplay, screen);
  panel->x = std::max(0, std::min(x, screenWidth - panel->width));
  panel->y = std::max(0, std::min(y, screenHeight - panel->height));

  XSetWindowAttributes attributes = {};
  attributes.override_redirect = True;
  attributes.background_pixel = kBackground & 0xFFFFFFu;
  attributes.border_pixel = 0;
  attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                          KeyPressMask;
  panel->window = XCreateWindow(
      mDisplay, RootWindow(mDisplay, screen), panel->x, panel->y,
      static_cast<unsigned>(panel->width), static_cast<unsigned>(panel->height), 0, depth,
      InputOutput, visual, CWOverrideRedirect | CWBackPixel | CWBorderPixel | CWEventMask,
      &attributes);
  XStoreName(mDisplay, panel->window, kWindowName);
  const Atom windowType = XInternAtom(mDisplay, "_NET_WM_WINDOW_TYPE", False);
  Atom popupType = XInternAtom(mDisplay, "_NET_WM_WINDOW_TYPE_POPUP_MENU", False);
  XChangeProperty(mDisplay, panel->window, windowType, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&popupType), 1);
  panel->pixels = std::make_unique<RAS_MemBitmap>(panel->width, panel->height);
  panel->surface.Create(mDisplay, panel->window, visual, depth, panel->width, panel->height,
                        false);
  DrawPanel(*panel);
  XMapRaised(mDisplay, panel->window);
  mPanels.push_back(std::move(panel));
}

void X11PopupMenu::ClosePanelsAbove(size_t level) {
  while (mPanels.size() > level) {
    Panel& panel = *mPanels.back();
    panel.surface.Destroy();
    XDestroyWindow(mDisplay, panel.window);
    mPanels.pop_back();
  }
}

void X11PopupMenu::DrawPanel(Panel& panel) {
  RAS_MemBitmap* bitmap = panel.pixels.get();
  RAS_FillRectangle(bitmap, 0, 0, panel.width, panel.height, kBackground, 1.0f, RAS_BlitCopy);
  for (int i = 0; i < panel.menu->GetNItems(); ++i) {
    const IPopupMenuItem* item = panel.menu->GetItem(i);
    const int top = panel.itemTops[static_cast<size_t>(i)];
    const int bottom = panel.itemTops[static_cast<size_t>(i) + 1];
    if (item->IsSeparator()) {
      const int middle = (top + bottom) / 2;
      RAS_DrawLine(bitmap, 6, middle, panel.width - 7, middle, kSeparator, 1.0f, RAS_BlitCopy,
                   false);
      continue;
    }
    if (i == panel.highlighted)
      RAS_FillRectangle(bitmap, 1, top, panel.width - 2, bottom - top, kHighlight, 1.0f,
                        RAS_BlitCopy);
    const int flags = item->GetFlags();
    const uint32_t colour = (flags & IPopupMenuItem::Disabled)  ? kDisabledText
                            : (flags & IPopupMenuItem::Greyed) ? kGreyedText
                                                                : kText;
    const int middle = (top + bottom) / 2;
    if (item->IsTicked()) {
      // A check mark drawn with lines: no font needs to have the glyph.
      RAS_DrawLine(bitmap, 6, middle, 9, middle + 3, colour, 1.0f, RAS_BlitCopy, true);
      RAS_DrawLine(bitmap, 9, middle + 3, 14, middle - 4, colour, 1.0f, RAS_BlitCopy, true);
    }
    if (item->GetSubMenu()) {
      const int x = panel.width - 12;
      RAS_DrawLine(bitmap, x, middle - 4, x + 4, middle, colour, 1.0f, RAS_BlitCopy, true);
      RAS_DrawLine(bitmap, x + 4, middle, x, middle + 4, colour, 1.0f, RAS_BlitCopy, true);
    }
    if (mFont) {
      const std::string text = panel.menu->ItemDisplayText(i);
      mFont->SetTextColor(colour);
      RAS_Rect rect;
      rect.L = kTickColumn;
      rect.T = top;
      rect.R = panel.width - kArrowColumn;
      rect.B = bottom;
      mFont->DrawText(bitmap, text.c_str(), -1, &rect, RAS_TextVCenter | RAS_TextSingleLine);
    }
  }
  // The border last, over everything.
  const int r = panel.width - 1;
  const int b = panel.height - 1;
  RAS_DrawLine(bitmap, 0, 0, r, 0, kBorder, 1.0f, RAS_BlitCopy, false);
  RAS_DrawLine(bitmap, 0, b, r, b, kBorder, 1.0f, RAS_BlitCopy, false);
  RAS_DrawLine(bitmap, 0, 0, 0, b, kBorder, 1.0f, RAS_BlitCopy, false);
  RAS_DrawLine(bitmap, r, 0, r, b, kBorder, 1.0f, RAS_BlitCopy, false);
  panel.surface.Put(bitmap->GetPixels(), bitmap->GetRowSpan(), 0, 0, panel.width, panel.height);
}

void X11PopupMenu::HandleEvent(XEvent& event, const std::function<void(XEvent&)>& other) {
  for (auto& panel : mPanels) {
    if (event.xany.window != panel->window) continue;
    if (event.type == Expose && event.xexpose.count == 0) DrawPanel(*panel);
  }
  switch (event.type) {
    case MotionNotify: {
      // Only the latest of consecutive moves matters.
      while (XPending(mDisplay)) {
        XEvent next;
        XPeekEvent(mDisplay, &next);
        if (next.type != MotionNotify) break;
        XNextEvent(mDisplay, &event);
      }
      HandleMotion(event.xmotion.x_root, event.xmotion.y_root);
      return;
    }
    case ButtonPress:
    case ButtonRelease:
      // Wheel buttons neither choose nor dismiss.
      if (event.xbutton.button >= 4 && event.xbutton.button <= 7) return;
      HandleButton(event.xbutton.x_root, event.xbutton.y_root, event.type == ButtonPress);
      return;
    case KeyPress: HandleKey(event.xkey); return;
    case KeyRelease: return;
    default: break;
  }
  bool ours = false;
  for (auto& panel : mPanels) ours = ours || event.xany.window == panel->window;
  if (!ours && other) other(event);
}

bool X11PopupMenu::HitTest(int rootX, int rootY, size_t* level, int* item) const {
  for (size_t l = mPanels.size(); l-- > 0;) {
    const Panel& panel = *mPanels[l];
    if (rootX < panel.x || rootX >= panel.x + panel.width || rootY < panel.y ||
        rootY >= panel.y + panel.height)
      continue;
    *level = l;
    *item = -1;
    const int y = rootY - panel.y;
    for (int i = 0; i < panel.menu->GetNItems(); ++i) {
      if (y >= panel.itemTops[static_cast<size_t>(i)] && y < panel.itemTops[static_cast<size_t>(i) + 1])
        *item = i;
    }
    return true;
  }
  return false;
}

void X11PopupMenu::HandleMotion(int rootX, int rootY) {
  size_t level = 0;
  int item = -1;
  if (!HitTest(rootX, rootY, &level, &item)) return;
  if (item >= 0 && mPanels[level]->menu->GetItem(item)->IsSeparator()) item = -1;
  Highlight(level, item, true);
}

void X11PopupMenu::HandleButton(int rootX, int rootY, bool press) {
  size_t level = 0;
  int item = -1;
  if (!HitTest(rootX, rootY, &level, &item)) {
    // A press outside every menu dismisses it; the release of the press
    // that opened the menu does not.
    if (press) mDone = true;
    return;
  }
  if (item < 0) return;
  IPopupMenuItem* entry = mPanels[level]->menu->GetItem(item);
  if (entry->GetSubMenu()) {
    Highlight(level, item, true);
    return;
  }
  Choose(level, item);
}

void X11PopupMenu::HandleKey(XKeyEvent& key) {
  const KeySym symbol = XLookupKeysym(&key, 0);
  Panel& panel = *mPanels.back();
  switch (symbol) {
    case XK_Up:
    case XK_KP_Up: MoveHighlight(-1); return;
    case XK_Down:
    case XK_KP_Down: MoveHighlight(1); return;
    case XK_Right:
    case XK_KP_Right: OpenSubMenuOf(mPanels.size() - 1); return;
    case XK_Left:
    case XK_KP_Left:
      if (mPanels.size() > 1) ClosePanelsAbove(mPanels.size() - 1);
      return;
    case XK_Escape:
      if (mPanels.size() > 1)
        ClosePanelsAbove(mPanels.size() - 1);
      else
        mDone = true;
      return;
    case XK_Return:
    case XK_KP_Enter:
    case XK_space: {
      if (panel.highlighted < 0) return;
      if (panel.menu->GetItem(panel.highlighted)->GetSubMenu())
        OpenSubMenuOf(mPanels.size() - 1);
      else
        Choose(mPanels.size() - 1, panel.highlighted);
      return;
    }
    default: return;
  }
}

void X11PopupMenu::Highlight(size_t level, int item, bool openSubMenu) {
  Panel& panel = *mPanels[level];
  // Pointing back into a parent closes the sub-menus of other items.
  const bool sameItem = panel.highlighted == item;
  if (!sameItem || !openSubMenu) ClosePanelsAbove(level + 1);
  if (!sameItem) {
    panel.highlighted = item;
    DrawPanel(panel);
  }
  if (openSubMenu && item >= 0 && mPanels.size() == level + 1 &&
      panel.menu->GetItem(item)->GetSubMenu() &&
      !(panel.menu->GetItem(item)->GetFlags() & IPopupMenuItem::Disabled)) {
    OpenSubMenuOf(level);
    // Opened by the pointer: nothing inside is highlighted yet.
    if (mPanels.size() > level + 1) {
      mPanels.back()->highlighted = -1;
      DrawPanel(*mPanels.back());
    }
  }
}

void X11PopupMenu::MoveHighlight(int direction) {
  Panel& panel = *mPanels.back();
  const int count = panel.menu->GetNItems();
  int item = panel.highlighted;
  for (int step = 0; step < count; ++step) {
    item = item < 0 ? (direction > 0 ? 0 : count - 1) : (item + direction + count) % count;
    if (!panel.menu->GetItem(item)->IsSeparator()) break;
  }
  if (item >= 0 && !panel.menu->GetItem(item)->IsSeparator())
    Highlight(mPanels.size() - 1, item, false);
}

void X11PopupMenu::OpenSubMenuOf(size_t level) {
  Panel& panel = *mPanels[level];
  if (panel.highlighted < 0) return;
  IPopupMenuItem* item = panel.menu->GetItem(panel.highlighted);
  IPopupMenu* sub = item->GetSubMenu();
  if (!sub || sub->GetNItems() == 0 || (item->GetFlags() & IPopupMenuItem::Disabled)) return;
  ClosePanelsAbove(level + 1);
  const int y = panel.y + panel.itemTops[static_cast<size_t>(panel.highlighted)] - 1;
  int x = panel.x + panel.width - 2;
  const int screenWidth = DisplayWidth(mDisplay, DefaultScreen(mDisplay));
  OpenPanel(sub, x, y);
  if (mPanels.size() <= level + 1) return;
  Panel& opened = *mPanels.back();
  if (x + opened.width > screenWidth) {
    // No room on the right: open on the left of the parent.
    x = std::max(0, panel.x - opened.width + 2);
    opened.x = x;
    XMoveWindow(mDisplay, opened.window, x, opened.y);
  }
  // Opened from the keyboard: start on the first item that is no separator.
  for (int i = 0; i < sub->GetNItems(); ++i) {
    if (!sub->GetItem(i)->IsSeparator()) {
      opened.highlighted = i;
      break;
    }
  }
  DrawPanel(opened);
}

bool X11PopupMenu::IsChoosable(IPopupMenu* menu, int item) const {
  const IPopupMenuItem* entry = menu->GetItem(item);
  if (!entry || entry->GetSubMenu()) return false;
  const int refused = IPopupMenuItem::Separator | IPopupMenuItem::Disabled | IPopupMenuItem::Greyed;
  return (entry->GetFlags() & refused) == 0;
}

bool X11PopupMenu::Choose(size_t level, int item) {
  IPopupMenu* menu = mPanels[level]->menu;
  if (!IsChoosable(menu, item)) return false;
  menu->SetChosenItemIdx(item);
  mResult = menu;
  mDone = true;
  return true;
}
