#pragma once

#include <memory>
#include <string>
#include <vector>

class IPopupMenu;

// One entry of a pop-up menu, optionally opening a sub-menu it owns.
class IPopupMenuItem {
 public:
  enum Flags { Greyed = 1, Disabled = 2, Ticked = 4, Separator = 8 };

  explicit IPopupMenuItem(const char* text, int flags = 0, IPopupMenu* subMenu = nullptr);
  ~IPopupMenuItem();

  const std::string& GetText() const { return mText; }
  int GetFlags() const { return mFlags; }
  void SetFlags(int flags) { mFlags = flags; }
  bool IsTicked() const { return (mFlags & Ticked) != 0; }
  bool IsSeparator() const { return (mFlags & Separator) != 0; }
  IPopupMenu* GetSubMenu() const { return mSubMenu.get(); }

 private:
  std::string mText;
  std::unique_ptr<IPopupMenu> mSubMenu;
  int mFlags;
};

// An ordered list of owned items, the numbering put in front of each item's
// text, and the item the user chose (-1 until a choice is made).
class IPopupMenu {
 public:
  enum Numbering { NumberingNone = 0, Numbering1 = 1, Numbering2 = 2, Numbering3 = 3 };

  explicit IPopupMenu(int numbering = NumberingNone) : mNumbering(numbering) {}

  // The menu takes ownership of the item (and of its sub-menu).
  IPopupMenuItem* AddItem(IPopupMenuItem* item);
  IPopupMenuItem* AddItem(const char* text, int flags = 0, IPopupMenu* subMenu = nullptr);
  IPopupMenuItem* AddSeparator();

  int GetNItems() const { return static_cast<int>(mItems.size()); }
  IPopupMenuItem* GetItem(int index) const;

  int GetNumbering() const { return mNumbering; }
  void SetNumbering(int numbering) { mNumbering = numbering; }
  int GetChosenItemIdx() const { return mChosenItemIdx; }
  void SetChosenItemIdx(int index) { mChosenItemIdx = index; }

  // The text a window layer shows for item `index`: its 1-based number in the
  // menu's numbering style ("%1d: ", "%02d: ", "%03d: ") followed by the text.
  std::string ItemDisplayText(int index) const;

 private:
  int mNumbering;
  int mChosenItemIdx = -1;
  std::vector<std::unique_ptr<IPopupMenuItem>> mItems;
};
