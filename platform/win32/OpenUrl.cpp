#include "platform/OpenUrl.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/AcceptedUrl.h"

// The shell opens the URL with the application the user chose for its
// scheme; nothing is run through a command line.

namespace platform {

namespace {

std::wstring Utf8ToWide(const char* text) {
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, &wide[0], length);
  wide.resize(static_cast<size_t>(length) - 1);
  return wide;
}

}  // namespace

bool OpenUrl(const char* url) {
  if (!IsAcceptedUrl(url)) return false;
  const std::wstring wide = Utf8ToWide(url);
  if (wide.empty()) return false;
  // No error dialogs: a URL nobody can open is reported by the answer.
  SHELLEXECUTEINFOW request = {};
  request.cbSize = sizeof request;
  request.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  request.lpVerb = L"open";
  request.lpFile = wide.c_str();
  request.nShow = SW_SHOWNORMAL;
  return ShellExecuteExW(&request) != FALSE;
}

}  // namespace platform
