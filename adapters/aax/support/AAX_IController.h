#pragma once

#include <cstdint>

#include "adapters/aax/support/AAX.h"

// The host's side of one effect instance (host object).
class AAX_IController {
 public:
  virtual ~AAX_IController() = default;
  virtual AAX_Result GetSampleRate(double* sampleRate) const = 0;
  virtual AAX_Result GetInputStemFormat(AAX_EStemFormat* format) const = 0;
  virtual AAX_Result GetOutputStemFormat(AAX_EStemFormat* format) const = 0;
  virtual AAX_Result SetSignalLatency(int32_t samples) = 0;
  // Parameter gestures and values the plug-in reports: a touch, a new
  // normalised value, a release.
  virtual AAX_Result PostTouchRequest(const char* parameterID) = 0;
  virtual AAX_Result PostSetValueRequest(const char* parameterID, double normalized) = 0;
  virtual AAX_Result PostReleaseRequest(const char* parameterID) = 0;
};
