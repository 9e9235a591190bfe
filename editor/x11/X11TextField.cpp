#include "editor/x11/X11TextField.h"

#include "editor/IGraphics.h"

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Characters in the UTF-8 text (what the length limit counts).
size_t CharacterCount(const std::string& text) {
  size_t count = 0;
  for (char c : text) count += IsContinuationByte(c) ? 0 : 1;
  return count;
}

}  // namespace

void X11TextField::Open(const char* text, int maxLength, const IFxParam* param) {
  mText = text ? text : "";
  mMaxLength = maxLength > 0 ? static_cast<size_t>(maxLength) : 0;
  mParam = param;
  SelectAll();
}

void X11TextField::Insert(const std::string& chars) {
  EraseSelection();
  size_t count = CharacterCount(mText);
  for (size_t i = 0; i < chars.size(); ++i) {
    const char c = chars[i];
    if (c == '\n' || c == '\r') break;
    if (c == '\b' || static_cast<unsigned char>(c) < 0x20) continue;
    // A multi-byte character travels whole: its lead byte decides.
    size_t length = 1;
    while (i + length < chars.size() && IsContinuationByte(chars[i + length])) ++length;
    const bool accepted = IGraphics::TextEntryAcceptsChar(mParam, c) && !IsContinuationByte(c);
    if (accepted && count < mMaxLength) {
      mText.insert(static_cast<size_t>(mCaret), chars, i, length);
      mCaret += static_cast<int>(length);
      ++count;
    }
    i += length - 1;
  }
  mAnchor = mCaret;
}

void X11TextField::Backspace() {
  if (HasSelection()) {
    EraseSelection();
    return;
  }
  const int from = PreviousPosition(mCaret);
  mText.erase(static_cast<size_t>(from), static_cast<size_t>(mCaret - from));
  mCaret = mAnchor = from;
}

void X11TextField::Delete() {
  if (HasSelection()) {
    EraseSelection();
    return;
  }
  const int to = NextPosition(mCaret);
  mText.erase(static_cast<size_t>(mCaret), static_cast<size_t>(to - mCaret));
  mAnchor = mCaret;
}

void X11TextField::Home(bool extend) { MoveCaret(0, extend); }
void X11TextField::End(bool extend) { MoveCaret(static_cast<int>(mText.size()), extend); }

void X11TextField::Left(bool extend) {
  // Without extend, a selection collapses to its start.
  if (!extend && HasSelection()) {
    MoveCaret(SelectionStart(), false);
    return;
  }
  MoveCaret(PreviousPosition(mCaret), extend);
}

void X11TextField::Right(bool extend) {
  if (!extend && HasSelection()) {
    MoveCaret(SelectionEnd(), false);
    return;
  }
  MoveCaret(NextPosition(mCaret), extend);
}

void X11TextField::SelectAll() {
  mAnchor = 0;
  mCaret = static_cast<int>(mText.size());
}

void X11TextField::SetCaret(int position, bool extend) {
  if (position < 0) position = 0;
  if (position > static_cast<int>(mText.size())) position = static_cast<int>(mText.size());
  while (position > 0 && position < static_cast<int>(mText.size()) &&
         IsContinuationByte(mText[static_cast<size_t>(position)]))
    --position;
  MoveCaret(position, extend);
}

void X11TextField::EraseSelection() {
  const int start = SelectionStart();
  mText.erase(static_cast<size_t>(start), static_cast<size_t>(SelectionEnd() - start));
  mCaret = mAnchor = start;
}

int X11TextField::PreviousPosition(int position) const {
  if (position <= 0) return 0;
  --position;
  while (position > 0 && IsContinuationByte(mText[static_cast<size_t>(position)])) --position;
  return position;
}

int X11TextField::NextPosition(int position) const {
  const int size = static_cast<int>(mText.size());
  if (position >= size) return size;
  ++position;
  while (position < size && IsContinuationByte(mText[static_cast<size_t>(position)])) ++position;
  return position;
}

void X11TextField::MoveCaret(int position, bool extend) {
  mCaret = position;
  if (!extend) mAnchor = position;
}
