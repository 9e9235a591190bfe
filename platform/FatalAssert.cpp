#include "platform/FatalAssert.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

void FatalAssertionFailed(const char* expressionText, const char* file, int line) {
  std::fprintf(stderr, "Assertion failed: %s (%s:%d)\n", expressionText, file, line);
  std::fflush(stderr);
  std::abort();
}

}  // namespace platform
