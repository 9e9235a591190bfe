#include "effect/dsp/PeakLimiter.h"

#include <cfloat>
#include <cmath>

void PeakLimiter::SetRelease(int ms) {
  mFastCoefficient = std::exp(-1.0 / (ms * 0.25 / 1000.0 * mSampleRate));
  mSlowCoefficient = std::exp(-1.0 / (ms / 1000.0 * mSampleRate));
}

namespace {

// The per-sample state, held in locals while a block runs (the samples could
// alias the members as far as the compiler knows).
struct LimiterState {
  double envelope;
  double halfPeak;
  bool peak;

  // The envelope update is written with selects rather than branches:
  // whether a sample raises the envelope is as unpredictable as the signal.
  // Both release candidates are computed before the coefficient is chosen,
  // which shortens the chain from one sample to the next; the arithmetic of
  // the chosen one is exactly that of the two-branch description. The gain
  // keeps its branch: it is rarely taken and saves a division per sample.
  // Its test is written so that an envelope that is not a number (after such
  // a sample) gives no number rather than an unlimited sample: the effect's
  // output guard turns those into silence, which is within full scale.
  double Step(double x, double fast, double slow) {
    const double a = std::fabs(x);
    const bool rising = a > envelope;
    const double half = (!rising && peak) ? envelope * 0.5 : halfPeak;
    const double viaFast = (1.0 - fast) * a + fast * envelope;
    const double viaSlow = (1.0 - slow) * a + slow * envelope;
    const double released = envelope > half ? viaFast : viaSlow;
    halfPeak = half;
    envelope = rising ? a : released;
    peak = rising;
    if (!(envelope <= 1.0)) {
      return (1.0 / envelope) * x;
    }
    return x;
  }

  // Once per block: an envelope that is not finite (a sample that was not)
  // would stop the limiter for good, or silence it for good when infinite;
  // the limiter starts again from rest instead.
  void Settle() {
    if (!(envelope <= DBL_MAX && halfPeak <= DBL_MAX)) {
      envelope = 0.0;
      halfPeak = 0.0;
      peak = false;
    }
  }
};

}  // namespace

void PeakLimiter::Process(double* samples, int n) {
  LimiterState state{mEnvelope, mHalfPeak, mPeak};
  for (int i = 0; i < n; ++i) {
    samples[i] = state.Step(samples[i], mFastCoefficient, mSlowCoefficient);
  }
  state.Settle();
  mEnvelope = state.envelope;
  mHalfPeak = state.halfPeak;
  mPeak = state.peak;
}

void PeakLimiter::ProcessPair(PeakLimiter& left, double* leftSamples, PeakLimiter& right,
                              double* rightSamples, int n) {
  if (leftSamples == rightSamples) {
    left.Process(leftSamples, n);
    right.Process(rightSamples, n);
    return;
  }
  LimiterState l{left.mEnvelope, left.mHalfPeak, left.mPeak};
  LimiterState r{right.mEnvelope, right.mHalfPeak, right.mPeak};
  const double lFast = left.mFastCoefficient, lSlow = left.mSlowCoefficient;
  const double rFast = right.mFastCoefficient, rSlow = right.mSlowCoefficient;
  for (int i = 0; i < n; ++i) {
    leftSamples[i] = l.Step(leftSamples[i], lFast, lSlow);
    rightSamples[i] = r.Step(rightSamples[i], rFast, rSlow);
  }
  l.Settle();
  r.Settle();
  left.mEnvelope = l.envelope;
  left.mHalfPeak = l.halfPeak;
  left.mPeak = l.peak;
  right.mEnvelope = r.envelope;
  right.mHalfPeak = r.halfPeak;
  right.mPeak = r.peak;
}
