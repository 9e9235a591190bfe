#pragma once

#include <cstddef>

#include "pluginterfaces/base/ftypes.h"

// Conversions between the host's UTF-16 texts and our 8-bit (UTF-8) texts.
// Both always terminate the destination and never write more than its size.

// Converts src into dst (capacity dstSize bytes, dstSize >= 1).
void Utf16ToUtf8(const Steinberg::char16* src, char* dst, size_t dstSize);

// Converts src into dst (capacity dstSize UTF-16 units, dstSize >= 1).
void Utf8ToUtf16(const char* src, Steinberg::char16* dst, size_t dstSize);
