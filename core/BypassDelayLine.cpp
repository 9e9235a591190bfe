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
  if (mDelay <= 0) return;
  const int channels = std::min(mNumInputs, mNumOutputs);
  for (int s = 0; s < frames; ++s) {
    for (int c = 0; c < channels; ++c) {
      double& stored = mBuffer[static_cast<size_t>(c) * mDelay + mWritePosition];
      // Read the input first: the host may process in place.
      const double in = inputs[c][s];
      outputs[c][s] = stored;
      stored = in;
    }
    mWritePosition = (mWritePosition + 1) % static_cast<uint32_t>(mDelay);
  }
}
