#include "effect/dsp/OutputMeter.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "effect/dsp/Decibels.h"

namespace {

// Largest sample taken with its sign, starting from 0: negative samples never
// raise it.
double SignedBlockPeak(const double* samples, int n) {
  double peak = 0.0;
  for (int i = 0; i < n; ++i) {
    if (samples[i] > peak) {
      peak = samples[i];
    }
  }
  return peak;
}

void ZeroNonFinite(double* samples, int n) {
  for (int i = 0; i < n; ++i) {
    if (!std::isfinite(samples[i])) {
      samples[i] = 0.0;
    }
  }
}

}  // namespace

void OutputMeter::SetSampleRate(int sampleRate) {
  mWindowL.SetSampleRate(sampleRate);
  mWindowR.SetSampleRate(sampleRate);
}

void OutputMeter::SetWindowMs(int ms) {
  mWindowL.Window(ms);
  mWindowR.Window(ms);
}

void OutputMeter::SetBlockSize(int sampleRate, int n) {
  mBlocksPerSecond = n > 0 ? sampleRate / n : 0;
  const double blocks = static_cast<double>(mBlocksPerSecond);
  const double release = std::pow(0.01, 1.0 / (blocks * 1000.0 * 0.001));
  for (LevelEnvelope& envelope : mEnvelopes) {
    envelope.SetCoefficients(0.0, release);
  }
}

void OutputMeter::Measure(double* left, double* right, int n) {
  mWindowL.Push(left, n);
  mWindowR.Push(right, n);
  const double rmsL = mWindowL.ComputeRms();
  const double rmsR = mWindowR.ComputeRms();
  if (mWindowL.LastPushHadFault() || mWindowR.LastPushHadFault()) {
    // Rare, so the scan costs nothing in ordinary blocks.
    ZeroNonFinite(left, n);
    ZeroNonFinite(right, n);
  }
  const double peakL = SignedBlockPeak(left, n);
  const double peakR = SignedBlockPeak(right, n);
  mEnvelopes[kPeakL].Update(std::fabs(peakL));
  mEnvelopes[kPeakR].Update(std::fabs(peakR));
  mEnvelopes[kRmsL].Update(std::fabs(rmsL));
  mEnvelopes[kRmsR].Update(std::fabs(rmsR));
}

void OutputMeter::AdvanceHoldPeriod() {
  if (mHoldCounter >= 3 * mBlocksPerSecond) {
    for (double& hold : mHoldDb) {
      hold = kFloorDb;
    }
    mHoldCounter = 0;
  }
  ++mHoldCounter;
}

void OutputMeter::ResetPeakHolds() {
  mHoldDb[kPeakL] = mMaximumDb[kPeakL] = kFloorDb;
  mHoldDb[kPeakR] = mMaximumDb[kPeakR] = kFloorDb;
}

void OutputMeter::ResetRmsHolds() {
  mHoldDb[kRmsL] = mMaximumDb[kRmsL] = kFloorDb;
  mHoldDb[kRmsR] = mMaximumDb[kRmsR] = kFloorDb;
}

double OutputMeter::MeterPosition(double db) {
  const double position = (db + kMeterRangeDb) / kMeterRangeDb;
  if (!(position > 0.0)) {
    return 0.0;  // also -inf (silence)
  }
  return position > 1.0 ? 1.0 : position;
}

void OutputMeter::FormatReadOut(double db, char* out, int outSize) {
  if (db < kReadOutFloorDb) {
    std::snprintf(out, static_cast<size_t>(outSize), "-inf");
  } else {
    // "%2.2f", written without the C library so that a host's decimal-comma
    // locale cannot change it.
    char text[400];
    const std::to_chars_result result =
        std::to_chars(text, text + sizeof(text), db, std::chars_format::fixed, 2);
    const size_t length = static_cast<size_t>(result.ptr - text);
    std::snprintf(out, static_cast<size_t>(outSize), "%.*s", static_cast<int>(length), text);
  }
}

void OutputMeter::UpdateHolds() {
  for (int level = 0; level < kLevelCount; ++level) {
    mLevelDb[level] = LinearToDb(std::fabs(mEnvelopes[level].Value()));
    if (mLevelDb[level] > mHoldDb[level]) {
      mHoldDb[level] = mLevelDb[level];
    }
  }
  // The peak maxima follow a greater hold, the RMS maxima a greater or equal one.
  for (int level : {kPeakL, kPeakR}) {
    if (mHoldDb[level] > mMaximumDb[level]) mMaximumDb[level] = mHoldDb[level];
  }
  for (int level : {kRmsL, kRmsR}) {
    if (mHoldDb[level] >= mMaximumDb[level]) mMaximumDb[level] = mHoldDb[level];
  }
}

void OutputMeter::UpdateDisplay(MeterDisplay& display) {
  UpdateHolds();
  FillDisplay(display);
}

void OutputMeter::FillDisplay(MeterDisplay& display) {
  const double* levelDb = mLevelDb;
  const double peakMax = std::fmax(mMaximumDb[kPeakL], mMaximumDb[kPeakR]);
  const double rmsMax = std::fmax(mMaximumDb[kRmsL], mMaximumDb[kRmsR]);
  display.peakTextChanged = !mTextsShown || peakMax != mShownPeakMax;
  display.rmsTextChanged = !mTextsShown || rmsMax != mShownRmsMax;
  if (display.peakTextChanged) {
    FormatReadOut(peakMax, display.peakText, sizeof(display.peakText));
    mShownPeakMax = peakMax;
  }
  if (display.rmsTextChanged) {
    FormatReadOut(rmsMax, display.rmsText, sizeof(display.rmsText));
    mShownRmsMax = rmsMax;
  }
  mTextsShown = true;

  for (int level = 0; level < kLevelCount; ++level) {
    display.meterValues[level] = MeterPosition(levelDb[level]);
    display.meterValues[kLevelCount + level] = MeterPosition(mHoldDb[level]);
  }
}
