#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "tools/vst3host/PluginInstance.h"

namespace stratumhost {

// The audio side of `stratum-host edit`: the plug-in's blocks on a thread
// of their own at the pace of real time, so its meters move while the
// editor runs on the interface thread. The signal is a file read into
// memory beforehand and played in a loop, or a generated test signal.
class EditAudio {
 public:
  ~EditAudio() { Stop(); }

  // Reads the whole file (its channel count and rate become the track's).
  bool LoadFile(const std::string& path, std::string* error);
  int Channels() const { return mChannels; }
  double SampleRate() const { return mSampleRate; }

  // instance must be prepared for Channels() at SampleRate().
  void Start(vst3host::PluginInstance* instance);
  void Stop();
  long Blocks() const { return mBlocks; }

 private:
  void Run(vst3host::PluginInstance* instance);
  void FillBlock(std::vector<std::vector<double>>& block, int frames);

  int mChannels = 2;
  double mSampleRate = 48000.0;
  std::vector<std::vector<double>> mFile;  // planar; empty: generated signal
  long long mPosition = 0;
  std::thread mThread;
  std::atomic<bool> mStop{false};
  std::atomic<long> mBlocks{0};
};

}  // namespace stratumhost
