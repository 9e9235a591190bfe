#pragma once

#include <cstddef>

// Numbers as texts, the same in every process: hosts may switch the C
// library's locale to one with a decimal comma, which would change what
// "%.*f" writes and what strtod reads inside a plug-in. These never look at
// the locale.

// Writes value with exactly `decimals` digits after a '.', rounded as
// printf's "%.*f" rounds the stored double (decimals 0 to 17). The text is
// cut to fit outSize.
void FormatFixedNumber(double value, int decimals, char* out, size_t outSize);

// Reads the decimal number at the start of text the way strtod does in the
// "C" locale: leading white space, an optional sign, digits with an optional
// '.' fraction and exponent; the rest of the text is ignored. No number reads
// as 0. "inf" and "nan" read as such; callers refuse them.
double ReadLeadingNumber(const char* text);
