#include "tools/vst2host/Vst2StateFile.h"

#include <cstring>

namespace vst2host {

namespace {

constexpr char kMagic[4] = {'S', '2', 'S', 'T'};
constexpr uint32_t kVersion = 1;
constexpr char kBankTag[4] = {'B', 'A', 'N', 'K'};
constexpr char kProgramTag[4] = {'P', 'R', 'O', 'G'};
constexpr size_t kHeaderSize = 12;
constexpr size_t kSectionHeaderSize = 12;

void AppendLittleEndian(std::vector<uint8_t>* out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out->push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint64_t ReadLittleEndian(const uint8_t* data, int bytes) {
  uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= static_cast<uint64_t>(data[i]) << (8 * i);
  return value;
}

void AppendSection(std::vector<uint8_t>* out, const char* tag, const std::vector<uint8_t>& data) {
  out->insert(out->end(), tag, tag + 4);
  AppendLittleEndian(out, data.size(), 8);
  out->insert(out->end(), data.begin(), data.end());
}

}  // namespace

bool IsVst2StateFile(const std::vector<uint8_t>& bytes) {
  return bytes.size() >= 4 && std::memcmp(bytes.data(), kMagic, 4) == 0;
}

std::vector<uint8_t> EncodeVst2StateFile(const Vst2State& state) {
  std::vector<uint8_t> out(kMagic, kMagic + 4);
  AppendLittleEndian(&out, kVersion, 4);
  AppendLittleEndian(&out, static_cast<uint32_t>(state.uniqueId), 4);
  if (state.hasBank) AppendSection(&out, kBankTag, state.bank);
  if (state.hasProgram) AppendSection(&out, kProgramTag, state.program);
  return out;
}

bool DecodeVst2StateFile(const std::vector<uint8_t>& bytes, Vst2State* state, std::string* error) {
  if (bytes.size() < kHeaderSize || !IsVst2StateFile(bytes)) {
    *error = "not a VST2 state file";
    return false;
  }
  const uint32_t version = static_cast<uint32_t>(ReadLittleEndian(bytes.data() + 4, 4));
  if (version != kVersion) {
    *error = "state file version " + std::to_string(version) + " is not supported";
    return false;
  }
  Vst2State decoded;
  decoded.uniqueId = static_cast<int32_t>(ReadLittleEndian(bytes.data() + 8, 4));
  size_t at = kHeaderSize;
  while (at < bytes.size()) {
    if (bytes.size() - at < kSectionHeaderSize) {
      *error = "state file is truncated";
      return false;
    }
    const uint8_t* tag = bytes.data() + at;
    const uint64_t length = ReadLittleEndian(bytes.data() + at + 4, 8);
    at += kSectionHeaderSize;
    if (length > bytes.size() - at) {
      *error = "state file is truncated";
      return false;
    }
    std::vector<uint8_t> data(bytes.begin() + at, bytes.begin() + at + length);
    at += length;
    if (std::memcmp(tag, kBankTag, 4) == 0) {
      decoded.hasBank = true;
      decoded.bank.swap(data);
    } else if (std::memcmp(tag, kProgramTag, 4) == 0) {
      decoded.hasProgram = true;
      decoded.program.swap(data);
    }
  }
  *state = decoded;
  return true;
}

}  // namespace vst2host
