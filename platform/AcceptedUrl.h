#pragma once

namespace platform {

// The rule OpenUrl applies on every system: true for "http://", "https://",
// "mailto:" and "file://" (scheme in any letter case) followed by something,
// with no control characters anywhere.
bool IsAcceptedUrl(const char* url);

}  // namespace platform
