#pragma once

// Programming-error checks that stay on in every build type. A failed check
// prints the expression's text to standard error and aborts the process.
//
//   FX_ASSERT(pairsParsed, "channelIOStrValid");
//
// The second argument is the text reported; it names the broken invariant.

namespace platform {

[[noreturn]] void FatalAssertionFailed(const char* expressionText, const char* file, int line);

}  // namespace platform

#define FX_ASSERT(condition, expressionText)                                  \
  do {                                                                        \
    if (!(condition)) {                                                       \
      ::platform::FatalAssertionFailed((expressionText), __FILE__, __LINE__); \
    }                                                                         \
  } while (0)
