#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "adapters/aax/support/AAX_SPlugInChunk.h"

// Named values in a chunk's data, for effects that keep their state as
// name-value pairs: entries are added, written into a chunk record, and read
// back from one by name. Layout of the data, in order of addition, every
// number little-endian: a type byte ('d' double, 'i' 32-bit integer, 's'
// text), the name's length (one byte) and bytes, then the value (8 bytes, 4
// bytes, or a 32-bit length and the bytes). The record's version field holds
// kVersion.
class AAX_CChunkDataParser {
 public:
  static constexpr int32_t kVersion = 1;
  static constexpr size_t kMaxNameLength = 255;

  // False (nothing added) for a null name or one longer than kMaxNameLength.
  bool AddDouble(const char* name, double value);
  bool AddInt32(const char* name, int32_t value);
  bool AddString(const char* name, const char* value);

  // The bytes GetChunkData writes after the record's header.
  int32_t GetChunkDataSize() const { return static_cast<int32_t>(mData.size()); }
  // Writes size, version and data into a record with room for
  // GetChunkDataSize() bytes of data.
  bool GetChunkData(AAX_SPlugInChunk* chunk) const;
  // Replaces the entries with the record's. False, with no entries left, for
  // a null record, another version or data that does not parse whole.
  bool LoadChunk(const AAX_SPlugInChunk* chunk);

  // The value of the first entry with the name and the type; false when none.
  bool FindDouble(const char* name, double* value) const;
  bool FindInt32(const char* name, int32_t* value) const;
  bool FindString(const char* name, std::string* value) const;
  int NumEntries() const { return static_cast<int>(mEntries.size()); }
  void Clear();

 private:
  struct Entry {
    char type;
    std::string name;
    size_t valueOffset;  // into mData
    size_t valueSize;
  };
  bool AddEntry(char type, const char* name, const void* value, size_t size, bool withLength);
  const Entry* Find(char type, const char* name) const;
  bool Parse();

  std::vector<unsigned char> mData;
  std::vector<Entry> mEntries;
};
