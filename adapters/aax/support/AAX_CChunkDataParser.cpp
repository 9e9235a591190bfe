#include "adapters/aax/support/AAX_CChunkDataParser.h"

#include <cstring>

// Every module of this library runs on a little-endian machine, so values
// are copied as they lie in memory.

bool AAX_CChunkDataParser::AddEntry(char type, const char* name, const void* value, size_t size,
                                    bool withLength) {
  if (name == nullptr) return false;
  const size_t nameLength = std::strlen(name);
  if (nameLength > kMaxNameLength || (withLength && size > INT32_MAX)) return false;
  mData.push_back(static_cast<unsigned char>(type));
  mData.push_back(static_cast<unsigned char>(nameLength));
  mData.insert(mData.end(), name, name + nameLength);
  if (withLength) {
    const uint32_t length = static_cast<uint32_t>(size);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&length);
    mData.insert(mData.end(), bytes, bytes + sizeof(length));
  }
  const size_t valueOffset = mData.size();
  const auto* bytes = static_cast<const unsigned char*>(value);
  mData.insert(mData.end(), bytes, bytes + size);
  mEntries.push_back({type, std::string(name, nameLength), valueOffset, size});
  return true;
}

bool AAX_CChunkDataParser::AddDouble(const char* name, double value) {
  return AddEntry('d', name, &value, sizeof(value), false);
}

bool AAX_CChunkDataParser::AddInt32(const char* name, int32_t value) {
  return AddEntry('i', name, &value, sizeof(value), false);
}

bool AAX_CChunkDataParser::AddString(const char* name, const char* value) {
  if (value == nullptr) value = "";
  return AddEntry('s', name, value, std::strlen(value), true);
}

bool AAX_CChunkDataParser::GetChunkData(AAX_SPlugInChunk* chunk) const {
  if (chunk == nullptr) return false;
  chunk->fSize = GetChunkDataSize();
  chunk->fVersion = kVersion;
  if (!mData.empty()) std::memcpy(chunk->fData, mData.data(), mData.size());
  return true;
}

bool AAX_CChunkDataParser::LoadChunk(const AAX_SPlugInChunk* chunk) {
  Clear();
  if (chunk == nullptr || chunk->fVersion != kVersion || chunk->fSize < 0) return false;
  const auto* bytes = reinterpret_cast<const unsigned char*>(chunk->fData);
  mData.assign(bytes, bytes + chunk->fSize);
  if (Parse()) return true;
  Clear();
  return false;
}

bool AAX_CChunkDataParser::Parse() {
  size_t at = 0;
  const size_t end = mData.size();
  while (at < end) {
    if (end - at < 2) return false;
    const char type = static_cast<char>(mData[at]);
    const size_t nameLength = mData[at + 1];
    at += 2;
    if (end - at < nameLength) return false;
    std::string name(reinterpret_cast<const char*>(&mData[at]), nameLength);
    at += nameLength;
    size_t size = 0;
    switch (type) {
      case 'd': size = sizeof(double); break;
      case 'i': size = sizeof(int32_t); break;
      case 's': {
        uint32_t length = 0;
        if (end - at < sizeof(length)) return false;
        std::memcpy(&length, &mData[at], sizeof(length));
        at += sizeof(length);
        size = length;
        break;
      }
      default: return false;
    }
    if (end - at < size) return false;
    mEntries.push_back({type, std::move(name), at, size});
    at += size;
  }
  return true;
}

const AAX_CChunkDataParser::Entry* AAX_CChunkDataParser::Find(char type, const char* name) const {
  if (name == nullptr) return nullptr;
  for (const Entry& entry : mEntries) {
    if (entry.type == type && entry.name == name) return &entry;
  }
  return nullptr;
}

bool AAX_CChunkDataParser::FindDouble(const char* name, double* value) const {
  const Entry* entry = Find('d', name);
  if (entry == nullptr || value == nullptr) return false;
  std::memcpy(value, &mData[entry->valueOffset], sizeof(*value));
  return true;
}

bool AAX_CChunkDataParser::FindInt32(const char* name, int32_t* value) const {
  const Entry* entry = Find('i', name);
  if (entry == nullptr || value == nullptr) return false;
  std::memcpy(value, &mData[entry->valueOffset], sizeof(*value));
  return true;
}

bool AAX_CChunkDataParser::FindString(const char* name, std::string* value) const {
  const Entry* entry = Find('s', name);
  if (entry == nullptr || value == nullptr) return false;
  value->assign(reinterpret_cast<const char*>(mData.data()) + entry->valueOffset, entry->valueSize);
  return true;
}

void AAX_CChunkDataParser::Clear() {
  mData.clear();
  mEntries.clear();
}
