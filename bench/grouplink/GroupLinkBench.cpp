// What the group link costs an instance: ApplyShared runs at the start of
// every audio block, PublishShared after every parameter change.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <string>

#include "testsupport/LinkedInstance.h"

namespace {

std::string BenchName() { return "StratumBench-" + std::to_string(getpid()); }

// Nothing pending: the common case on every block.
void ApplyWhenIdle(benchmark::State& state) {
  LinkedInstance a(BenchName());
  LinkedInstance b(BenchName());
  a.HostSets(kGroup, 1);
  b.HostSets(kGroup, 1);
  b.RunBlock();
  for (auto _ : state) b.RunBlock();
}
BENCHMARK(ApplyWhenIdle);

// One changed value to take: a pass over the row, one notice to the effect and host.
void PublishThenApplyOneChange(benchmark::State& state) {
  LinkedInstance a(BenchName());
  LinkedInstance b(BenchName());
  a.HostSets(kGroup, 1);
  b.HostSets(kGroup, 1);
  double gain = 0.0;
  for (auto _ : state) {
    gain = gain == 0.0 ? 1.0 : 0.0;
    a.HostSets(kGainLevel, gain);
    b.RunBlock();
    b.plugin.ClearParamChanges();
    b.plugin.ClearHostCalls();
  }
}
BENCHMARK(PublishThenApplyOneChange);

// A parameter change of a member: the whole row plus a pass over 128 slots.
void Publish(benchmark::State& state) {
  LinkedInstance a(BenchName());
  a.HostSets(kGroup, 1);
  for (auto _ : state) a.link->PublishShared();
}
BENCHMARK(Publish);

}  // namespace
