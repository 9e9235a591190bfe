#pragma once

#include <string>

class IFxParam;

// The editing model of the window layer's single-line text entry: text,
// caret and selection, with the parameter's character filter and the
// control's length limit applied to everything typed or pasted. Positions
// are byte offsets that never split a UTF-8 character.
class X11TextField {
 public:
  // Starts editing text with all of it selected (typing replaces it).
  void Open(const char* text, int maxLength, const IFxParam* param);

  const std::string& Text() const { return mText; }
  int Caret() const { return mCaret; }
  // The selected range [SelectionStart, SelectionEnd); empty when equal.
  int SelectionStart() const { return mCaret < mAnchor ? mCaret : mAnchor; }
  int SelectionEnd() const { return mCaret < mAnchor ? mAnchor : mCaret; }
  bool HasSelection() const { return mCaret != mAnchor; }

  // Typed or pasted characters replace the selection; refused characters
  // are dropped and nothing goes past the length limit. Line breaks in a
  // paste end it (the field is one line).
  void Insert(const std::string& chars);
  void Backspace();
  void Delete();
  // Caret movement; with extend the selection grows from its anchor.
  void Home(bool extend);
  void End(bool extend);
  void Left(bool extend);
  void Right(bool extend);
  void SelectAll();
  void SetCaret(int position, bool extend);

 private:
  void EraseSelection();
  int PreviousPosition(int position) const;
  int NextPosition(int position) const;
  void MoveCaret(int position, bool extend);

  std::string mText;
  int mCaret = 0;
  int mAnchor = 0;
  size_t mMaxLength = 0;
  const IFxParam* mParam = nullptr;
};
