// The whole chain, stereo at 48 kHz: every stage on (DC block, auto gain in
// RMS mode, width 150 %, limiter) or every stage off, per block size and RMS
// window. "xRealTime" is how many seconds of audio one second of one core
// processes.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/IFxParam.h"
#include "effect/VelmarStratum.h"
#include "testsupport/PrivateSegmentNamespace.h"

namespace {

constexpr double kRate = 48000.0;

void Set(VelmarStratum& fx, int paramIdx, double value) {
  fx.GetParam(paramIdx)->SetValueClamped(value);
  fx.ParamChanged(paramIdx, SourceHost);
}

// args: block size, every stage on (1) or off (0), RMS window in ms.
void BM_Chain(benchmark::State& state) {
  testsupport::UsePrivateSegmentNamespace();
  const int frames = static_cast<int>(state.range(0));
  const bool allOn = state.range(1) != 0;
  auto fx = std::make_unique<VelmarStratum>();
  fx->NotifyAllParams(SourceReset);
  fx->ChangeSampleRate(kRate);
  fx->ChangeBlockSize(frames);
  fx->ConnectInputs(0, 2, true);
  fx->ConnectOutputs(0, 2, true);
  fx->ResetProcessing();
  Set(*fx, kRmsWindowSize, static_cast<double>(state.range(2)));
  if (allOn) {
    Set(*fx, kDcBlock, 1);
    Set(*fx, kAutoGainMode, 1);
    Set(*fx, kAutoGainOnOff, 1);
    Set(*fx, kStereoWidth, 150);
    Set(*fx, kLimit, 1);
  }

  // Ten seconds of differing noise on both channels, cycled.
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> noise(-0.5, 0.5);
  const size_t total = static_cast<size_t>(kRate) * 10;
  std::vector<double> sourceL(total), sourceR(total);
  for (size_t i = 0; i < total; ++i) {
    sourceL[i] = noise(rng);
    sourceR[i] = noise(rng);
  }
  // The effect never writes its inputs, so they point straight into the noise.
  std::vector<double> outL(frames), outR(frames);
  double* outputs[2] = {outL.data(), outR.data()};
  size_t position = 0;
  for (auto _ : state) {
    if (position + frames > total) position = 0;
    double* inputs[2] = {sourceL.data() + position, sourceR.data() + position};
    position += frames;
    fx->ProcessAudio(inputs, outputs, frames);
    benchmark::DoNotOptimize(outL.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * frames);
  state.counters["xRealTime"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * frames / kRate,
                         benchmark::Counter::kIsRate);
}

BENCHMARK(BM_Chain)
    ->ArgNames({"frames", "allOn", "rmsMs"})
    ->ArgsProduct({{32, 64, 512}, {0, 1}, {100, 1000}});

// The machine's memory copy speed, for comparing figures between machines.
void BM_Memcpy(benchmark::State& state) {
  const size_t bytes = static_cast<size_t>(state.range(0));
  std::vector<char> from(bytes, 1), to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}
BENCHMARK(BM_Memcpy)->Arg(64 * 8)->Arg(1 << 20);

}  // namespace
