#include "platform/Clipboard.h"

#include <windows.h>

// The clipboard's Unicode text, converted to UTF-8. The system offers text
// put there in any text format as Unicode too.

namespace platform {

namespace {

// Another program may hold the clipboard open for a moment.
constexpr int kOpenAttempts = 100;  // about a second in 10 ms steps

bool OpenClipboardPatiently() {
  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    if (OpenClipboard(nullptr)) return true;
    Sleep(10);
  }
  return false;
}

}  // namespace

bool GetClipboardText(std::string& text) {
  text.clear();
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboardPatiently()) return false;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const wchar_t* wide = data != nullptr ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
  if (wide != nullptr) {
    // The text ends at its first NUL, within the block the owner handed over.
    const size_t limit = GlobalSize(data) / sizeof(wchar_t);
    size_t length = 0;
    while (length < limit && wide[length] != L'\0') ++length;
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    if (bytes > 0) {
      text.resize(static_cast<size_t>(bytes));
      WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), &text[0], bytes, nullptr, nullptr);
    }
    GlobalUnlock(data);
  }
  CloseClipboard();
  return !text.empty();
}

}  // namespace platform
