#include "editor/IPopupMenu.h"

#include <cstdio>

IPopupMenuItem::IPopupMenuItem(const char* text, int flags, IPopupMenu* subMenu)
    : mText(text ? text : ""), mSubMenu(subMenu), mFlags(flags) {}

IPopupMenuItem::~IPopupMenuItem() = default;

IPopupMenuItem* IPopupMenu::AddItem(IPopupMenuItem* item) {
  mItems.emplace_back(item);
  return item;
}

IPopupMenuItem* IPopupMenu::AddItem(const char* text, int flags, IPopupMenu* subMenu) {
  return AddItem(new IPopupMenuItem(text, flags, subMenu));
}

IPopupMenuItem* IPopupMenu::AddSeparator() { return AddItem("", IPopupMenuItem::Separator); }

IPopupMenuItem* IPopupMenu::GetItem(int index) const {
  if (index < 0 || index >= GetNItems()) return nullptr;
  return mItems[static_cast<size_t>(index)].get();
}

std::string IPopupMenu::ItemDisplayText(int index) const {
  const IPopupMenuItem* item = GetItem(index);
  if (!item) return std::string();
  const char* format = nullptr;
  switch (mNumbering) {
    case Numbering1: format = "%1d: "; break;
    case Numbering2: format = "%02d: "; break;
    case Numbering3: format = "%03d: "; break;
    default: return item->GetText();
  }
  char prefix[32];
  std::snprintf(prefix, sizeof(prefix), format, index + 1);
  return prefix + item->GetText();
}
