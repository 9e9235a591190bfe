#pragma once

// Instant-attack peak limiter for one channel: holds the output at or below
// full scale and releases in two stages, fast down to half of the last peak
// and slow below it. After a sample that is not finite the rest of its block
// comes out as no number (never above full scale, see the effect's output
// guard) and the next block starts from rest.
class PeakLimiter {
 public:
  void SetSampleRate(int sampleRate) { mSampleRate = sampleRate; }
  void SetEnvelope(double envelope) { mEnvelope = envelope; }

  // Release time in whole milliseconds: the fast stage uses a quarter of it
  // as its time constant, the slow stage all of it.
  void SetRelease(int ms);

  // Limits n samples in place.
  void Process(double* samples, int n);

  // left.Process (leftSamples) and right.Process (rightSamples) in one loop,
  // with the same results.
  static void ProcessPair(PeakLimiter& left, double* leftSamples, PeakLimiter& right,
                          double* rightSamples, int n);

  int SampleRate() const { return mSampleRate; }
  double Envelope() const { return mEnvelope; }
  double HalfPeak() const { return mHalfPeak; }
  double FastCoefficient() const { return mFastCoefficient; }
  double SlowCoefficient() const { return mSlowCoefficient; }

 private:
  double mFastCoefficient = 0.0;
  double mSlowCoefficient = 0.0;
  double mEnvelope = 0.0;
  double mHalfPeak = 0.0;
  int mSampleRate = 0;
  bool mPeak = false;
};
