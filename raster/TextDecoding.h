#pragma once

#include <cstdint>

// Decodes the next character of UTF-8 text for the glyph cache and advances
// p. Two- and three-byte sequences give their code (16 bits); a four-byte
// sequence, which the 16-bit glyph cache cannot hold, gives a space. A byte
// that starts no complete sequence is taken as a character by itself, so
// invalid text is drawn byte by byte. Never reads at or beyond end.
inline uint32_t RAS_DecodeTextChar(const uint8_t*& p, const uint8_t* end) {
  auto isContinuation = [](uint8_t b) { return b >= 0x80 && b <= 0xBF; };
  uint8_t lead = *p;
  long remaining = static_cast<long>(end - p);
  if (lead >= 0xC2 && lead <= 0xDF && remaining >= 2 && isContinuation(p[1])) {
    uint32_t code = (uint32_t(lead & 0x1F) << 6) | (p[1] & 0x3Fu);
    p += 2;
    return code;
  }
  if (lead >= 0xE0 && lead <= 0xEF && remaining >= 3 && isContinuation(p[1]) && isContinuation(p[2])) {
    uint32_t code = (uint32_t(lead & 0x0F) << 12) | (uint32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3Fu);
    p += 3;
    return code;
  }
  if (lead >= 0xF0 && lead <= 0xF4 && remaining >= 4 && isContinuation(p[1]) && isContinuation(p[2]) &&
      isContinuation(p[3])) {
    p += 4;
    return ' ';
  }
  ++p;
  return lead;
}
