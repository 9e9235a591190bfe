#pragma once

#include <string>

#include "pluginterfaces/base/ftypes.h"

namespace vst3host {

// Conversions between the UTF-16 texts of the plug-in interfaces and the
// UTF-8 texts of the command line and files.
std::string Utf16ToUtf8(const Steinberg::char16* text);
std::u16string Utf8ToUtf16(const std::string& text);

// Formats a double the way the tool prints numbers: shortest text that keeps
// six significant digits ("-6", "0.5", "1e-07").
std::string FormatNumber(double value);

// Parses a whole text as a finite number; false for anything else ("", "6 dB", "nan").
bool ParseNumber(const std::string& text, double* value);

}  // namespace vst3host
