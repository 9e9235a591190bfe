#pragma once

#include <cstdint>
#include <vector>

// Delays the inputs by the plug-in's latency while it is bypassed, so that a
// bypassed instance stays time-aligned with its processed signal.
class BypassDelayLine {
 public:
  BypassDelayLine(int numInputs, int numOutputs, int delaySamples);

  // Resizes the buffer to delaySamples per input channel, zeroes it and
  // rewinds the write position. Negative delays count as 0.
  void SetDelay(int delaySamples);
  int Delay() const { return mDelay; }

  // For each frame: every input channel that also has an output emits the
  // sample stored delay frames earlier and stores the new one. Outputs
  // beyond the input count are left untouched. Does nothing with a delay of 0.
  void Process(double* const* inputs, double* const* outputs, int frames);

 private:
  std::vector<double> mBuffer;  // mDelay samples per input channel, channel after channel
  uint32_t mWritePosition = 0;
  int mNumInputs = 0;
  int mNumOutputs = 0;
  int mDelay = 0;
};
