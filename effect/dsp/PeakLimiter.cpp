#include "effect/dsp/PeakLimiter.h"

#include <cmath>

void PeakLimiter::SetRelease(int ms) {
  mFastCoefficient = std::exp(-1.0 / (ms * 0.25 / 1000.0 * mSampleRate));
  mSlowCoefficient = std::exp(-1.0 / (ms / 1000.0 * mSampleRate));
}

void PeakLimiter::Process(double* samples, int n) {
  for (int i = 0; i < n; ++i) {
    const double x = samples[i];
    const double a = std::fabs(x);
    if (a > mEnvelope) {
      mEnvelope = a;
      mPeak = true;
    } else {
      if (mPeak) {
        mHalfPeak = mEnvelope * 0.5;
      }
      const double c = mEnvelope > mHalfPeak ? mFastCoefficient : mSlowCoefficient;
      mPeak = false;
      mEnvelope = (1.0 - c) * a + c * mEnvelope;
    }
    const double gain = mEnvelope > 1.0 ? 1.0 / mEnvelope : 1.0;
    samples[i] = gain * x;
  }
}
