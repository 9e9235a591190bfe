#include "effect/dsp/ScopedDenormalFlush.h"

#if defined(__SSE__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 1)
#include <xmmintrin.h>
#define STRATUM_HAS_MXCSR 1
#endif

namespace {
#ifdef STRATUM_HAS_MXCSR
constexpr unsigned int kFlushToZero = 0x8000;     // MXCSR bit 15
constexpr unsigned int kDenormalsAreZero = 0x0040;  // MXCSR bit 6
#endif
}  // namespace

ScopedDenormalFlush::ScopedDenormalFlush() {
#ifdef STRATUM_HAS_MXCSR
  mSavedMode = _mm_getcsr();
  _mm_setcsr(mSavedMode | kFlushToZero | kDenormalsAreZero);
#endif
}

ScopedDenormalFlush::~ScopedDenormalFlush() {
#ifdef STRATUM_HAS_MXCSR
  _mm_setcsr(mSavedMode);
#endif
}
