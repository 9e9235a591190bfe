// Any bytes handed to the effect as a saved state: loading never reads
// outside them, every parameter stays inside its range, and the next block
// of ordinary audio comes out finite.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/IFxParam.h"
#include "core/StateChunk.h"
#include "effect/VelmarStratum.h"
#include "testsupport/PrivateSegmentNamespace.h"

namespace {

VelmarStratum& Effect() {
  // Destroyed at exit, so the run's segment goes with its last holder.
  static std::unique_ptr<VelmarStratum> effect = [] {
    // Loaded states may join groups: keep the shared segment private to this run.
    testsupport::UsePrivateSegmentNamespace();
    auto fx = std::make_unique<VelmarStratum>();
    fx->NotifyAllParams(SourceReset);
    fx->ChangeSampleRate(44100);
    fx->ChangeBlockSize(64);
    fx->ConnectInputs(0, 2, true);
    fx->ConnectOutputs(0, 2, true);
    fx->ResetProcessing();
    return fx;
  }();
  return *effect;
}

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "effect state fuzzer: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VelmarStratum& fx = Effect();
  StateChunk chunk;
  chunk.PutBytes(data, static_cast<int>(size));
  const int position = fx.LoadState(chunk, 0);
  Check(position == -1 || (position >= 0 && position <= chunk.Size()), "position");
  for (int p = 0; p < fx.NumParams(); ++p) {
    const IFxParam* param = fx.GetParam(p);
    Check(param->Value() >= param->Min() && param->Value() <= param->Max(), "parameter range");
  }
  std::vector<double> left(64), right(64), outL(64), outR(64);
  for (int i = 0; i < 64; ++i) {
    left[i] = std::sin(0.1 * i);
    right[i] = 0.5 * std::cos(0.07 * i);
  }
  double* in[2] = {left.data(), right.data()};
  double* out[2] = {outL.data(), outR.data()};
  fx.ProcessAudio(in, out, 64);
  for (int i = 0; i < 64; ++i) Check(std::isfinite(outL[i]) && std::isfinite(outR[i]), "output");
  return 0;
}
