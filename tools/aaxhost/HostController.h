#pragma once

#include <string>
#include <vector>

#include "adapters/aax/support/AAX_IController.h"

namespace aaxhost {

// The host's controller of one instance: the rate and stem formats it
// offers, and a record of what the plug-in reported.
class HostController : public AAX_IController {
 public:
  double sampleRate = 48000.0;
  AAX_EStemFormat inputStem = AAX_eStemFormat_Stereo;
  AAX_EStemFormat outputStem = AAX_eStemFormat_Stereo;
  int32_t latency = 0;
  // "touch <id>", "set <id>", "release <id>" in order.
  std::vector<std::string> requests;
  // The last value each "set" reported, by request position.
  std::vector<double> setValues;

  AAX_Result GetSampleRate(double* rate) const override {
    *rate = sampleRate;
    return AAX_SUCCESS;
  }
  AAX_Result GetInputStemFormat(AAX_EStemFormat* format) const override {
    *format = inputStem;
    return AAX_SUCCESS;
  }
  AAX_Result GetOutputStemFormat(AAX_EStemFormat* format) const override {
    *format = outputStem;
    return AAX_SUCCESS;
  }
  AAX_Result SetSignalLatency(int32_t samples) override {
    latency = samples;
    return AAX_SUCCESS;
  }
  AAX_Result PostTouchRequest(const char* id) override { return Record("touch ", id, 0.0); }
  AAX_Result PostSetValueRequest(const char* id, double value) override {
    return Record("set ", id, value);
  }
  AAX_Result PostReleaseRequest(const char* id) override { return Record("release ", id, 0.0); }

 private:
  AAX_Result Record(const char* what, const char* id, double value) {
    requests.push_back(std::string(what) + (id != nullptr ? id : "(null)"));
    setValues.push_back(value);
    return AAX_SUCCESS;
  }
};

}  // namespace aaxhost
