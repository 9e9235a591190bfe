#pragma once

#include <string>

#include "editor/IGraphics.h"
#include "raster/RAS_Resources.h"

// The editor without a window: the layer a module uses where it has no window
// layer for the host, and the base of the scripted test double in
// testsupport/. Every platform slot is realised without a window system, and
// nothing that would wait for a user waits:
// - DrawScreen has no screen to copy to: the back buffer holds the picture;
// - pop-up menus are dismissed, text entries are cancelled before they open,
//   message boxes answer kMessageBoxAnswer, file and colour prompts count as
//   cancelled, web addresses are not opened, the clipboard is empty;
// - images come from the module resource table;
// - paths come from the platform services (platform/Paths.h).
//
// DrawAll() draws the whole editor; GetBackBuffer() gives the pixels. Tick()
// performs one redraw-timer step.
class IGraphicsOffscreen : public IGraphics {
 public:
  // What every message box answers (the first button, "OK").
  static constexpr int kMessageBoxAnswer = 1;

  IGraphicsOffscreen(IFxBase* plug, int width, int height, int fps = 0);
  ~IGraphicsOffscreen() override;

  // The module whose image resources LoadPlatformBitmap reads.
  void SetModuleHandle(RAS_ModuleHandle module) { mModule = module; }

  // ---- Drawing ----
  // DrawRegion of the whole editor.
  void DrawAll();
  // One step of the redraw timer: draws the union of the dirty controls.
  // Answers whether anything was drawn.
  virtual bool Tick();

  bool IsCursorHidden() const { return mCursorHidden; }

  // ---- Platform slots ----
  bool DrawScreen(const IRect& r) override;
  void EndTextEntry() override;
  const char* GetApiName() override { return "offscreen"; }
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
  void* GetWindow() override { return mWindowOpen ? this : nullptr; }
  bool GetClipboardText(std::string& text) override;
  void HideCursor() override;
  void ShowCursor() override;
  RAS_IBitmap* LoadPlatformBitmap(int id, const char* name) override;

 private:
  RAS_ModuleHandle mModule = nullptr;
  bool mWindowOpen = false;
};
