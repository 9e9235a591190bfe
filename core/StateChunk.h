#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A flat, growable byte array holding a saved state. Values are appended at
// the end and read at a position. Every value is stored little-endian,
// whatever the machine; doubles are IEEE 754 double precision.
//
// Reads are bounds-checked: a read of n bytes at position p succeeds when
// p >= 0 and p + n <= Size() and answers p + n; otherwise it answers -1 and
// leaves the destination unchanged. Texts are a 32-bit signed length followed
// by that many bytes, without a terminator.
class StateChunk {
 public:
  StateChunk() = default;

  int Size() const { return static_cast<int>(mBytes.size()); }
  bool Empty() const { return mBytes.empty(); }
  const uint8_t* Data() const { return mBytes.data(); }
  uint8_t* Data() { return mBytes.data(); }

  void Clear() { mBytes.clear(); }
  // Grows with zero bytes or shrinks to size bytes (negative sizes give 0).
  void Resize(int size);

  // Appenders answer the new size.
  int PutBytes(const void* data, int size);
  int PutInt32(int32_t value);
  int PutUInt32(uint32_t value);
  int PutByte(uint8_t value);
  int PutBool(bool value) { return PutByte(value ? 1 : 0); }
  int PutDouble(double value);
  int PutText(const char* text);  // null is stored as the empty text
  int PutChunk(const StateChunk& other) { return PutBytes(other.Data(), other.Size()); }

  // Readers answer the position after the value, or -1.
  int GetBytes(void* destination, int size, int position) const;
  int GetInt32(int32_t* value, int position) const;
  int GetUInt32(uint32_t* value, int position) const;
  int GetByte(uint8_t* value, int position) const;
  int GetBool(bool* value, int position) const;
  int GetDouble(double* value, int position) const;
  // Fails (nothing allocated) when the stored length is negative or runs past
  // the end of the chunk.
  int GetText(std::string* text, int position) const;

  bool operator==(const StateChunk& other) const { return mBytes == other.mBytes; }
  bool operator!=(const StateChunk& other) const { return mBytes != other.mBytes; }

 private:
  // True when size bytes can be read at position.
  bool CanRead(int size, int position) const;

  std::vector<uint8_t> mBytes;
};
