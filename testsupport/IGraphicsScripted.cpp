#include "testsupport/IGraphicsScripted.h"

#include "raster/RAS_Blit.h"
#include "raster/RAS_MemBitmap.h"
#include "raster/RAS_SysBitmap.h"

IGraphicsScripted::IGraphicsScripted(IFxBase* plug, int width, int height, int fps)
    : IGraphicsOffscreen(plug, width, height, fps),
      mScreen(std::make_unique<RAS_MemBitmap>(width, height)) {}

IGraphicsScripted::~IGraphicsScripted() = default;

// ---- Drawing ----

bool IGraphicsScripted::Tick() {
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
  return IGraphicsOffscreen::Tick();
}

bool IGraphicsScripted::DrawScreen(const IRect& r) {
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

IPopupMenu* IGraphicsScripted::ShowPopupMenu(IPopupMenu* menu, const IRect& rect) {
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

void IGraphicsScripted::QueueTextEntry(const char* typed, bool commit) {
  mEntryScript.push_back(EntryAnswer{typed ? typed : "", commit});
}

void IGraphicsScripted::CreateTextEntry(IControl* control, const ITextStyle& style,
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

void IGraphicsScripted::TypeIntoTextEntry(const char* chars) {
  if (IsTextEntryOpen()) AppendToEntry(chars);
}

void IGraphicsScripted::AppendToEntry(const char* chars) {
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

void IGraphicsScripted::EndTextEntry() {
  if (IsTextEntryOpen()) mEntryState = EntryState::Cancel;
}

void IGraphicsScripted::Resize(int w, int h) {
  if (w == Width() && h == Height()) return;
  CloseTextEntry();
  IGraphicsOffscreen::Resize(w, h);
  mScreen->Resize(w, h);
}

void IGraphicsScripted::CloseTextEntry() {
  mEntryControl = nullptr;
  mEntryParam = nullptr;
  mEntryText.clear();
  mEntryState = EntryState::None;
}

// ---- Services ----

int IGraphicsScripted::ShowMessageBox(const char*, const char*, int) {
  ++mMessageBoxCount;
  return mMessageBoxAnswer;
}

bool IGraphicsScripted::GetClipboardText(std::string& text) {
  text = mClipboard;
  return !text.empty();
}

RAS_IBitmap* IGraphicsScripted::LoadPlatformBitmap(int id, const char* name) {
  ++mPlatformBitmapLoads;
  return IGraphicsOffscreen::LoadPlatformBitmap(id, name);
}
