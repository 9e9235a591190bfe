#include "effect/dsp/MonoWidener.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

MonoWidener::MonoWidener() : mBuffer(static_cast<size_t>(kBufferSeconds) * 44100, 0.0) {
  mLowPass.Design(kLowPassHz, mSampleRate);
}

void MonoWidener::SetSampleRate(int sampleRate) {
  mSampleRate = sampleRate > 0 ? sampleRate : 0;
  const size_t size = static_cast<size_t>(kBufferSeconds) * static_cast<size_t>(mSampleRate);
  if (size == mBuffer.size()) {
    // Same rate: silence the buffer in place (a reset inside a block must not allocate).
    std::fill(mBuffer.begin(), mBuffer.end(), 0.0);
  } else {
    std::vector<double>(size, 0.0).swap(mBuffer);
  }
  mWritePosition = 0;
  UpdateDelayLength();
  mLowPass.Design(kLowPassHz, mSampleRate);
}

void MonoWidener::SetDelayMs(int ms) {
  mDelayMs = ms < 0 ? 0 : (ms > kMaxDelayMs ? kMaxDelayMs : ms);
  UpdateDelayLength();
}

void MonoWidener::UpdateDelayLength() {
  // Integer product first (64-bit, so high rates cannot overflow), then the
  // division in double precision, truncated.
  const int64_t product = static_cast<int64_t>(mSampleRate) * mDelayMs;
  mDelayLength = static_cast<int>(static_cast<double>(product) / 1000.0);
}

void MonoWidener::Process(double* samples, int n) {
  if (mBuffer.empty()) {
    return;
  }
  double* buffer = mBuffer.data();
  ButterLowPass lowPass = mLowPass;  // a local copy keeps its state in registers
  int position = mWritePosition;
  for (int i = 0; i < n; ++i) {
    const double delayed = buffer[position];
    buffer[position] = lowPass.Process(samples[i]);
    samples[i] = delayed;
    ++position;
    if (position >= mDelayLength) {
      position = 0;
    }
  }
  if (!lowPass.StateIsFinite()) {
    // A non-finite sample went in: everything the filter wrote since is
    // unusable, and would come out again one delay later. Silence the part
    // of the buffer this block wrote (the first position, then the delay's
    // span) and start the filter from rest.
    const size_t written = static_cast<size_t>(std::max(mWritePosition + 1, mDelayLength));
    std::fill(mBuffer.begin(), mBuffer.begin() + std::min(written, mBuffer.size()), 0.0);
    lowPass.Clear();
  }
  mLowPass = lowPass;
  mWritePosition = position;
}
