#pragma once

namespace platform {

// Opens url with the user's preferred application (web browser, mail program,
// file viewer) and returns at once, without waiting for that application.
//
// Only web pages, mail addresses and local files are opened: url must start
// with "http://", "https://", "mailto:" or "file://" (scheme in any letter
// case) and contain no control characters. Anything else (an empty text, a
// bare path, another scheme) is refused, so a text from a preset or a host
// can never run a program or pass options to the opener.
//
// False when the url is refused or the opener cannot be started.
bool OpenUrl(const char* url);

}  // namespace platform
