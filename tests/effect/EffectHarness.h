#pragma once

// Drives a VelmarStratum built on the recording adapter the way a host does:
// rate, block size, connections, reset, then blocks of audio.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>
#include <memory>
#include <string>
#include <vector>

#include "core/IFxParam.h"
#include "editor/IGraphics.h"
#include "effect/VelmarStratum.h"
#include "testsupport/PrivateSegmentNamespace.h"

namespace effect_test {

struct Stereo {
  std::vector<double> left;
  std::vector<double> right;
};

class EffectHarness {
 public:
  EffectHarness() {
    testsupport::UsePrivateSegmentNamespace();
    fx = std::make_unique<VelmarStratum>();
    // The host's first notice of every parameter, as an adapter sends it
    // when the host opens the instance.
    fx->NotifyAllParams(SourceReset);
    // As if the host showed the editor, so that meters and read-outs follow
    // the blocks (tests of the closed editor close it again).
    fx->EditorOpened();
  }

  // Host set-up: rate, block size, stereo or mono input, reset.
  void Prepare(double sampleRate, int blockSize, bool stereoInput = true) {
    fx->ChangeSampleRate(sampleRate);
    fx->ChangeBlockSize(blockSize);
    fx->ConnectInputs(0, 2, false);
    fx->ConnectInputs(0, stereoInput ? 2 : 1, true);
    fx->ConnectOutputs(0, 2, true);
    fx->ResetProcessing();
  }

  // Sets a parameter's plain value and notifies, as a host would.
  void Set(int paramIdx, double value) {
    fx->GetParam(paramIdx)->SetValueClamped(value);
    fx->ParamChanged(paramIdx, SourceHost);
  }
  double Get(int paramIdx) const { return fx->GetParam(paramIdx)->Value(); }

  // One block; right is ignored by the effect when only one input is connected.
  Stereo Process(const std::vector<double>& left, const std::vector<double>& right) {
    const int n = static_cast<int>(left.size());
    Stereo out{std::vector<double>(n, -7.0), std::vector<double>(n, -7.0)};
    std::vector<double> inL = left, inR = right;
    inR.resize(n, 0.0);
    double* inputs[2] = {inL.data(), inR.data()};
    double* outputs[2] = {out.left.data(), out.right.data()};
    fx->ProcessAudio(inputs, outputs, n);
    // Compared as bytes, so that inputs that are not numbers compare too.
    EXPECT_EQ(std::memcmp(inL.data(), left.data(), sizeof(double) * left.size()), 0)
        << "the host's input buffers must stay as they were";
    return out;
  }
  Stereo Process(const std::vector<double>& both) { return Process(both, both); }

  IControl* Control(int index) const { return fx->Graphics()->GetControl(index); }

  std::unique_ptr<VelmarStratum> fx;
};

inline std::vector<double> Constant(int n, double value) { return std::vector<double>(n, value); }

inline std::vector<double> Ramp(int n, double start, double step) {
  std::vector<double> v(n);
  for (int i = 0; i < n; ++i) v[i] = start + step * i;
  return v;
}

}  // namespace effect_test
