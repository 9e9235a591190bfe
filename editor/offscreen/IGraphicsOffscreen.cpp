#include "editor/offscreen/IGraphicsOffscreen.h"

#include <cctype>
#include <cstring>

#include "platform/Paths.h"
#include "raster/RAS_Blit.h"
#include "raster/RAS_MemBitmap.h"
#include "raster/RAS_Png.h"
#include "raster/RAS_SysBitmap.h"

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
    : IGraphics(plug, width, height, fps), mScreen(std::make_unique<RAS_MemBitmap>(width, height)) {}

IGraphicsOffscreen::~IGraphicsOffscreen() = default;

// ---- Drawing ----

void IGraphicsOffscreen::DrawAll() { DrawRegion(IRect(0, 0, Width(), Height())); }

bool IGraphicsOffscreen::Tick() {
  if (IsTextEntryOpen() && mEntryState == EntryState::Commit) {
    IControl* control = mEntryControl;
    IFxParam* param = mEntryParam;
    const std::string text = mEntryText;
    CloseTextEntry();
    IGraphics::CommitTextEntry(control, param, text.c_str());
    return false;
  }
  if (IsTextEntryOpen() && mEntryState == EntryState::Cancel) {
    CloseTextEntry();
    return false;
  }
  IRect update;
  if (ShowControlBounds())
    update = GetDrawRect();
  else if (!CollectDirtyRect(update))
    return false;
  DrawRegion(update);
  return true;
}

bool IGraphicsOffscreen::DrawScreen(const IRect& r) {
  mPaintedRects.push_back(r);
  RAS_SysBitmap* back = GetBackBuffer();
  if (!back) return false;
  if (mScreen->GetWidth() != Width() || mScreen->GetHeight() != Height())
    mScreen->Resize(Width(), Height());
  RAS_Rect src;
  src.L = r.L;
  src.T = r.T;
  src.R = r.R;
  src.B = r.B;
  RAS_BlitBitmap(mScreen.get(), back, r.L, r.T, &src, 1.0f, RAS_BlitCopy);
  return true;
}

// ---- Pop-up menus ----

IPopupMenu* IGraphicsOffscreen::ShowPopupMenu(IPopupMenu* menu, const IRect& rect) {
  ReleaseMouseCapture();
  if (!menu) return nullptr;
  ShownMenu shown;
  shown.rect = rect;
  for (int i = 0; i < menu->GetNItems(); ++i) {
    shown.texts.push_back(menu->ItemDisplayText(i));
    shown.flags.push_back(menu->GetItem(i)->GetFlags());
  }
  mShownMenus.push_back(shown);

  if (mPopupScript.empty()) return nullptr;
  const std::vector<int> path = mPopupScript.front();
  mPopupScript.pop_front();

  // Walk down the sub-menus; only an enabled ordinary item can be chosen.
  IPopupMenu* current = menu;
  for (size_t level = 0; level < path.size(); ++level) {
    IPopupMenuItem* item = current->GetItem(path[level]);
    if (!item) return nullptr;
    const bool last = level + 1 == path.size();
    if (!last) {
      current = item->GetSubMenu();
      if (!current) return nullptr;
      continue;
    }
    const int refused = IPopupMenuItem::Separator | IPopupMenuItem::Disabled | IPopupMenuItem::Greyed;
    if ((item->GetFlags() & refused) || item->GetSubMenu()) return nullptr;
    current->SetChosenItemIdx(path[level]);
    return current;
  }
  return nullptr;
}

// ---- Text entry ----

void IGraphicsOffscreen::QueueTextEntry(const char* typed, bool commit) {
  mEntryScript.push_back(EntryAnswer{typed ? typed : "", commit});
}

void IGraphicsOffscreen::CreateTextEntry(IControl* control, const ITextStyle& style,
                                         const IRect& rect, const char* text, IFxParam* param) {
  if (!control || IsTextEntryOpen()) return;
  mEntryRequests.push_back(EntryRequest{control, param, style, rect, text ? text : ""});
  mEntryControl = control;
  mEntryParam = param;
  mEntryText = text ? text : "";
  mEntryState = EntryState::Editing;
  if (mEntryScript.empty()) return;

  const EntryAnswer answer = mEntryScript.front();
  mEntryScript.pop_front();
  // The entry opens with its whole text selected, so typing replaces it.
  mEntryText.clear();
  AppendToEntry(answer.typed.c_str());
  mEntryState = answer.commit ? EntryState::Commit : EntryState::Cancel;
}

void IGraphicsOffscreen::TypeIntoTextEntry(const char* chars) {
  if (IsTextEntryOpen()) AppendToEntry(chars);
}

void IGraphicsOffscreen::AppendToEntry(const char* chars) {
  const size_t limit = static_cast<size_t>(mEntryControl->GetTextEntryLength());
  for (const char* c = chars; c && *c; ++c) {
    if (*c == '\b') {
      if (!mEntryText.empty()) mEntryText.pop_back();
      continue;
    }
    if (!TextEntryAcceptsChar(mEntryParam, *c)) continue;
    if (mEntryText.size() < limit) mEntryText += *c;
  }
}

void IGraphicsOffscreen::EndTextEntry() {
  if (IsTextEntryOpen()) mEntryState = EntryState::Cancel;
}

void IGraphicsOffscreen::Resize(int w, int h) {
  if (w == Width() && h == Height()) return;
  CloseTextEntry();
  IGraphics::Resize(w, h);
  mScreen->Resize(w, h);
}

void IGraphicsOffscreen::CloseTextEntry() {
  mEntryControl = nullptr;
  mEntryParam = nullptr;
  mEntryText.clear();
  mEntryState = EntryState::None;
}

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

int IGraphicsOffscreen::ShowMessageBox(const char*, const char*, int) {
  ++mMessageBoxCount;
  return mMessageBoxAnswer;
}

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
  text = mClipboard;
  return !text.empty();
}

RAS_IBitmap* IGraphicsOffscreen::LoadPlatformBitmap(int id, const char* name) {
  ++mPlatformBitmapLoads;
  if (!HasPngExtension(name)) return nullptr;
  return RAS_LoadPngResource(mModule, id);
}
