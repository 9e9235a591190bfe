#include "tools/statefile/SectionedStateFile.h"

#include <cstring>

namespace statefile {

namespace {

constexpr size_t kSectionHeaderSize = 4 + 8;

void AppendLittleEndian(std::vector<uint8_t>* out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out->push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint64_t ReadLittleEndian(const uint8_t* data, int bytes) {
  uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= static_cast<uint64_t>(data[i]) << (8 * i);
  return value;
}

}  // namespace

Section MakeSection(const char tag[4], const std::vector<uint8_t>& data) {
  Section section;
  std::memcpy(section.tag, tag, 4);
  section.data = data;
  return section;
}

bool HasSectionedFileMagic(const SectionedFileKind& kind, const std::vector<uint8_t>& bytes) {
  return bytes.size() >= 4 && std::memcmp(bytes.data(), kind.magic, 4) == 0;
}

std::vector<uint8_t> EncodeSectionedFile(const SectionedFileKind& kind,
                                         const std::vector<uint8_t>& identity,
                                         const std::vector<Section>& sections) {
  std::vector<uint8_t> out(kind.magic, kind.magic + 4);
  AppendLittleEndian(&out, kind.version, 4);
  std::vector<uint8_t> fixedIdentity(identity);
  fixedIdentity.resize(kind.identitySize);
  out.insert(out.end(), fixedIdentity.begin(), fixedIdentity.end());
  for (const Section& section : sections) {
    out.insert(out.end(), section.tag, section.tag + 4);
    AppendLittleEndian(&out, section.data.size(), 8);
    out.insert(out.end(), section.data.begin(), section.data.end());
  }
  return out;
}

bool DecodeSectionedFile(const SectionedFileKind& kind, const std::vector<uint8_t>& bytes,
                         std::vector<uint8_t>* identity, std::vector<Section>* sections,
                         std::string* error) {
  const size_t headerSize = 4 + 4 + kind.identitySize;
  if (bytes.size() < headerSize || !HasSectionedFileMagic(kind, bytes)) {
    *error = std::string("not a ") + kind.name;
    return false;
  }
  const uint32_t version = static_cast<uint32_t>(ReadLittleEndian(bytes.data() + 4, 4));
  if (version != kind.version) {
    *error = "state file version " + std::to_string(version) + " is not supported";
    return false;
  }
  std::vector<Section> decoded;
  size_t at = headerSize;
  while (at < bytes.size()) {
    if (bytes.size() - at < kSectionHeaderSize) {
      *error = "state file is truncated";
      return false;
    }
    Section section;
    std::memcpy(section.tag, bytes.data() + at, 4);
    const uint64_t length = ReadLittleEndian(bytes.data() + at + 4, 8);
    at += kSectionHeaderSize;
    if (length > bytes.size() - at) {
      *error = "state file is truncated";
      return false;
    }
    section.data.assign(bytes.begin() + at, bytes.begin() + at + length);
    at += length;
    decoded.push_back(std::move(section));
  }
  identity->assign(bytes.begin() + 8, bytes.begin() + headerSize);
  sections->swap(decoded);
  return true;
}

}  // namespace statefile
