// Any bytes handed to a VST2 module as a program or bank chunk: the module
// never reads outside them, answers 0 or 1, keeps every parameter inside
// 0..1, and afterwards still hands out a chunk that it accepts back.
//
// The first input byte picks the form: bit 0 a bank (index 0) or a program
// (index 1); bit 1 puts the framework header in front of the rest, so the
// fuzzer reaches the readers behind it from the first run.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tests/adapters/vst2/Vst2TestHost.h"

namespace {

Vst2TestHost& Host() {
  static Vst2TestHost* host = [] {
    auto* h = new Vst2TestHost();
    std::string error;
    if (!h->Open(STRATUM_TEST_VST2_MODULE, "VSTPluginMain", &error)) {
      std::fprintf(stderr, "vst2 chunk fuzzer: %s\n", error.c_str());
      std::abort();
    }
    h->Dispatch(effOpen);
    return h;
  }();
  return *host;
}

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "vst2 chunk fuzzer: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  Vst2TestHost& host = Host();
  AEffect* effect = host.Effect();
  const int index = (data[0] & 1) != 0 ? 0 : 1;
  std::vector<uint8_t> chunk;
  if ((data[0] & 2) != 0) chunk = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};
  chunk.insert(chunk.end(), data + 1, data + size);

  const VstIntPtr answer = host.Dispatch(effSetChunk, index, static_cast<VstIntPtr>(chunk.size()),
                                         chunk.data());
  Check(answer == 0 || answer == 1, "answer");
  for (int p = 0; p < effect->numParams; ++p) {
    const float value = effect->getParameter(effect, p);
    Check(value >= 0.0f && value <= 1.0f, "parameter range");
  }
  void* saved = nullptr;
  const VstIntPtr savedSize = host.Dispatch(effGetChunk, index, 0, &saved);
  Check(savedSize > 0 && saved != nullptr, "chunk handed out");
  std::vector<uint8_t> copy(static_cast<const uint8_t*>(saved),
                            static_cast<const uint8_t*>(saved) + savedSize);
  Check(host.Dispatch(effSetChunk, index, savedSize, copy.data()) == 1, "own chunk accepted");
  return 0;
}
