#include "tools/vst3host/PluginState.h"

#include <cstring>

#include "tools/statefile/SectionedStateFile.h"

namespace vst3host {

namespace {

constexpr statefile::SectionedFileKind kKind = {"SHST", 1, 16, "state file"};
constexpr char kComponentTag[4] = {'C', 'O', 'M', 'P'};
constexpr char kControllerTag[4] = {'C', 'T', 'R', 'L'};

}  // namespace

std::vector<uint8_t> EncodeStateFile(const PluginState& state) {
  const uint8_t* classId = reinterpret_cast<const uint8_t*>(state.classId);
  const std::vector<uint8_t> identity(classId, classId + 16);
  std::vector<statefile::Section> sections;
  if (state.hasComponent) sections.push_back(statefile::MakeSection(kComponentTag, state.component));
  if (state.hasController) sections.push_back(statefile::MakeSection(kControllerTag, state.controller));
  return statefile::EncodeSectionedFile(kKind, identity, sections);
}

bool DecodeStateFile(const std::vector<uint8_t>& bytes, PluginState* state, std::string* error) {
  std::vector<uint8_t> identity;
  std::vector<statefile::Section> sections;
  if (!statefile::DecodeSectionedFile(kKind, bytes, &identity, &sections, error)) return false;
  PluginState decoded;
  std::memcpy(decoded.classId, identity.data(), 16);
  for (statefile::Section& section : sections) {
    if (std::memcmp(section.tag, kComponentTag, 4) == 0) {
      decoded.hasComponent = true;
      decoded.component.swap(section.data);
    } else if (std::memcmp(section.tag, kControllerTag, 4) == 0) {
      decoded.hasController = true;
      decoded.controller.swap(section.data);
    }
  }
  *state = std::move(decoded);
  return true;
}

}  // namespace vst3host
