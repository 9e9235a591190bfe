#pragma once

#include "effect/dsp/RMSBuffer.h"

// Measures one channel for auto gain: remembers the loudest level (peak or
// RMS) since the last restart and glides a gain towards the one that brings
// that level onto the reference.
class AutoGainMeter {
 public:
  static constexpr double kDefaultGateDb = -60.0;
  static constexpr double kRestartLevelDb = -60.0;
  static constexpr double kClearedLevelDb = -100.0;
  static constexpr double kMaxGainDb = 30.0;

  // Rise (1 s) and fall (10 ms) coefficients and the window's rate; nothing
  // when the rate is unchanged. The window length is not changed here.
  void SetSampleRate(int sampleRate);
  // Window of the last ms milliseconds, cleared.
  void SetWindowMs(int ms) { mWindow.Window(ms); }

  void SetReferenceDb(double db) { mReferenceDb = db; }
  // 0 = peak, 1 = RMS.
  void SetMode(double mode) { mMode = mode; }
  void SetLevelMemoryDb(double db) { mLevelMemoryDb = db; }
  void SetGateDb(double db) { mGateDb = db; }

  // Restart: level memory -100 dB, target gain 1, smoothed gain 0.
  void Clear();

  // Measures n samples and answers the smoothed gain (a linear factor).
  double Measure(const double* samples, int n);

  // left.Measure and right.Measure with the same results; the two per-sample
  // gain glides run in one loop.
  static void MeasurePair(AutoGainMeter& left, const double* leftSamples, AutoGainMeter& right,
                          const double* rightSamples, int n, double* leftGain,
                          double* rightGain);

  // The gain in dB that auto gain aims at for a remembered level: reference
  // minus level, at most kMaxGainDb. Falls as the level rises.
  static double GainForLevelDb(double levelDb, double referenceDb);

  double ReferenceDb() const { return mReferenceDb; }
  double Mode() const { return mMode; }
  double TargetGain() const { return mTargetGain; }
  double LevelMemoryDb() const { return mLevelMemoryDb; }
  double GateDb() const { return mGateDb; }
  double LastRms() const { return mLastRms; }
  double SmoothedGain() const { return mSmoothedGain; }
  double RiseCoefficient() const { return mRiseCoefficient; }
  double FallCoefficient() const { return mFallCoefficient; }
  int SampleRate() const { return mSampleRate; }
  RMSBuffer& Window() { return mWindow; }
  const RMSBuffer& Window() const { return mWindow; }

 private:
  // Window, RMS, block peak and level memory (everything but the glide).
  void MeasureLevel(const double* samples, int n);
  // One sample of the gain glide.
  double GlideStep(double smoothed) const {
    const double c = mTargetGain > smoothed ? mRiseCoefficient : mFallCoefficient;
    return c * smoothed + (1.0 - c) * mTargetGain;
  }

  double mReferenceDb = 0.0;
  double mMode = 0.0;
  double mTargetGain = 0.0;
  double mLevelMemoryDb = kRestartLevelDb;
  double mGateDb = kDefaultGateDb;
  double mLastRms = 0.0;
  int mSampleRate = 0;
  double mSmoothedGain = 0.0;
  double mRiseCoefficient = 0.0;
  double mFallCoefficient = 0.0;
  RMSBuffer mWindow;
};
