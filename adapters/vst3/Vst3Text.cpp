#include "adapters/vst3/Vst3Text.h"

#include <cstdint>

using Steinberg::char16;

namespace {

// Appends the UTF-8 bytes of one code point when they fit with room for the terminator.
bool AppendUtf8(uint32_t codePoint, char* dst, size_t dstSize, size_t& used) {
  unsigned char bytes[4];
  size_t count = 0;
  if (codePoint < 0x80) {
    bytes[count++] = static_cast<unsigned char>(codePoint);
  } else if (codePoint < 0x800) {
    bytes[count++] = static_cast<unsigned char>(0xC0 | (codePoint >> 6));
    bytes[count++] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    bytes[count++] = static_cast<unsigned char>(0xE0 | (codePoint >> 12));
    bytes[count++] = static_cast<unsigned char>(0x80 | ((codePoint >> 6) & 0x3F));
    bytes[count++] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
  } else {
    bytes[count++] = static_cast<unsigned char>(0xF0 | (codePoint >> 18));
    bytes[count++] = static_cast<unsigned char>(0x80 | ((codePoint >> 12) & 0x3F));
    bytes[count++] = static_cast<unsigned char>(0x80 | ((codePoint >> 6) & 0x3F));
    bytes[count++] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
  }
  if (used + count + 1 > dstSize) return false;
  for (size_t i = 0; i < count; ++i) dst[used++] = static_cast<char>(bytes[i]);
  return true;
}

}  // namespace

void Utf16ToUtf8(const char16* src, char* dst, size_t dstSize) {
  if (dst == nullptr || dstSize == 0) return;
  size_t used = 0;
  for (size_t i = 0; src != nullptr && src[i] != 0; ++i) {
    uint32_t codePoint = static_cast<uint16_t>(src[i]);
    const bool highSurrogate = codePoint >= 0xD800 && codePoint <= 0xDBFF;
    const uint32_t next = static_cast<uint16_t>(src[i + 1]);
    if (highSurrogate && next >= 0xDC00 && next <= 0xDFFF) {
      codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (next - 0xDC00);
      ++i;
    } else if (codePoint >= 0xD800 && codePoint <= 0xDFFF) {
      codePoint = '?';  // an unpaired surrogate has no UTF-8 form
    }
    if (!AppendUtf8(codePoint, dst, dstSize, used)) break;
  }
  dst[used] = '\0';
}

void Utf8ToUtf16(const char* src, char16* dst, size_t dstSize) {
  if (dst == nullptr || dstSize == 0) return;
  size_t used = 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(src);
  size_t i = 0;
  while (bytes != nullptr && bytes[i] != 0) {
    uint32_t codePoint = bytes[i];
    int extra = 0;
    if (codePoint >= 0xF0 && codePoint < 0xF8) {
      codePoint &= 0x07;
      extra = 3;
    } else if (codePoint >= 0xE0) {
      codePoint &= 0x0F;
      extra = 2;
    } else if (codePoint >= 0xC0) {
      codePoint &= 0x1F;
      extra = 1;
    } else if (codePoint >= 0x80) {
      codePoint = '?';  // a stray continuation byte
    }
    ++i;
    for (int k = 0; k < extra; ++k) {
      if ((bytes[i] & 0xC0) != 0x80) {  // truncated sequence (also stops at the terminator)
        codePoint = '?';
        break;
      }
      codePoint = (codePoint << 6) | (bytes[i] & 0x3F);
      ++i;
    }
    if (codePoint >= 0x10000) {
      if (used + 2 + 1 > dstSize) break;
      codePoint -= 0x10000;
      dst[used++] = static_cast<char16>(0xD800 + (codePoint >> 10));
      dst[used++] = static_cast<char16>(0xDC00 + (codePoint & 0x3FF));
    } else {
      if (used + 1 + 1 > dstSize) break;
      dst[used++] = static_cast<char16>(codePoint);
    }
  }
  dst[used] = 0;
}
