#pragma once

#include <string>
#include <vector>

namespace stratumhost {

// Peak and RMS of each channel over everything added.
class LevelMeter {
 public:
  explicit LevelMeter(int channels) : mPeak(channels, 0.0), mSumOfSquares(channels, 0.0) {}
  void Add(int channel, const double* samples, int frames);
  void CountFrames(int frames) { mFrames += frames; }
  double Peak(int channel) const { return mPeak[channel]; }
  double Rms(int channel) const;
  int Channels() const { return static_cast<int>(mPeak.size()); }

 private:
  std::vector<double> mPeak;
  std::vector<double> mSumOfSquares;
  long long mFrames = 0;
};

// "-6.02 dBFS (0.5)"; silence reads "-inf dBFS (0)".
std::string DescribeLevel(double linear);

}  // namespace stratumhost
