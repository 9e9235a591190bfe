#include "platform/AcceptedUrl.h"

#include <cctype>
#include <cstring>
#include <initializer_list>

namespace platform {

namespace {

bool StartsWithNoCase(const char* text, const char* prefix) {
  for (; *prefix != '\0'; ++text, ++prefix) {
    if (std::tolower(static_cast<unsigned char>(*text)) != *prefix) return false;
  }
  return true;
}

}  // namespace

bool IsAcceptedUrl(const char* url) {
  if (url == nullptr) return false;
  for (const char* c = url; *c != '\0'; ++c) {
    const unsigned char code = static_cast<unsigned char>(*c);
    if (code < 0x20 || code == 0x7F) return false;
  }
  for (const char* scheme : {"http://", "https://", "mailto:", "file://"}) {
    if (StartsWithNoCase(url, scheme) && url[std::strlen(scheme)] != '\0') return true;
  }
  return false;
}

}  // namespace platform
