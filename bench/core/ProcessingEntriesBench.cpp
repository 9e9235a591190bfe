// What the base adds per block around the effect's processing: attaching
// host buffers and converting float hosts' samples. The plug-in's own
// processing is the base's pass-through, so the figures are the framework's.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "testsupport/IFxRecordingAdapter.h"

namespace {

constexpr int kChannels = 2;

struct StereoHost {
  explicit StereoHost(int frames, int latency = 0)
      : plugin(0, "1-1 2-2", 0, "Bench", "", "M", 0, 0, 0, latency, false, false, false, 0),
        floatIn(kChannels, std::vector<float>(frames, 0.25f)),
        floatOut(kChannels, std::vector<float>(frames)),
        doubleIn(kChannels, std::vector<double>(frames, 0.25)),
        doubleOut(kChannels, std::vector<double>(frames)) {
    plugin.ChangeBlockSize(frames);
    plugin.ConnectInputs(0, kChannels, true);
    plugin.ConnectOutputs(0, kChannels, true);
    if (latency > 0) plugin.CreateBypassDelayLine();
    for (int c = 0; c < kChannels; ++c) {
      floatInPtrs[c] = floatIn[c].data();
      floatOutPtrs[c] = floatOut[c].data();
      doubleInPtrs[c] = doubleIn[c].data();
      doubleOutPtrs[c] = doubleOut[c].data();
    }
  }

  IFxRecordingAdapter plugin;
  std::vector<std::vector<float>> floatIn, floatOut;
  std::vector<std::vector<double>> doubleIn, doubleOut;
  const float* floatInPtrs[kChannels];
  float* floatOutPtrs[kChannels];
  double* doubleInPtrs[kChannels];
  double* doubleOutPtrs[kChannels];
};

void BM_FloatBlock(benchmark::State& state) {
  const int frames = static_cast<int>(state.range(0));
  StereoHost host(frames);
  for (auto _ : state) {
    host.plugin.AttachInputs(0, kChannels, host.floatInPtrs, frames);
    host.plugin.AttachOutputs(0, kChannels, host.floatOutPtrs);
    host.plugin.RunProcessingFloat(frames);
    benchmark::DoNotOptimize(host.floatOut[1][frames - 1]);
  }
  state.SetBytesProcessed(state.iterations() * frames * kChannels * sizeof(float));
}
BENCHMARK(BM_FloatBlock)->Arg(64)->Arg(512)->Arg(4096);

void BM_DoubleBlock(benchmark::State& state) {
  const int frames = static_cast<int>(state.range(0));
  StereoHost host(frames);
  for (auto _ : state) {
    host.plugin.AttachInputs(0, kChannels, host.doubleInPtrs);
    host.plugin.AttachOutputs(0, kChannels, host.doubleOutPtrs);
    host.plugin.RunProcessingDouble(frames);
    benchmark::DoNotOptimize(host.doubleOut[1][frames - 1]);
  }
  state.SetBytesProcessed(state.iterations() * frames * kChannels * sizeof(double));
}
BENCHMARK(BM_DoubleBlock)->Arg(64)->Arg(512)->Arg(4096);

void BM_BypassDelayLineBlock(benchmark::State& state) {
  const int frames = static_cast<int>(state.range(0));
  StereoHost host(frames, 64);
  for (auto _ : state) {
    host.plugin.AttachInputs(0, kChannels, host.doubleInPtrs);
    host.plugin.AttachOutputs(0, kChannels, host.doubleOutPtrs);
    host.plugin.RunBypassDouble(frames);
    benchmark::DoNotOptimize(host.doubleOut[1][frames - 1]);
  }
  state.SetBytesProcessed(state.iterations() * frames * kChannels * sizeof(double));
}
BENCHMARK(BM_BypassDelayLineBlock)->Arg(512);

// The floor: copying the same double samples, once per channel.
void BM_MemcpyDoubleBlock(benchmark::State& state) {
  const int frames = static_cast<int>(state.range(0));
  StereoHost host(frames);
  for (auto _ : state) {
    for (int c = 0; c < kChannels; ++c) {
      memcpy(host.doubleOutPtrs[c], host.doubleInPtrs[c], frames * sizeof(double));
    }
    benchmark::DoNotOptimize(host.doubleOut[1][frames - 1]);
  }
  state.SetBytesProcessed(state.iterations() * frames * kChannels * sizeof(double));
}
BENCHMARK(BM_MemcpyDoubleBlock)->Arg(64)->Arg(512)->Arg(4096);

}  // namespace
