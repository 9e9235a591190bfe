#pragma once

#include <X11/Xlib.h>

#include <functional>
#include <memory>
#include <vector>

class IPopupMenu;
class RAS_CachedFont;
class RAS_MemBitmap;
class X11Surface;

// The editor's pop-up menu: an override-redirect window per open (sub-)menu,
// drawn with the raster library in the editor's look, with ticked, greyed
// and disabled items, separators and sub-menus. It runs modally on the
// interface thread: it holds the pointer and keyboard grab and reads its own
// connection until an item is chosen or the menu is dismissed (Escape, or a
// press outside every menu window). Between events it calls `tick` at the
// editor's rate, so the editor keeps painting while the menu is open.
//
// Mouse: moving highlights, a release or press on an item chooses it,
// hovering an item with a sub-menu opens it. Keys: up and down move, right
// (or Return) opens a sub-menu, left closes one, Return or space chooses,
// Escape closes the innermost menu (the whole menu at the top).
class X11PopupMenu {
 public:
  // Windows go on display's default screen; the font draws the texts.
  X11PopupMenu(Display* display, RAS_CachedFont* font);
  ~X11PopupMenu();
  X11PopupMenu(const X11PopupMenu&) = delete;
  X11PopupMenu& operator=(const X11PopupMenu&) = delete;

  // Shows menu with its top-left corner at (rootX, rootY) and waits for the
  // user. Answers the (sub-)menu whose chosen item index was set, or null
  // when dismissed. `other` receives events of windows that are not the
  // menu's (the editor's exposures, for instance).
  IPopupMenu* Run(IPopupMenu* menu, int rootX, int rootY, int tickIntervalMs,
                  const std::function<void()>& tick, const std::function<void(XEvent&)>& other);

  // The window name the menu windows carry (tests look for it).
  static constexpr const char* kWindowName = "IFxPopupMenu";

 private:
  struct Panel;

  void OpenPanel(IPopupMenu* menu, int x, int y);
  void ClosePanelsAbove(size_t level);
  void DrawPanel(Panel& panel);
  void HandleEvent(XEvent& event, const std::function<void(XEvent&)>& other);
  void HandleMotion(int rootX, int rootY);
  void HandleButton(int rootX, int rootY, bool press);
  void HandleKey(XKeyEvent& key);
  // The panel and item under a root position; false when outside them all.
  bool HitTest(int rootX, int rootY, size_t* level, int* item) const;
  void Highlight(size_t level, int item, bool openSubMenu);
  void MoveHighlight(int direction);
  void OpenSubMenuOf(size_t level);
  bool Choose(size_t level, int item);
  bool IsChoosable(IPopupMenu* menu, int item) const;

  Display* mDisplay;
  RAS_CachedFont* mFont;
  std::vector<std::unique_ptr<Panel>> mPanels;
  IPopupMenu* mResult = nullptr;
  bool mDone = false;
};
