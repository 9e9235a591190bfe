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
  if (level > mLevelMemoryDb && LinearToDb(blockPeak) > mGateDb) {
    mLevelMemoryDb = level;
    double gainDb = std::fabs(level) + mReferenceDb;
    if (gainDb > kMaxGainDb) {
      gainDb = kMaxGainDb;
    }
    const double target = DbToLinear(gainDb);
    if (target != mTargetGain) {
      mTargetGain = target;
    }
  }

  // Per sample: rise slowly towards a higher gain, fall quickly to a lower one.
  const double target = mTargetGain;
  double smoothed = mSmoothedGain;
  for (int i = 0; i < n; ++i) {
    const double c = target > smoothed ? mRiseCoefficient : mFallCoefficient;
    smoothed = c * smoothed + (1.0 - c) * target;
  }
  mSmoothedGain = smoothed;
  return mSmoothedGain;
}
