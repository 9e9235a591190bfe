// Any bytes handed to the VST3 effect's setState through a stream, served in
// reads of uneven sizes: the call answers ok only for a complete stream,
// every parameter stays inside 0..1, and the next block comes out finite.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "effect/VelmarStratum.h"
#include "pluginterfaces/base/ibstream.h"
#include "testsupport/PrivateSegmentNamespace.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int kStreamSize = 256;  // the state chunk and the bypass flag
constexpr int kBlock = 64;

// Serves the bytes after the first; the first byte sets the largest read the
// stream answers at once, as slow or chunked streams do.
class FuzzStream : public IBStream {
 public:
  FuzzStream(const uint8_t* data, size_t size)
      : mData(size > 0 ? data + 1 : data), mSize(size > 0 ? size - 1 : 0),
        mChunk(size > 0 ? 1 + data[0] : 256) {}
  tresult PLUGIN_API read(void* buffer, int32 numBytes, int32* numBytesRead) override {
    size_t n = numBytes > 0 ? static_cast<size_t>(numBytes) : 0;
    if (n > mChunk) n = mChunk;
    if (n > mSize - mPosition) n = mSize - mPosition;
    if (n > 0) std::memcpy(buffer, mData + mPosition, n);
    mPosition += n;
    if (numBytesRead != nullptr) *numBytesRead = static_cast<int32>(n);
    return kResultOk;
  }
  tresult PLUGIN_API write(void*, int32, int32*) override { return kResultFalse; }
  tresult PLUGIN_API seek(int64, int32, int64*) override { return kResultFalse; }
  tresult PLUGIN_API tell(int64*) override { return kResultFalse; }
  tresult PLUGIN_API queryInterface(const TUID, void** obj) override {
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 PLUGIN_API addRef() override { return 1; }
  uint32 PLUGIN_API release() override { return 1; }

  size_t Size() const { return mSize; }

 private:
  const uint8_t* mData;
  size_t mSize;
  size_t mChunk;
  size_t mPosition = 0;
};

VelmarStratum& Effect() {
  static VelmarStratum* effect = [] {
    // Loaded states may join groups: keep the shared segment private to this run.
    testsupport::UsePrivateSegmentNamespace();
    auto* fx = new VelmarStratum();
    fx->initialize(nullptr);
    fx->activateBus(kAudio, kInput, 0, true);
    fx->activateBus(kAudio, kOutput, 0, true);
    ProcessSetup setup{kRealtime, kSample64, kBlock, 44100.0};
    fx->setupProcessing(setup);
    fx->setActive(true);
    return fx;
  }();
  return *effect;
}

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "state stream fuzzer: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VelmarStratum& fx = Effect();
  FuzzStream stream(data, size);
  const tresult answer = fx.setState(&stream);
  Check((answer == kResultOk) == (stream.Size() >= kStreamSize), "answer");
  for (int p = 0; p < fx.NumParams(); ++p) {
    const double normalized = fx.getParamNormalized(static_cast<ParamID>(p));
    Check(normalized >= 0.0 && normalized <= 1.0, "parameter range");
  }

  std::vector<double> left(kBlock), right(kBlock), outL(kBlock), outR(kBlock);
  for (int i = 0; i < kBlock; ++i) {
    left[i] = std::sin(0.1 * i);
    right[i] = 0.5 * std::cos(0.07 * i);
  }
  double* in[2] = {left.data(), right.data()};
  double* out[2] = {outL.data(), outR.data()};
  AudioBusBuffers inBus;
  inBus.numChannels = 2;
  inBus.channelBuffers64 = in;
  AudioBusBuffers outBus;
  outBus.numChannels = 2;
  outBus.channelBuffers64 = out;
  ProcessData block;
  block.processMode = kRealtime;
  block.symbolicSampleSize = kSample64;
  block.numSamples = kBlock;
  block.numInputs = 1;
  block.numOutputs = 1;
  block.inputs = &inBus;
  block.outputs = &outBus;
  Check(fx.process(block) == kResultOk, "process");
  for (int i = 0; i < kBlock; ++i) {
    Check(std::isfinite(outL[i]) && std::isfinite(outR[i]), "finite output");
  }
  return 0;
}
