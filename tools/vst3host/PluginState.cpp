#include "tools/vst3host/PluginState.h"

#include <cstring>

namespace vst3host {

namespace {

constexpr char kMagic[4] = {'S', 'H', 'S', 'T'};
constexpr uint32_t kVersion = 1;
constexpr char kComponentTag[4] = {'C', 'O', 'M', 'P'};
constexpr char kControllerTag[4] = {'C', 'T', 'R', 'L'};
constexpr size_t kHeaderSize = 4 + 4 + 16;
constexpr size_t kSectionHeaderSize = 4 + 8;

void AppendBytes(std::vector<uint8_t>* out, const void* data, size_t size) {
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

void AppendLittleEndian(std::vector<uint8_t>* out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out->push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint64_t ReadLittleEndian(const uint8_t* data, int bytes) {
  uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= static_cast<uint64_t>(data[i]) << (8 * i);
  return value;
}

void AppendSection(std::vector<uint8_t>* out, const char tag[4], const std::vector<uint8_t>& data) {
  AppendBytes(out, tag, 4);
  AppendLittleEndian(out, data.size(), 8);
  AppendBytes(out, data.data(), data.size());
}

}  // namespace

std::vector<uint8_t> EncodeStateFile(const PluginState& state) {
  std::vector<uint8_t> out;
  AppendBytes(&out, kMagic, 4);
  AppendLittleEndian(&out, kVersion, 4);
  AppendBytes(&out, state.classId, 16);
  if (state.hasComponent) AppendSection(&out, kComponentTag, state.component);
  if (state.hasController) AppendSection(&out, kControllerTag, state.controller);
  return out;
}

bool DecodeStateFile(const std::vector<uint8_t>& bytes, PluginState* state, std::string* error) {
  if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kMagic, 4) != 0) {
    *error = "not a state file";
    return false;
  }
  const uint32_t version = static_cast<uint32_t>(ReadLittleEndian(bytes.data() + 4, 4));
  if (version != kVersion) {
    *error = "state file version " + std::to_string(version) + " is not supported";
    return false;
  }
  PluginState decoded;
  std::memcpy(decoded.classId, bytes.data() + 8, 16);
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
    if (std::memcmp(tag, kComponentTag, 4) == 0) {
      decoded.hasComponent = true;
      decoded.component.swap(data);
    } else if (std::memcmp(tag, kControllerTag, 4) == 0) {
      decoded.hasController = true;
      decoded.controller.swap(data);
    }
  }
  *state = std::move(decoded);
  return true;
}

}  // namespace vst3host
