#pragma once

#include "adapters/aax/support/AAX_ITransport.h"

namespace aaxhost {

// A transport the host fakes: every answer is a field the test sets.
class HostTransport : public AAX_ITransport {
 public:
  double tempo = 120.0;
  int32_t numerator = 4;
  int32_t denominator = 4;
  bool playing = false;
  int64_t ticks = 0;
  bool looping = false;
  int64_t loopStartTicks = 0;
  int64_t loopEndTicks = 0;
  int64_t sampleLocation = 0;

  AAX_Result GetCurrentTempo(double* bpm) const override {
    *bpm = tempo;
    return AAX_SUCCESS;
  }
  AAX_Result GetCurrentMeter(int32_t* top, int32_t* bottom) const override {
    *top = numerator;
    *bottom = denominator;
    return AAX_SUCCESS;
  }
  AAX_Result IsTransportPlaying(bool* isPlaying) const override {
    *isPlaying = playing;
    return AAX_SUCCESS;
  }
  AAX_Result GetCurrentTickPosition(int64_t* position) const override {
    *position = ticks;
    return AAX_SUCCESS;
  }
  AAX_Result GetCurrentLoopPosition(bool* isLooping, int64_t* start, int64_t* end) const override {
    *isLooping = looping;
    *start = loopStartTicks;
    *end = loopEndTicks;
    return AAX_SUCCESS;
  }
  AAX_Result GetCurrentNativeSampleLocation(int64_t* location) const override {
    *location = sampleLocation;
    return AAX_SUCCESS;
  }
};

}  // namespace aaxhost
