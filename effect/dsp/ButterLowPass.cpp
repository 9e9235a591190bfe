#include "effect/dsp/ButterLowPass.h"

#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;
}  // namespace

void ButterLowPass::Design(double cutoffHz, int sampleRate) {
  mW1 = 0.0;
  if (sampleRate <= 0) {
    // No rate yet: pass the signal through unchanged.
    mCutoffHz = cutoffHz;
    mB0 = 1.0;
    mB1 = 0.0;
    mA1 = 0.0;
    return;
  }
  if (cutoffHz >= 0.5 * sampleRate) {
    cutoffHz = kMaxCutoffRatio * sampleRate;
  }
  mCutoffHz = cutoffHz;
  const double k = std::tan(kPi * cutoffHz / sampleRate);
  mB0 = k / (1.0 + k);
  mB1 = mB0;
  mA1 = (k - 1.0) / (k + 1.0);
}
