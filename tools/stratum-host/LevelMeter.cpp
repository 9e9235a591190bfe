#include "tools/stratum-host/LevelMeter.h"

#include <cmath>
#include <cstdio>

namespace stratumhost {

void LevelMeter::Add(int channel, const double* samples, int frames) {
  double peak = mPeak[channel];
  double sum = mSumOfSquares[channel];
  for (int i = 0; i < frames; ++i) {
    const double magnitude = std::fabs(samples[i]);
    // NaN compares false, so keep it visible rather than losing it.
    if (magnitude > peak || std::isnan(magnitude)) peak = magnitude;
    sum += samples[i] * samples[i];
  }
  mPeak[channel] = peak;
  mSumOfSquares[channel] = sum;
}

double LevelMeter::Rms(int channel) const {
  return mFrames > 0 ? std::sqrt(mSumOfSquares[channel] / static_cast<double>(mFrames)) : 0.0;
}

std::string DescribeLevel(double linear) {
  char text[64];
  if (linear > 0.0) {
    std::snprintf(text, sizeof text, "%.2f dBFS (%.6g)", 20.0 * std::log10(linear), linear);
  } else {
    std::snprintf(text, sizeof text, "-inf dBFS (%.6g)", linear);
  }
  return text;
}

}  // namespace stratumhost
