// Feeds arbitrary chunks to SetChunk of the AAX module, loaded the way a host
// loads it: the record's header comes from the input (its size field held
// within the bytes that follow it, as a host allocates the record), then the
// instance saves, compares and renders a block as a host would next.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "adapters/aax/support/AAX_ICollection.h"
#include "adapters/aax/support/AAX_SPlugInChunk.h"
#include "tools/aaxhost/AaxInstance.h"
#include "tools/aaxhost/AaxModule.h"

namespace {

constexpr AAX_CTypeID kPluginCode = 0x5374526D;  // 'StRm'
constexpr int kFrames = 64;

struct Host {
  aaxhost::AaxModule module;
  std::unique_ptr<aaxhost::AaxInstance> instance;
};

Host& TheHost() {
  static Host* host = [] {
    auto* made = new Host();
    std::string error;
    if (!made->module.Open(STRATUM_AAX_MODULE, &error) || !made->module.StartAndRegister(&error)) {
      std::abort();
    }
    made->instance = aaxhost::AaxInstance::Create(*made->module.Collection()->GetEffect(0), 1, &error);
    if (made->instance == nullptr) std::abort();
    return made;
  }();
  return *host;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Host& host = TheHost();
  AAX_IEffectParameters* parameters = host.instance->Parameters();

  // Header bytes from the input where there are enough; the chunk ID is
  // mostly the plug-in's own, so the state reader is reached.
  std::vector<unsigned char> record(kAAX_ChunkHeaderSize + size + 1, 0);
  std::memcpy(record.data(), data, size < kAAX_ChunkHeaderSize ? size : kAAX_ChunkHeaderSize);
  auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(record.data());
  const size_t dataBytes = size > kAAX_ChunkHeaderSize ? size - kAAX_ChunkHeaderSize : 0;
  std::memcpy(chunk->fData, data + (size - dataBytes), dataBytes);
  if (chunk->fSize > static_cast<int32_t>(dataBytes)) chunk->fSize = static_cast<int32_t>(dataBytes);
  if ((chunk->fChunkID & 0x7) != 0x7) chunk->fChunkID = kPluginCode;

  parameters->SetChunk(chunk->fChunkID, chunk);
  bool equal = false;
  parameters->CompareActiveChunk(chunk, &equal);

  uint32_t stateSize = 0;
  if (parameters->GetChunkSize(kPluginCode, &stateSize) == AAX_SUCCESS) {
    std::vector<unsigned char> saved(kAAX_ChunkHeaderSize + stateSize + 1, 0);
    parameters->GetChunk(kPluginCode, reinterpret_cast<AAX_SPlugInChunk*>(saved.data()));
  }

  std::vector<float> in0(kFrames, 0.25f), in1(kFrames, -0.25f), out0(kFrames), out1(kFrames);
  float* inputs[2] = {in0.data(), in1.data()};
  float* outputs[2] = {out0.data(), out1.data()};
  host.instance->Render(inputs, outputs, kFrames);
  return 0;
}
