#pragma once

#include <vector>

#include "effect/dsp/ButterLowPass.h"

// Widens a mono signal that arrives on both channels: the left channel is
// replaced by a short, low-passed delay of itself.
class MonoWidener {
 public:
  static constexpr int kBufferSeconds = 5;
  static constexpr int kMaxDelayMs = kBufferSeconds * 1000;
  static constexpr double kLowPassHz = 20000.0;

  MonoWidener();

  // A silent buffer of five seconds at the rate, delay length recomputed and
  // the low-pass designed anew. Allocates only when the rate changed.
  void SetSampleRate(int sampleRate);

  // Delay in whole milliseconds, held to 0..kMaxDelayMs.
  void SetDelayMs(int ms);

  // Delays and low-passes n samples in place. A block in which a non-finite
  // sample reached the low-pass ends with the filter and the delay silenced.
  void Process(double* samples, int n);

  int SampleRate() const { return mSampleRate; }
  int DelayMs() const { return mDelayMs; }
  int DelayLength() const { return mDelayLength; }
  const ButterLowPass& LowPass() const { return mLowPass; }
  // The delay buffer, for checks.
  const std::vector<double>& Buffer() const { return mBuffer; }

 private:
  void UpdateDelayLength();

  int mSampleRate = 44100;
  int mDelayMs = 10;
  int mDelayLength = 441;
  int mWritePosition = 0;
  std::vector<double> mBuffer;
  ButterLowPass mLowPass;
};
