#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace statefile {

// One tagged block of a state file: a four-character tag and the plug-in's
// own bytes.
struct Section {
  char tag[4];
  std::vector<uint8_t> data;
};

Section MakeSection(const char tag[4], const std::vector<uint8_t>& data);

// The layout every state file of the host tool shares, little-endian:
//   magic             4 bytes, the file kind
//   version           uint32
//   identity          a fixed number of bytes naming the plug-in that wrote it
//   sections          until the end of the file, each:
//     tag             4 bytes
//     length          uint64, byte count of the data that follows
//     data            the plug-in's own bytes
// Readers skip tags they do not know, so later versions may add sections.
struct SectionedFileKind {
  const char* magic;       // four characters
  uint32_t version;
  size_t identitySize;
  const char* name;        // for messages: "not a <name>"
};

std::vector<uint8_t> EncodeSectionedFile(const SectionedFileKind& kind,
                                         const std::vector<uint8_t>& identity,
                                         const std::vector<Section>& sections);
// False (with the reason in error) when the bytes are not of this kind, of
// another version, or truncated; identity and sections are then unchanged.
bool DecodeSectionedFile(const SectionedFileKind& kind, const std::vector<uint8_t>& bytes,
                         std::vector<uint8_t>* identity, std::vector<Section>* sections,
                         std::string* error);
// True when the bytes start with the kind's magic.
bool HasSectionedFileMagic(const SectionedFileKind& kind, const std::vector<uint8_t>& bytes);

}  // namespace statefile
