#pragma once

#include <cstdint>

#include "adapters/aax/support/AAX.h"

// The host's transport, reached through the render context's transport node.
// Positions in ticks count 960000 per quarter note.
class AAX_ITransport {
 public:
  static constexpr double kTicksPerQuarter = 960000.0;

  virtual ~AAX_ITransport() = default;
  virtual AAX_Result GetCurrentTempo(double* bpm) const = 0;
  virtual AAX_Result GetCurrentMeter(int32_t* numerator, int32_t* denominator) const = 0;
  virtual AAX_Result IsTransportPlaying(bool* playing) const = 0;
  virtual AAX_Result GetCurrentTickPosition(int64_t* ticks) const = 0;
  virtual AAX_Result GetCurrentLoopPosition(bool* looping, int64_t* loopStartTick,
                                            int64_t* loopEndTick) const = 0;
  virtual AAX_Result GetCurrentNativeSampleLocation(int64_t* sampleLocation) const = 0;
};
