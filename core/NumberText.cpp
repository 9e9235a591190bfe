#include "core/NumberText.h"

#include <charconv>
#include <cstring>

void FormatFixedNumber(double value, int decimals, char* out, size_t outSize) {
  if (out == nullptr || outSize == 0) return;
  if (decimals < 0) decimals = 0;
  if (decimals > 17) decimals = 17;
  // A double in fixed notation has at most 309 integer digits.
  char text[400];
  const std::to_chars_result result =
      std::to_chars(text, text + sizeof(text) - 1, value, std::chars_format::fixed, decimals);
  const size_t length = result.ec == std::errc() ? static_cast<size_t>(result.ptr - text) : 0;
  const size_t kept = length < outSize - 1 ? length : outSize - 1;
  std::memcpy(out, text, kept);
  out[kept] = '\0';
}

double ReadLeadingNumber(const char* text) {
  if (text == nullptr) return 0.0;
  const char* p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  if (*p == '+' || *p == '-') return 0.0;  // "+-1" is no number
  double value = 0.0;
  const char* end = p + std::strlen(p);
  const std::from_chars_result result = std::from_chars(p, end, value, std::chars_format::general);
  if (result.ec == std::errc::invalid_argument) return 0.0;
  // Out of range: from_chars leaves the value alone; strtod answers +-HUGE_VAL
  // or a value rounded to zero. Report the direction the digits point to.
  if (result.ec == std::errc::result_out_of_range) {
    const char* e = std::strpbrk(p, "eE");
    value = (e && e[1] == '-') ? 0.0 : __builtin_huge_val();
  }
  return negative ? -value : value;
}
