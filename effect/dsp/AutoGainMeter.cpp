#include "effect/dsp/AutoGainMeter.h"

#include <cmath>

#include "effect/dsp/Decibels.h"

void AutoGainMeter::SetSampleRate(int sampleRate) {
  if (sampleRate == mSampleRate) {
    return;
  }
  mSampleRate = sampleRate;
  mRiseCoefficient = std::exp(-1.0 / sampleRate);
  mFallCoefficient = std::exp(-1.0 / (sampleRate * 0.01));
  mWindow.SetSampleRate(sampleRate);
  mWindow.SetRmsValue(0.0);
}

void AutoGainMeter::Clear() {
  mLevelMemoryDb = kClearedLevelDb;
  mTargetGain = 1.0;
  mSmoothedGain = 0.0;
}

double AutoGainMeter::Measure(const double* samples, int n) {
  MeasureLevel(samples, n);
  // Per sample: rise slowly towards a higher gain, fall quickly to a lower one.
  double smoothed = mSmoothedGain;
  for (int i = 0; i < n; ++i) {
    smoothed = GlideStep(smoothed);
  }
  mSmoothedGain = smoothed;
  return mSmoothedGain;
}

void AutoGainMeter::MeasurePair(AutoGainMeter& left, const double* leftSamples,
                                AutoGainMeter& right, const double* rightSamples, int n,
                                double* leftGain, double* rightGain) {
  left.MeasureLevel(leftSamples, n);
  right.MeasureLevel(rightSamples, n);
  double l = left.mSmoothedGain, r = right.mSmoothedGain;
  for (int i = 0; i < n; ++i) {
    l = left.GlideStep(l);
    r = right.GlideStep(r);
  }
  left.mSmoothedGain = l;
  right.mSmoothedGain = r;
  *leftGain = l;
  *rightGain = r;
}

void AutoGainMeter::MeasureLevel(const double* samples, int n) {
  mWindow.Push(samples, n);
  mLastRms = mWindow.ComputeRms();

  double blockPeak = 0.0;
  for (int i = 0; i < n; ++i) {
    const double a = std::fabs(samples[i]);
    if (a > blockPeak) {
      blockPeak = a;
    }
  }

  const double source = mMode == 1.0 ? mLastRms : blockPeak;
  const double level = LinearToDb(source);
  // Only a finite level can be remembered: an infinite one would stand above
  // everything that follows until the next restart.
  if (level > mLevelMemoryDb && std::isfinite(level) && LinearToDb(blockPeak) > mGateDb) {
    mLevelMemoryDb = level;
    const double target = DbToLinear(GainForLevelDb(level, mReferenceDb));
    if (target != mTargetGain) {
      mTargetGain = target;
    }
  }
}

double AutoGainMeter::GainForLevelDb(double levelDb, double referenceDb) {
  // The gain that moves the level onto the reference. Below full scale this
  // is |level| + reference; above it the gain keeps falling, so a louder
  // level never gets more gain.
  const double gainDb = referenceDb - levelDb;
  return gainDb > kMaxGainDb ? kMaxGainDb : gainDb;
}
