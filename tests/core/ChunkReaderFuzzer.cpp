// Feeds arbitrary bytes to every reader of host-supplied chunks, on a
// plug-in with the effect's parameters: the chunk header, a plain state and
// a preset bank. Nothing may read outside the chunk, crash, hang or allocate
// without bound, and every parameter must end inside its range.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "testsupport/TestPlugin.h"

namespace {

void CheckRanges(const IFxBase& plugin) {
  for (int i = 0; i < plugin.NumParams(); ++i) {
    const IFxParam* param = plugin.GetParam(i);
    if (!(param->Value() >= param->Min() && param->Value() <= param->Max())) abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  StateChunk chunk;
  chunk.PutBytes(data, static_cast<int>(size));

  TestPlugin plugin(HostFormatVst2);
  int position = 0;
  const int version = plugin.ReadChunkHeader(chunk, position);
  // Without the magic the position stays; with it, it moves past the header
  // (or to -1 when the version is cut off, answering 0).
  if (position != 0 && position != 8 && position != -1) abort();
  if (version != 0 && position != 8) abort();

  const int afterState = plugin.LoadState(chunk, position);
  if (afterState > chunk.Size()) abort();
  CheckRanges(plugin);

  // The same bytes as a bank, on a plug-in with several presets.
  TestPlugin bankPlugin(HostFormatVst2, 4);
  const int afterBank = bankPlugin.UnserializePresets(chunk, position < 0 ? 0 : position);
  if (afterBank > chunk.Size()) abort();
  CheckRanges(bankPlugin);
  for (int i = 0; i < bankPlugin.NumPresets(); ++i) bankPlugin.PresetName(i);
  return 0;
}
