#pragma once

#include "effect/dsp/LevelEnvelope.h"
#include "effect/dsp/RMSBuffer.h"

// What the editor shows of the output levels after a block.
struct MeterDisplay {
  // Control values (0..1) of the peak L, peak R, RMS L and RMS R meters,
  // then of the peak L, peak R, RMS L and RMS R hold markers.
  double meterValues[8];
  char peakText[16];  // highest peak since the last click on its read-out
  char rmsText[16];   // highest RMS since the last click on its read-out
  // Whether each text differs from the one the previous display carried
  // (formatting is skipped while the maximum stands still).
  bool peakTextChanged;
  bool rmsTextChanged;
};

// Metering of the effect's stereo output: per channel a peak and an RMS level
// envelope advanced once per block, hold levels that restart about every
// three seconds, and the maxima the two read-outs show.
class OutputMeter {
 public:
  static constexpr double kFloorDb = -100.0;
  // Read-outs show "-inf" below this level.
  static constexpr double kReadOutFloorDb = -90.0;
  // The meters span -24 dB (empty) to 0 dB (full).
  static constexpr double kMeterRangeDb = 24.0;

  enum Level { kPeakL = 0, kPeakR = 1, kRmsL = 2, kRmsR = 3, kLevelCount = 4 };

  // RMS windows take the rate, their RMS value becomes 0. Allocates.
  void SetSampleRate(int sampleRate);
  // Both RMS windows become ms long (cleared).
  void SetWindowMs(int ms);
  // Per-block coefficients for blocks of n frames: immediate attack, a
  // release that falls 40 dB in one second; the hold period is 3 s of blocks.
  void SetBlockSize(int sampleRate, int n);

  // Block peaks, RMS windows and level envelopes of the final output. It also
  // guards the output: samples that are not finite become 0 before they are
  // measured, so neither the meters nor the host see them. Finding them is
  // free, the RMS windows' sums show them.
  void Measure(double* left, double* right, int n);

  // Restarts the four holds when the hold period is over; counts the block.
  void AdvanceHoldPeriod();
  // A click on a read-out: its holds and maxima restart.
  void ResetPeakHolds();
  void ResetRmsHolds();

  // Updates holds and maxima from the envelopes and fills the display. The
  // texts are formatted only when their maximum changed since the last call;
  // otherwise the display keeps the texts it holds.
  void UpdateDisplay(MeterDisplay& display);
  // The two halves of UpdateDisplay: holds and maxima follow the envelopes
  // every block; the display is filled only while someone looks at it, from
  // the levels of the last UpdateHolds.
  void UpdateHolds();
  void FillDisplay(MeterDisplay& display);

  // A level in dB as a meter control value.
  static double MeterPosition(double db);
  // "%2.2f" of the level, or "-inf" below the read-out floor.
  static void FormatReadOut(double db, char* out, int outSize);

  double Envelope(Level level) const { return mEnvelopes[level].Value(); }
  const LevelEnvelope& EnvelopeOf(Level level) const { return mEnvelopes[level]; }
  double HoldDb(Level level) const { return mHoldDb[level]; }
  double MaximumDb(Level level) const { return mMaximumDb[level]; }
  int HoldCounter() const { return mHoldCounter; }
  int BlocksPerSecond() const { return mBlocksPerSecond; }
  RMSBuffer& Window(int channel) { return channel == 0 ? mWindowL : mWindowR; }
  const RMSBuffer& Window(int channel) const { return channel == 0 ? mWindowL : mWindowR; }

 private:
  RMSBuffer mWindowL;
  RMSBuffer mWindowR;
  LevelEnvelope mEnvelopes[kLevelCount];
  double mHoldDb[kLevelCount] = {kFloorDb, kFloorDb, kFloorDb, kFloorDb};
  double mMaximumDb[kLevelCount] = {kFloorDb, kFloorDb, kFloorDb, kFloorDb};
  int mHoldCounter = 0;
  // The envelopes in dB at the last UpdateHolds.
  double mLevelDb[kLevelCount] = {kFloorDb, kFloorDb, kFloorDb, kFloorDb};
  int mBlocksPerSecond = 0;
  // The maxima the display's texts were last formatted from (none yet).
  bool mTextsShown = false;
  double mShownPeakMax = 0.0;
  double mShownRmsMax = 0.0;
};
