#pragma once

#include <string>

namespace platform {

// The text on the system clipboard, as UTF-8. False (and text empty) when
// there is no window system, the clipboard is empty, its owner offers no
// text or does not answer within about a second.
bool GetClipboardText(std::string& text);

}  // namespace platform
