#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "editor/offscreen/IGraphicsOffscreen.h"

class RAS_MemBitmap;

// The offscreen editor as a test double: what a user would answer is
// scripted in advance, and what a window would have shown is recorded.
// - DrawScreen copies the painted region of the back buffer into a screen
//   bitmap and records the rectangle, as a window would show it;
// - pop-up menus and text entries are answered by a script set up in
//   advance (or by the caller while an entry is open);
// - message boxes answer a settable value and are counted, the clipboard
//   holds a settable text, image loads are counted.
// Everything else is the offscreen layer's.
class IGraphicsScripted : public IGraphicsOffscreen {
 public:
  IGraphicsScripted(IFxBase* plug, int width, int height, int fps = 0);
  ~IGraphicsScripted() override;

  // ---- Drawing ----
  // One step of the redraw timer: applies a committed or cancelled text
  // entry (and ends there), else draws the union of the dirty controls.
  // Answers whether anything was drawn.
  bool Tick() override;
  // What DrawScreen has copied so far (the editor's size).
  RAS_MemBitmap* Screen() const { return mScreen.get(); }
  const std::vector<IRect>& PaintedRects() const { return mPaintedRects; }
  void ClearPaintedRects() { mPaintedRects.clear(); }

  // ---- Pop-up menu script ----
  // The next menu chooses item `index` of the top menu (-1: dismissed). A
  // path chooses inside sub-menus: {2, 0} is item 0 of item 2's sub-menu.
  // With no answer queued a menu is dismissed.
  void QueuePopupChoice(int index) { mPopupScript.push_back(std::vector<int>{index}); }
  void QueuePopupChoicePath(const std::vector<int>& path) { mPopupScript.push_back(path); }
  struct ShownMenu {
    std::vector<std::string> texts;  // as displayed, numbering included
    std::vector<int> flags;
    IRect rect;
  };
  const std::vector<ShownMenu>& ShownMenus() const { return mShownMenus; }

  // ---- Text entry script ----
  enum class EntryState { None, Editing, Commit, Cancel };
  // The next entry that opens gets `typed` typed over its selected text
  // (characters the parameter refuses are dropped, and at most the control's
  // entry length are kept), then Return (commit) or Escape. With no answer
  // queued the entry stays open, editing.
  void QueueTextEntry(const char* typed, bool commit = true);
  struct EntryRequest {
    IControl* control;
    IFxParam* param;
    ITextStyle style;
    IRect rect;
    std::string text;
  };
  const std::vector<EntryRequest>& TextEntryRequests() const { return mEntryRequests; }
  bool IsTextEntryOpen() const { return mEntryControl != nullptr; }
  EntryState GetTextEntryState() const { return mEntryState; }
  const std::string& GetTextEntryText() const { return mEntryText; }
  // Typing into the open entry (appended, filtered and limited like keys).
  void TypeIntoTextEntry(const char* chars);
  // Return / Escape in the open entry; applied at the next Tick().
  void PressReturnInEntry() {
    if (IsTextEntryOpen()) mEntryState = EntryState::Commit;
  }
  void PressEscapeInEntry() {
    if (IsTextEntryOpen()) mEntryState = EntryState::Cancel;
  }

  // ---- Other services ----
  void SetClipboardText(const char* text) { mClipboard = text ? text : ""; }
  void SetMessageBoxAnswer(int answer) { mMessageBoxAnswer = answer; }
  int MessageBoxCount() const { return mMessageBoxCount; }
  int PlatformBitmapLoads() const { return mPlatformBitmapLoads; }

  // ---- Platform slots ----
  bool DrawScreen(const IRect& r) override;
  void EndTextEntry() override;
  // Drops an open text entry first: its control is destroyed with the others.
  void Resize(int w, int h) override;
  int ShowMessageBox(const char* text, const char* caption, int type) override;
  IPopupMenu* ShowPopupMenu(IPopupMenu* menu, const IRect& rect) override;
  void CreateTextEntry(IControl* control, const ITextStyle& style, const IRect& rect,
                       const char* text, IFxParam* param) override;
  bool GetClipboardText(std::string& text) override;
  RAS_IBitmap* LoadPlatformBitmap(int id, const char* name) override;

 private:
  void CloseTextEntry();
  void AppendToEntry(const char* chars);

  std::unique_ptr<RAS_MemBitmap> mScreen;
  std::vector<IRect> mPaintedRects;

  std::deque<std::vector<int>> mPopupScript;
  std::vector<ShownMenu> mShownMenus;

  struct EntryAnswer {
    std::string typed;
    bool commit;
  };
  std::deque<EntryAnswer> mEntryScript;
  std::vector<EntryRequest> mEntryRequests;
  IControl* mEntryControl = nullptr;
  IFxParam* mEntryParam = nullptr;
  std::string mEntryText;
  EntryState mEntryState = EntryState::None;

  std::string mClipboard;
  int mMessageBoxAnswer = kMessageBoxAnswer;
  int mMessageBoxCount = 0;
  int mPlatformBitmapLoads = 0;
};
