#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vst2host {

// The saved state of one VST2 instance: its program state (the program
// chunk, or every normalised value for plug-ins without chunks) and, for
// plug-ins with chunks, its bank of presets.
struct Vst2State {
  int32_t uniqueId = 0;
  bool hasProgram = false;
  std::vector<uint8_t> program;
  bool hasBank = false;
  std::vector<uint8_t> bank;
};

// VST2 state files, little-endian throughout:
//   "S2ST"            4 bytes, file magic
//   version           uint32, 1
//   unique ID         int32, the plug-in that wrote the state
//   sections          until the end of the file, each:
//     tag             4 bytes, "BANK" (bank chunk) or "PROG" (program state)
//     length          uint64, byte count of the data that follows
//     data            the plug-in's own bytes
// Unknown tags are skipped, so later versions may add sections.
std::vector<uint8_t> EncodeVst2StateFile(const Vst2State& state);
bool DecodeVst2StateFile(const std::vector<uint8_t>& bytes, Vst2State* state, std::string* error);
// True when the bytes start like a VST2 state file.
bool IsVst2StateFile(const std::vector<uint8_t>& bytes);

}  // namespace vst2host
