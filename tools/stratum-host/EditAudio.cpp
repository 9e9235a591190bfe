#include "tools/stratum-host/EditAudio.h"

#include <chrono>
#include <cmath>

#include "tools/stratum-host/AudioFile.h"

namespace stratumhost {

namespace {
constexpr int kBlock = 256;
constexpr double kPi = 3.14159265358979323846;
}  // namespace

bool EditAudio::LoadFile(const std::string& path, std::string* error) {
  AudioFileReader reader;
  if (!reader.Open(path, error)) return false;
  if (reader.Channels() < 1 || reader.Channels() > 2) {
    *error = path + ": only mono and stereo files can be played";
    return false;
  }
  mChannels = reader.Channels();
  mSampleRate = reader.SampleRate();
  mFile.assign(static_cast<size_t>(mChannels), std::vector<double>());
  std::vector<double> interleaved(static_cast<size_t>(kBlock) * mChannels);
  int64_t frames = 0;
  while ((frames = reader.Read(interleaved.data(), kBlock)) > 0) {
    for (int64_t i = 0; i < frames; ++i)
      for (int c = 0; c < mChannels; ++c)
        mFile[static_cast<size_t>(c)].push_back(interleaved[static_cast<size_t>(i * mChannels + c)]);
  }
  if (mFile[0].empty()) {
    *error = path + ": the file holds no audio";
    return false;
  }
  return true;
}

void EditAudio::Start(vst3host::PluginInstance* instance) {
  mStop = false;
  mThread = std::thread([this, instance] { Run(instance); });
}

void EditAudio::Stop() {
  mStop = true;
  if (mThread.joinable()) mThread.join();
}

void EditAudio::FillBlock(std::vector<std::vector<double>>& block, int frames) {
  for (int i = 0; i < frames; ++i, ++mPosition) {
    if (!mFile.empty()) {
      const size_t at = static_cast<size_t>(mPosition % static_cast<long long>(mFile[0].size()));
      for (int c = 0; c < mChannels; ++c) block[static_cast<size_t>(c)][static_cast<size_t>(i)] = mFile[static_cast<size_t>(c)][at];
      continue;
    }
    // 997 Hz, its level swelling between -30 and -3 dBFS every four
    // seconds, the right side a little lower: the meters have to move.
    const double t = static_cast<double>(mPosition) / mSampleRate;
    const double db = -16.5 + 13.5 * std::sin(2.0 * kPi * t / 4.0);
    const double sample = std::pow(10.0, db / 20.0) * std::sin(2.0 * kPi * 997.0 * t);
    block[0][static_cast<size_t>(i)] = sample;
    if (mChannels > 1) block[1][static_cast<size_t>(i)] = 0.7 * sample;
  }
}

void EditAudio::Run(vst3host::PluginInstance* instance) {
  std::vector<std::vector<double>> in(static_cast<size_t>(mChannels), std::vector<double>(kBlock));
  std::vector<std::vector<double>> out(static_cast<size_t>(instance->OutputChannels()),
                                       std::vector<double>(kBlock));
  std::vector<const double*> inPointers;
  std::vector<double*> outPointers;
  for (auto& channel : in) inPointers.push_back(channel.data());
  for (auto& channel : out) outPointers.push_back(channel.data());
  vst3host::TransportSettings transport;
  transport.playing = true;
  const auto blockTime = std::chrono::duration<double>(kBlock / mSampleRate);
  auto due = std::chrono::steady_clock::now();
  while (!mStop) {
    FillBlock(in, kBlock);
    instance->Process(inPointers.data(), outPointers.data(), kBlock, transport);
    ++mBlocks;
    due += std::chrono::duration_cast<std::chrono::steady_clock::duration>(blockTime);
    std::this_thread::sleep_until(due);
  }
}

}  // namespace stratumhost
