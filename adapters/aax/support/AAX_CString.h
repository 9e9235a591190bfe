#pragma once

#include <cstddef>
#include <string>

// The text type of the format's interfaces.
class AAX_CString {
 public:
  AAX_CString() = default;
  AAX_CString(const char* text) : mText(text != nullptr ? text : "") {}  // NOLINT: implicit on purpose
  explicit AAX_CString(const std::string& text) : mText(text) {}

  const char* Get() const { return mText.c_str(); }
  const std::string& StdString() const { return mText; }
  size_t Length() const { return mText.size(); }
  bool Empty() const { return mText.empty(); }
  void Set(const char* text) { mText = text != nullptr ? text : ""; }
  void Append(const char* text) { mText += text != nullptr ? text : ""; }
  void Clear() { mText.clear(); }
  // Keeps at most length characters.
  void Truncate(size_t length) {
    if (mText.size() > length) mText.resize(length);
  }

  bool operator==(const AAX_CString& other) const { return mText == other.mText; }
  bool operator!=(const AAX_CString& other) const { return mText != other.mText; }

 private:
  std::string mText;
};
