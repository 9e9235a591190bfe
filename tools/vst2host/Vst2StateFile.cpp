#include "tools/vst2host/Vst2StateFile.h"

#include <cstring>

#include "tools/statefile/SectionedStateFile.h"

namespace vst2host {

namespace {

constexpr statefile::SectionedFileKind kKind = {"S2ST", 1, 4, "VST2 state file"};
constexpr char kBankTag[4] = {'B', 'A', 'N', 'K'};
constexpr char kProgramTag[4] = {'P', 'R', 'O', 'G'};

}  // namespace

bool IsVst2StateFile(const std::vector<uint8_t>& bytes) {
  return statefile::HasSectionedFileMagic(kKind, bytes);
}

std::vector<uint8_t> EncodeVst2StateFile(const Vst2State& state) {
  const uint32_t id = static_cast<uint32_t>(state.uniqueId);
  const std::vector<uint8_t> identity = {static_cast<uint8_t>(id), static_cast<uint8_t>(id >> 8),
                                         static_cast<uint8_t>(id >> 16),
                                         static_cast<uint8_t>(id >> 24)};
  std::vector<statefile::Section> sections;
  if (state.hasBank) sections.push_back(statefile::MakeSection(kBankTag, state.bank));
  if (state.hasProgram) sections.push_back(statefile::MakeSection(kProgramTag, state.program));
  return statefile::EncodeSectionedFile(kKind, identity, sections);
}

bool DecodeVst2StateFile(const std::vector<uint8_t>& bytes, Vst2State* state, std::string* error) {
  std::vector<uint8_t> identity;
  std::vector<statefile::Section> sections;
  if (!statefile::DecodeSectionedFile(kKind, bytes, &identity, &sections, error)) return false;
  Vst2State decoded;
  decoded.uniqueId = static_cast<int32_t>(static_cast<uint32_t>(identity[0]) |
                                          static_cast<uint32_t>(identity[1]) << 8 |
                                          static_cast<uint32_t>(identity[2]) << 16 |
                                          static_cast<uint32_t>(identity[3]) << 24);
  for (statefile::Section& section : sections) {
    if (std::memcmp(section.tag, kBankTag, 4) == 0) {
      decoded.hasBank = true;
      decoded.bank.swap(section.data);
    } else if (std::memcmp(section.tag, kProgramTag, 4) == 0) {
      decoded.hasProgram = true;
      decoded.program.swap(section.data);
    }
  }
  *state = decoded;
  return true;
}

}  // namespace vst2host
