#include "effect/dsp/RMSBuffer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

void RMSBuffer::SetSampleRate(int sampleRate) {
  mSampleRate = sampleRate > 0 ? sampleRate : 0;
  mRmsValue = 0.0;
  const int64_t maxItems = static_cast<int64_t>(mSampleRate) * kMaxWindowMs / 1000;
  Reserve(static_cast<int>(maxItems));
  const size_t maxChunks = static_cast<size_t>((maxItems + kChunk - 1) / kChunk);
  mChunkSums.reserve(maxChunks);
  mOldSuffix.reserve(maxChunks + 1);
}

void RMSBuffer::Window(int ms) {
  const int64_t product = static_cast<int64_t>(mSampleRate) * (ms > 0 ? ms : 0);
  Resize(static_cast<int>(static_cast<double>(product) / 1000.0));
  mRmsValue = 0.0;
}

void RMSBuffer::Resized() {
  const size_t chunks = static_cast<size_t>(ChunkCount());
  mChunkSums.assign(chunks, 0.0);
  mOldSuffix.assign(chunks + 1, 0.0);
  mCompletedSum = 0.0;
  mPushedSum = 0.0;
}

double RMSBuffer::ChunkSumOfSquares(int chunk) const {
  const double* items = Items();
  const int begin = chunk * kChunk;
  const int end = std::min(begin + kChunk, Length());
  // Four independent partial sums let the additions overlap.
  double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
  int i = begin;
  for (; i + 4 <= end; i += 4) {
    s0 += items[i] * items[i];
    s1 += items[i + 1] * items[i + 1];
    s2 += items[i + 2] * items[i + 2];
    s3 += items[i + 3] * items[i + 3];
  }
  for (; i < end; ++i) {
    s0 += items[i] * items[i];
  }
  return (s0 + s1) + (s2 + s3);
}

void RMSBuffer::ItemsWritten(int begin, int end) {
  // Every chunk whose last item lies in [begin, end) is now complete.
  const int length = Length();
  for (int chunk = begin / kChunk; chunk < ChunkCount(); ++chunk) {
    const int chunkEnd = std::min((chunk + 1) * kChunk, length);
    if (chunkEnd > end) {
      break;
    }
    const double sum = ChunkSumOfSquares(chunk);
    mChunkSums[static_cast<size_t>(chunk)] = sum;
    mCompletedSum += sum;
    mPushedSum += sum;
  }
}

void RMSBuffer::WrapNotification() {
  // The window just completed becomes the old one.
  double suffix = 0.0;
  for (int chunk = ChunkCount() - 1; chunk >= 0; --chunk) {
    suffix += mChunkSums[static_cast<size_t>(chunk)];
    mOldSuffix[static_cast<size_t>(chunk)] = suffix;
  }
  mCompletedSum = 0.0;
}

double RMSBuffer::RunningSumOfSquares() const {
  // Chunks before the current one hold new items, chunks after it old ones;
  // the current chunk is summed from the ring as it stands, unless the write
  // position sits on its start (blocks of whole chunks): then it is all old.
  const int position = WritePosition();
  const int current = position / kChunk;
  if (position % kChunk == 0) {
    return mCompletedSum + mOldSuffix[static_cast<size_t>(current)];
  }
  return mCompletedSum + ChunkSumOfSquares(current) +
         mOldSuffix[static_cast<size_t>(current) + 1];
}

double RMSBuffer::ComputeRms() {
  const int length = Length();
  if (length <= 0) {
    mLastPushHadFault = false;
    mRmsValue = 0.0;
    return mRmsValue;
  }
  double sum = RunningSumOfSquares();
  // A fault anywhere in the ring or among the pushed samples (also those a
  // long block wrote over again) makes one of the two sums non-finite.
  mLastPushHadFault = !std::isfinite(sum + mPushedSum);
  mPushedSum = 0.0;
  if (mLastPushHadFault) {
    RepairFaults();
    sum = RunningSumOfSquares();
  }
  mRmsValue = std::sqrt(sum / length);
  return mRmsValue;
}

void RMSBuffer::RepairFaults() {
  double* items = MutableItems();
  const int length = Length();
  for (int i = 0; i < length; ++i) {
    if (!(std::fabs(items[i]) <= kMaxItemMagnitude)) {
      items[i] = 0.0;
    }
  }
  const int position = WritePosition();
  mCompletedSum = 0.0;
  for (int chunk = 0; chunk < ChunkCount(); ++chunk) {
    const double sum = ChunkSumOfSquares(chunk);
    mChunkSums[static_cast<size_t>(chunk)] = sum;
    if (std::min((chunk + 1) * kChunk, length) <= position) {
      mCompletedSum += sum;
    }
  }
  double suffix = 0.0;
  for (int chunk = ChunkCount() - 1; chunk >= 0; --chunk) {
    suffix += mChunkSums[static_cast<size_t>(chunk)];
    mOldSuffix[static_cast<size_t>(chunk)] = suffix;
  }
}

double RMSBuffer::DirectSumOfSquares() const {
  const double* items = Items();
  double sum = 0.0;
  for (int i = 0; i < Length(); ++i) {
    sum += items[i] * items[i];
  }
  return sum;
}
