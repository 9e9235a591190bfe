#pragma once

#include <memory>
#include <string>

#include "core/IFxHostRunLoop.h"
#include "editor/IGraphics.h"
#include "editor/x11/X11ClickTracker.h"
#include "editor/x11/X11TextField.h"

class RAS_MemBitmap;
class X11Surface;
// Xlib's own types, named without its header (whose macros would leak into
// every file that includes this one).
struct _XDisplay;
union _XEvent;

// The editor on an X11 display: a child window inside the host's parent
// window (platform type "X11EmbedWindowID"), painted from the back buffer.
//
// Threads: everything runs on the host's interface thread, driven by the
// host's run loop (IFxHostRunLoop): its timer at the editor's rate turns
// dirty controls into paint, and its watch on the connection's descriptor
// hands X events to the editor. The layer starts no thread. Each window has
// a connection of its own, opened with the window and closed with it, so
// editors never share Xlib state with each other or with the host.
class IGraphicsX11 : public IGraphics, public IFxRunLoopClient {
 public:
  static constexpr const char* kParentType = "X11EmbedWindowID";

  IGraphicsX11(IFxBase* plug, int width, int height, int fps = 0);
  ~IGraphicsX11() override;

  bool AcceptsParentType(const char* type) const override;

  // ---- Run loop (host interface thread) ----
  // One redraw-timer step: applies a committed or cancelled text entry, or
  // paints the dirty controls.
  void OnRunLoopTimer() override;
  // Handles every X event waiting on the connection.
  void OnRunLoopInput(int fd) override;

  // ---- For tools, tests and benchmarks ----
  // False keeps image transfer on the plain path (before OpenWindow).
  void SetAllowSharedMemory(bool allow) { mAllowShm = allow; }
  bool UsesSharedMemory() const;
  unsigned long WindowId() const { return mWindow; }
  // The editor's own connection while the window is open.
  _XDisplay* GetDisplay() const { return mDisplay; }
  bool IsTextEntryOpen() const { return mEntryControl != nullptr; }
  const std::string& TextEntryText() const { return mField.Text(); }

  // ---- Platform slots ----
  bool DrawScreen(const IRect& r) override;
  void EndTextEntry() override;
  void Resize(int w, int h) override;
  const char* GetApiName() override { return "X11"; }
  int ShowMessageBox(const char* text, const char* caption, int type) override;
  IPopupMenu* ShowPopupMenu(IPopupMenu* menu, const IRect& rect) override;
  void CreateTextEntry(IControl* control, const ITextStyle& style, const IRect& rect,
                       const char* text, IFxParam* param) override;
  void HostPath(std::string& path) override;
  void PluginPath(std::string& path) override;
  void DesktopPath(std::string& path) override;
  void AppDataPath(std::string& path, bool system) override;
  void UserAppDataPath(std::string& path) override;
  void PromptForFile(std::string& file, int action, std::string& folder,
                     const char* extensions) override;
  bool PromptForColor(IColor& color, const char* prompt) override;
  bool OpenURL(const char* url, const char* windowTitle, const char* confirmMsg,
               const char* errMsg) override;
  void* OpenWindow(void* parentWindow) override;
  void CloseWindow() override;
  void* GetWindow() override;
  bool GetClipboardText(std::string& text) override;
  void HideCursor() override;
  void ShowCursor() override;
  RAS_IBitmap* LoadPlatformBitmap(int id, const char* name) override;

 private:
  enum class EntryState { kIdle, kEditing, kCommit, kCancel };

  void ProcessEvents();
  void HandleEvent(_XEvent& event);
  void HandleButtonPress(_XEvent& event);
  void HandleButtonRelease(_XEvent& event);
  void HandleMotion(_XEvent& event);
  void HandleKey(_XEvent& event, bool press);
  void HandleEntryKey(_XEvent& event);
  void ForwardKeyToHost(_XEvent& event, bool press);
  void PaintTextEntry();
  void CloseTextEntry();
  void AbandonConnection();
  bool EntryContains(int x, int y) const;
  int EntryCaretAt(int x) const;
  // Text layout inside the entry: where the text starts and how wide the
  // first `bytes` bytes are.
  int EntryTextX() const;
  int EntryTextWidth(int bytes) const;

  _XDisplay* mDisplay = nullptr;
  unsigned long mParent = 0;  // X window ids
  unsigned long mWindow = 0;
  std::unique_ptr<X11Surface> mSurface;
  bool mAllowShm = true;
  bool mRegistered = false;  // with the host's run loop
  bool mWindowDestroyed = false;  // by the host, together with its parent
  IRect mExposed;
  IRect mPendingRepaint;  // painted at the next tick (where an entry was)
  X11ClickTracker mClicks;
  // Buttons 1..3 whose press reached the editor, so each release ends the
  // gesture its press began, and no other.
  bool mPressDelivered[4] = {false, false, false, false};
  // Set when a pop-up menu or message box opens (it takes the release of
  // the press that opened it).
  bool mInModal = false;
  unsigned long mBlankCursor = 0;

  // The open text entry.
  IControl* mEntryControl = nullptr;
  IFxParam* mEntryParam = nullptr;
  ITextStyle mEntryStyle;
  IRect mEntryRect;
  X11TextField mField;
  EntryState mEntryState = EntryState::kIdle;
  std::unique_ptr<RAS_MemBitmap> mEntryPixels;
  unsigned long mFocusBeforeEntry = 0;
  unsigned long mEntryFocusSerial = 0;  // request that gave the entry the focus
};
