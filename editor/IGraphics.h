#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/IFxEditorLink.h"
#include "editor/IBlend.h"
#include "editor/IColor.h"
#include "editor/IControl.h"
#include "editor/IFrameBitmap.h"
#include "editor/IKeys.h"
#include "editor/IMouseMod.h"
#include "editor/IPopupMenu.h"
#include "editor/IRect.h"
#include "editor/ITextStyle.h"

class IFxBase;
class IFxParam;
class RAS_CachedFont;
class RAS_IBitmap;
class RAS_SysBitmap;

// The platform-neutral editor: it owns the controls and the back buffer,
// turns mouse events into control calls and dirty controls into pixels, and
// leaves everything that needs a window system to the platform slots below.
//
// Threads: drawing and mouse handling run on the interface thread.
// PushParamToControls, GreyOutParam and MarkAllControlsDirty may also run on
// the processing thread; they only touch control values and flags, which are
// atomics, so the next timer tick picks the changes up.
class IGraphics : public IFxEditorLink {
 public:
  IGraphics(IFxBase* plug, int width, int height, int fps = 0);
  // Destroys the key catcher, then the controls from the last to the first,
  // then the back buffer. Cached images and fonts stay.
  ~IGraphics() override;

  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  // ---- Platform slots, in their fixed order ----
  // Copies rectangle r of the back buffer to the screen.
  virtual bool DrawScreen(const IRect& r) = 0;
  virtual bool MeasureText(ITextStyle& style, const char* text, IRect& rect);
  virtual void EndTextEntry() = 0;
  virtual void Resize(int w, int h);
  virtual bool WindowIsOpen();
  virtual const char* GetApiName();
  virtual int ShowMessageBox(const char* text, const char* caption, int type) = 0;
  // Shows the menu modally; answers the (sub-)menu whose chosen item index
  // was set, or none when the menu was dismissed.
  virtual IPopupMenu* ShowPopupMenu(IPopupMenu* menu, const IRect& rect) = 0;
  // Opens a text entry over rect. The result arrives later through
  // CommitTextEntry.
  virtual void CreateTextEntry(IControl* control, const ITextStyle& style, const IRect& rect,
                               const char* text, IFxParam* param) = 0;
  // Folders end in a separator; empty when unknown.
  virtual void HostPath(std::string& path) = 0;
  virtual void PluginPath(std::string& path) = 0;
  virtual void DesktopPath(std::string& path) = 0;
  virtual void AppDataPath(std::string& path, bool system) = 0;
  virtual void UserAppDataPath(std::string& path) = 0;
  // action 1 saves, anything else opens; an empty file means cancelled.
  virtual void PromptForFile(std::string& file, int action, std::string& folder,
                             const char* extensions) = 0;
  virtual bool PromptForColor(IColor& color, const char* prompt) = 0;
  virtual bool OpenURL(const char* url, const char* windowTitle, const char* confirmMsg,
                       const char* errMsg) = 0;
  virtual int Reserved17() { return 0; }
  virtual void* OpenWindow(void* parentWindow) = 0;
  virtual void Reserved19() {}
  virtual void Reserved20() {}
  virtual void CloseWindow() = 0;
  virtual void* GetWindow() = 0;
  virtual bool GetClipboardText(std::string& text) = 0;
  virtual void HideCursor() {}
  virtual void ShowCursor() {}
  virtual void Reserved27() {}
  // Decodes image resource `id` of the module; none when it is missing.
  virtual RAS_IBitmap* LoadPlatformBitmap(int id, const char* name) = 0;

  // ---- The editor view, for adapters (IFxEditorLink) ----
  int EditorWidth() const override { return mWidth; }
  int EditorHeight() const override { return mHeight; }
  // Base: no window type; each window layer names the types it embeds in.
  bool AcceptsParentType(const char* type) const override;
  // Remembers the run loop for the window layer, then OpenWindow.
  bool OpenEditorWindow(void* parent, const char* type, IFxHostRunLoop* runLoop) override;
  // CloseWindow, then forgets the run loop.
  void CloseEditorWindow() override;

  // ---- Set-up, from the plug-in side ----
  void PrepareBackBuffer() override;
  // Loads (once per process) and describes a film strip. A missing or broken
  // image resource stops the process ("imgResourceFound").
  IFrameBitmap LoadFrameBitmap(int id, const char* name, int frameCount = 1,
                               bool framesHorizontal = false);
  // Inserts an opaque bitmap control of the whole image at index 0.
  void AddBackground(int id, const char* name);
  // Takes ownership; answers the control's index.
  int AddControl(IControl* control);
  IControl* GetControl(int index) const;
  int GetNControls() const { return static_cast<int>(mControls.size()); }
  // Takes ownership of a control that receives keys nobody else takes.
  void SetKeyCatcher(IControl* control);

  // ---- Run time, from the plug-in side (any thread) ----
  void PushParamToControls(int paramIdx, double value, bool normalized) override;
  void GreyOutParam(int paramIdx, bool grey);
  void MarkAllControlsDirty();

  // ---- From controls ----
  void PromptParamEntry(IControl* control, IFxParam* param, const IRect* rect);
  bool DrawBitmap(const IFrameBitmap& bitmap, const IRect& dest, int srcX, int srcY,
                  const IBlend* blend);
  bool DrawBitmapFrame(const IFrameBitmap& bitmap, const IRect& dest, int frame,
                       const IBlend* blend);
  // Draws text into rect, or with measure set replaces rect by the box the
  // text covers. False (and nothing drawn) when no font could be made.
  bool DrawStyledText(ITextStyle& style, const char* text, IRect& rect, bool measure);
  void DrawRect(const IColor& color, const IRect& rect);
  // Finds (or creates, once per process) the font for the style and
  // remembers it in the style. None when the face cannot be made.
  RAS_CachedFont* FindFont(ITextStyle& style);

  // ---- From the window layer ----
  // Grows rect by every dirty control; answers whether any was dirty.
  bool CollectDirtyRect(IRect& rect);
  void DrawRegion(const IRect& r);
  // Answers true when the window should capture the pointer.
  bool MouseDown(int x, int y, const IMouseMod& mod);
  bool MouseUp(int x, int y, const IMouseMod& mod);
  bool MouseDoubleClick(int x, int y, const IMouseMod& mod);
  void MouseWheel(int x, int y, const IMouseMod& mod, double steps);
  bool MouseOver(int x, int y, const IMouseMod& mod);
  void MouseOut();
  void MouseDrag(int x, int y, const IMouseMod& mod);
  bool KeyDown(int x, int y, int key);
  // Applies the text of a committed text entry: with a parameter, the text
  // becomes a value (named value for switches and enumerations, a number
  // otherwise) handed to the control's SetValueFromEntry; without one the
  // control gets the text itself.
  static void CommitTextEntry(IControl* control, IFxParam* param, const char* text);
  // Whether a text entry for param accepts the typed character (backspace is
  // always accepted).
  static bool TextEntryAcceptsChar(const IFxParam* param, char c);
  // User gestures reach the plug-in as begin, value(s), end, once each: a
  // press begins one, its release ends it; double clicks, wheel steps, menu
  // choices and committed text entries outside a press get one of their own.
  void BeginGesture(int paramIdx);
  void EndGesture();
  // Begins a gesture for paramIdx unless one is open for it; answers whether
  // it began one (then the caller ends it).
  bool BeginChangeUnlessInGesture(int paramIdx);
  int OpenGestureParam() const { return mGestureParam; }
  // Index of the topmost visible, ungreyed control under (x, y), or -1.
  int FindControlAt(int x, int y) const;

  // ---- Accessors ----
  IFxBase* GetPlug() const { return mPlug; }
  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  int FPS() const { return mFPS; }
  int GetMouseCapture() const { return mMouseCapture; }
  int GetMouseOver() const { return mMouseOver; }
  int GetMouseX() const { return mMouseX; }
  int GetMouseY() const { return mMouseY; }
  const IRect& GetDrawRect() const { return mDrawRect; }
  RAS_SysBitmap* GetBackBuffer() const { return mBackBuffer.get(); }
  IControl* GetKeyCatcher() const { return mKeyCatcher.get(); }
  bool GetHandleMouseOver() const { return mHandleMouseOver; }
  void HandleMouseOver(bool handle) { mHandleMouseOver = handle; }
  bool GetStrictDrawing() const { return mStrictDrawing; }
  void SetStrictDrawing(bool strict) { mStrictDrawing = strict; }
  bool TooltipsEnabled() const { return mEnableTooltips; }
  void EnableTooltips(bool enable) { mEnableTooltips = enable; }
  bool ShowControlBounds() const { return mShowControlBounds; }
  void ShowControlBounds(bool show) { mShowControlBounds = show; }

 protected:
  // The host's run loop while a window opened through OpenEditorWindow is
  // open, else null; a window layer driven by its host runs from it.
  IFxHostRunLoop* HostRunLoop() const { return mHostRunLoop; }

  // Cursor state for HideCursor / ShowCursor.
  bool mCursorHidden = false;
  int mHiddenMousePointX = -1;
  int mHiddenMousePointY = -1;

  void ReleaseMouseCapture();

 private:
  void DrawStrict(const IRect& r);
  void DrawNonStrict();
  void DrawControlBounds();
  void DestroyControls();

  std::vector<std::unique_ptr<IControl>> mControls;
  IFxBase* mPlug;
  IRect mDrawRect;
  std::unique_ptr<RAS_SysBitmap> mBackBuffer;
  int mWidth;
  int mHeight;
  int mFPS;
  int mMouseCapture = -1;
  int mMouseOver = -1;
  int mMouseX = 0;
  int mMouseY = 0;
  bool mHandleMouseOver = false;
  bool mStrictDrawing = true;
  bool mEnableTooltips = false;
  bool mShowControlBounds = false;
  std::unique_ptr<IControl> mKeyCatcher;
  RAS_CachedFont* mBoundsFont = nullptr;  // font of the control-bounds read-out
  IFxHostRunLoop* mHostRunLoop = nullptr;
  int mGestureParam = -1;  // the parameter of the open gesture, -1 none
};
