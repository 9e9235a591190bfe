#include "editor/offscreen/IGraphicsOffscreen.h"

#include <cctype>
#include <cstring>

#include "platform/Paths.h"
#include "raster/RAS_Png.h"

namespace {

bool HasPngExtension(const char* name) {
  if (!name) return false;
  const char* dot = std::strrchr(name, '.');
  if (!dot) return false;
  const char* ext = dot + 1;
  if (std::strlen(ext) != 3) return false;
  return std::tolower(static_cast<unsigned char>(ext[0])) == 'p' &&
         std::tolower(static_cast<unsigned char>(ext[1])) == 'n' &&
         std::tolower(static_cast<unsigned char>(ext[2])) == 'g';
}

}  // namespace

IGraphicsOffscreen::IGraphicsOffscreen(IFxBase* plug, int width, int height, int fps)
    : IGraphics(plug, width, height, fps) {}

IGraphicsOffscreen::~IGraphicsOffscreen() = default;

// ---- Drawing ----

void IGraphicsOffscreen::DrawAll() { DrawRegion(IRect(0, 0, Width(), Height())); }

bool IGraphicsOffscreen::Tick() {
  IRect update;
  if (ShowControlBounds())
    update = GetDrawRect();
  else if (!CollectDirtyRect(update))
    return false;
  DrawRegion(update);
  return true;
}

// No screen: what was drawn stays in the back buffer.
bool IGraphicsOffscreen::DrawScreen(const IRect&) { return true; }

// ---- Prompts: nobody is there to answer ----

IPopupMenu* IGraphicsOffscreen::ShowPopupMenu(IPopupMenu*, const IRect&) {
  ReleaseMouseCapture();
  return nullptr;
}

// The entry is cancelled before it opens: the control keeps its value.
void IGraphicsOffscreen::CreateTextEntry(IControl*, const ITextStyle&, const IRect&, const char*,
                                         IFxParam*) {}

void IGraphicsOffscreen::EndTextEntry() {}

// ---- Window ----

void* IGraphicsOffscreen::OpenWindow(void*) {
  mWindowOpen = true;
  // The first tick after opening paints everything.
  MarkAllControlsDirty();
  return this;
}

void IGraphicsOffscreen::CloseWindow() { mWindowOpen = false; }

void IGraphicsOffscreen::HideCursor() {
  if (mCursorHidden) return;
  mHiddenMousePointX = GetMouseX();
  mHiddenMousePointY = GetMouseY();
  mCursorHidden = true;
}

void IGraphicsOffscreen::ShowCursor() { mCursorHidden = false; }

// ---- Services ----

int IGraphicsOffscreen::ShowMessageBox(const char*, const char*, int) { return kMessageBoxAnswer; }

void IGraphicsOffscreen::HostPath(std::string& path) { path = platform::HostPath(); }

void IGraphicsOffscreen::PluginPath(std::string& path) { path = platform::PluginPath(); }

void IGraphicsOffscreen::DesktopPath(std::string& path) { path = platform::DesktopPath(); }

void IGraphicsOffscreen::AppDataPath(std::string& path, bool system) { path = platform::AppDataPath(system); }

void IGraphicsOffscreen::UserAppDataPath(std::string& path) { path = platform::UserAppDataPath(); }

// No dialog can be shown: every prompt counts as cancelled.
void IGraphicsOffscreen::PromptForFile(std::string& file, int, std::string&, const char*) {
  file.clear();
}

bool IGraphicsOffscreen::PromptForColor(IColor&, const char*) { return false; }

bool IGraphicsOffscreen::OpenURL(const char*, const char*, const char*, const char*) {
  return false;
}

bool IGraphicsOffscreen::GetClipboardText(std::string& text) {
  text.clear();
  return false;
}

RAS_IBitmap* IGraphicsOffscreen::LoadPlatformBitmap(int id, const char* name) {
  if (!HasPngExtension(name)) return nullptr;
  return RAS_LoadPngResource(mModule, id);
}
