#include "core/BypassDelayLine.h"

#include <algorithm>

BypassDelayLine::BypassDelayLine(int numInputs, int numOutputs, int delaySamples)
    : mNumInputs(std::max(numInputs, 0)), mNumOutputs(std::max(numOutputs, 0)) {
  SetDelay(delaySamples);
}

void BypassDelayLine::SetDelay(int delaySamples) {
  mDelay = std::max(delaySamples, 0);
  mBuffer.assign(static_cast<size_t>(mDelay) * static_cast<size_t>(mNumInputs), 0.0);
  mWritePosition = 0;
}

void BypassDelayLine::Process(double* const* inputs, double* const* outputs, int frames) {
  if (mDelay <= 0 || frames <= 0) return;
  const int channels = std::min(mNumInputs, mNumOutputs);
  const uint32_t delay = static_cast<uint32_t>(mDelay);
  // Channels are independent, so each runs through the whole block in turn;
  // the result is the same as stepping every channel frame by frame.
  for (int c = 0; c < channels; ++c) {
    double* line = mBuffer.data() + static_cast<size_t>(c) * delay;
    const double* in = inputs[c];
    double* out = outputs[c];
    uint32_t position = mWritePosition;
    for (int s = 0; s < frames; ++s) {
      // Read the input first: the host may process in place.
      const double sample = in[s];
      out[s] = line[position];
      line[position] = sample;
      if (++position == delay) position = 0;
    }
  }
  mWritePosition = static_cast<uint32_t>((mWritePosition + static_cast<uint64_t>(frames)) % delay);
}
