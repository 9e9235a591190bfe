#include "core/StateChunk.h"

#include <cstring>
#include <limits>

namespace {

void StoreLittleEndian32(uint32_t value, uint8_t* out) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

void StoreLittleEndian64(uint64_t value, uint8_t* out) {
  for (int i = 0; i < 8; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t LoadLittleEndian32(const uint8_t* in) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(in[i]) << (8 * i);
  return value;
}

uint64_t LoadLittleEndian64(const uint8_t* in) {
  uint64_t value = 0;
  for (int i = 0; i < 8; ++i) value |= static_cast<uint64_t>(in[i]) << (8 * i);
  return value;
}

}  // namespace

void StateChunk::Resize(int size) { mBytes.resize(size > 0 ? static_cast<size_t>(size) : 0); }

int StateChunk::PutBytes(const void* data, int size) {
  // Sizes are ints throughout (positions and answers); never grow past that.
  const int64_t room = std::numeric_limits<int>::max() - static_cast<int64_t>(mBytes.size());
  if (data != nullptr && size > 0 && size <= room) {
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    mBytes.insert(mBytes.end(), bytes, bytes + size);
  }
  return Size();
}

int StateChunk::PutInt32(int32_t value) { return PutUInt32(static_cast<uint32_t>(value)); }

int StateChunk::PutUInt32(uint32_t value) {
  uint8_t bytes[4];
  StoreLittleEndian32(value, bytes);
  return PutBytes(bytes, 4);
}

int StateChunk::PutByte(uint8_t value) { return PutBytes(&value, 1); }

int StateChunk::PutDouble(double value) {
  static_assert(sizeof(double) == 8 && std::numeric_limits<double>::is_iec559,
                "state chunks store IEEE 754 doubles");
  uint64_t bits;
  memcpy(&bits, &value, 8);
  uint8_t bytes[8];
  StoreLittleEndian64(bits, bytes);
  return PutBytes(bytes, 8);
}

int StateChunk::PutText(const char* text) {
  if (text == nullptr) text = "";
  const size_t length = strlen(text);
  if (length > static_cast<size_t>(std::numeric_limits<int>::max() - 4)) return Size();
  PutInt32(static_cast<int32_t>(length));
  return PutBytes(text, static_cast<int>(length));
}

bool StateChunk::CanRead(int size, int position) const {
  return position >= 0 && size >= 0 &&
         static_cast<int64_t>(position) + size <= static_cast<int64_t>(mBytes.size());
}

int StateChunk::GetBytes(void* destination, int size, int position) const {
  if (!CanRead(size, position)) return -1;
  if (size > 0) memcpy(destination, mBytes.data() + position, static_cast<size_t>(size));
  return position + size;
}

int StateChunk::GetInt32(int32_t* value, int position) const {
  uint32_t bits;
  int next = GetUInt32(&bits, position);
  if (next >= 0) *value = static_cast<int32_t>(bits);
  return next;
}

int StateChunk::GetUInt32(uint32_t* value, int position) const {
  if (!CanRead(4, position)) return -1;
  *value = LoadLittleEndian32(mBytes.data() + position);
  return position + 4;
}

int StateChunk::GetByte(uint8_t* value, int position) const {
  if (!CanRead(1, position)) return -1;
  *value = mBytes[static_cast<size_t>(position)];
  return position + 1;
}

int StateChunk::GetBool(bool* value, int position) const {
  uint8_t byte;
  int next = GetByte(&byte, position);
  if (next >= 0) *value = byte != 0;
  return next;
}

int StateChunk::GetDouble(double* value, int position) const {
  if (!CanRead(8, position)) return -1;
  uint64_t bits = LoadLittleEndian64(mBytes.data() + position);
  memcpy(value, &bits, 8);
  return position + 8;
}

int StateChunk::GetText(std::string* text, int position) const {
  int32_t length;
  int start = GetInt32(&length, position);
  // Check the length against the chunk before allocating anything.
  if (start < 0 || !CanRead(length, start)) return -1;
  text->assign(reinterpret_cast<const char*>(mBytes.data()) + start, static_cast<size_t>(length));
  return start + length;
}
