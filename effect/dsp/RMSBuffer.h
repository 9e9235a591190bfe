#pragma once

#include <vector>

#include "effect/dsp/CircularBuffer.h"

// The last few hundred milliseconds of a signal and their RMS, always over
// the whole ring (a freshly resized ring counts its zeros).
//
// Summing the whole window every block would cost up to a second of samples
// per block. Instead the ring is cut into chunks of kChunk items: the sums
// of chunks written since the last wrap, and suffix sums of the chunks of the
// window before, are kept, so one RMS costs a chunk plus a few additions.
// Every partial sum only ever adds squares, so there is no cancellation and
// the result stays within a few ulps times the number of terms of the
// straight sum, also right after loud material has left the window.
class RMSBuffer : public CircularBuffer {
 public:
  static constexpr int kChunk = 64;
  // Longest window the parameter allows; room for it is reserved with the rate.
  static constexpr int kMaxWindowMs = 1000;

  // Stores the rate, reserves room for the longest window and sets the
  // RMS value to 0. Allocates: call outside audio blocks.
  void SetSampleRate(int sampleRate);
  int SampleRate() const { return mSampleRate; }

  // Resize to trunc(sample rate × ms / 1000.0) items, the product formed in
  // integers; RMS value 0.
  void Window(int ms);

  // Larger items are taken as faults (their squares could overflow the sums).
  static constexpr double kMaxItemMagnitude = 1e100;

  // Computes the RMS over the whole ring and stores it as the RMS value.
  // Repairs the ring first when a fault reached it (see above).
  double ComputeRms();

  // Whether the samples pushed before the last ComputeRms included a fault:
  // one not finite, or one whose square would not fit the sums.
  bool LastPushHadFault() const { return mLastPushHadFault; }

  double RmsValue() const { return mRmsValue; }
  void SetRmsValue(double value) { mRmsValue = value; }

  // The sum of the squares of all items, summed straight through the ring.
  // O(length): for checks, not for the audio path.
  double DirectSumOfSquares() const;

 protected:
  void WrapNotification() override;
  void ItemsWritten(int begin, int end) override;
  void Resized() override;

 private:
  double ChunkSumOfSquares(int chunk) const;
  // Sum of the squares over the ring as the running sums keep it.
  double RunningSumOfSquares() const;
  // Faulty items become 0; every chunk and suffix sum is summed anew.
  void RepairFaults();
  int ChunkCount() const { return (Length() + kChunk - 1) / kChunk; }

  int mSampleRate = 0;
  double mRmsValue = 0.0;
  // Sums of the squares of each chunk written since the last wrap.
  std::vector<double> mChunkSums;
  // mOldSuffix[k]: sum over chunks k.. of the window before the last wrap.
  std::vector<double> mOldSuffix;
  // Sum of the chunks completed since the last wrap.
  double mCompletedSum = 0.0;
  // Sum of the chunks completed since the last ComputeRms: every pushed
  // sample is in it or in the current chunk's partial sum.
  double mPushedSum = 0.0;
  bool mLastPushHadFault = false;
};
