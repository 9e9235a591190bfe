#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// Byte layout of the group segment and the accessors that read and write it.
//
// The segment is written by instances in several processes at once without a
// lock, so every access to a shared field is a relaxed atomic load or store:
// the compiler may neither drop, merge nor tear it. Fields are little-endian
// whatever the machine.
namespace segment_layout {

constexpr uint64_t kGroupDataSize = 34336;  // the data size the group link asks for
constexpr size_t kHeaderSize = 64;
constexpr size_t kMagicOffset = 0;  // "SMEM", no terminator
constexpr size_t kDataSizeOffset = 8;

// Offsets from the start of the data area.
constexpr int kGroupFlagCount = 32;  // groups 0 to 15 are used
constexpr int kUsedGroupCount = 16;
constexpr size_t kGroupFlagsOffset = 0;
constexpr int kSlotCount = 128;
constexpr size_t kSlotTableOffset = 32;
constexpr size_t kSlotSize = 12;
constexpr size_t kSlotIdOffset = 0;
constexpr size_t kSlotPendingOffset = 4;
constexpr size_t kSlotGroupOffset = 8;
constexpr int kValueColumns = 128;  // parameter indices per group row
constexpr size_t kValueTableOffset = kSlotTableOffset + kSlotCount * kSlotSize;

constexpr int32_t kFreeSlot = -1;
constexpr int32_t kNoGroup = -1;
constexpr double kNotShared = -1.0;

static_assert(kValueTableOffset == 1568, "value table follows the slot table");
static_assert(kValueTableOffset + kGroupFlagCount * kValueColumns * 8 == kGroupDataSize,
              "the value table ends the data area");
static_assert((kHeaderSize + kValueTableOffset) % 8 == 0, "doubles are naturally aligned");
static_assert((kHeaderSize + kSlotTableOffset) % 4 == 0 && kSlotSize % 4 == 0,
              "slot integers are naturally aligned");

constexpr size_t SlotOffset(int slot) { return kSlotTableOffset + kSlotSize * static_cast<size_t>(slot); }
constexpr size_t ValueOffset(int group, int param) {
  return kValueTableOffset + 8 * (static_cast<size_t>(kValueColumns) * group + param);
}

static_assert(__atomic_always_lock_free(1, nullptr) && __atomic_always_lock_free(4, nullptr) &&
                  __atomic_always_lock_free(8, nullptr),
              "segment fields need lock-free atomics: a lock would not be shared between processes");

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
inline uint32_t LittleEndian32(uint32_t v) { return __builtin_bswap32(v); }
inline uint64_t LittleEndian64(uint64_t v) { return __builtin_bswap64(v); }
#else
inline uint32_t LittleEndian32(uint32_t v) { return v; }
inline uint64_t LittleEndian64(uint64_t v) { return v; }
#endif

// The flag bytes also order the value table between writers and readers, so
// their accessors take a memory order (relaxed unless asked).
inline uint8_t LoadU8(const uint8_t* base, size_t offset, int order = __ATOMIC_RELAXED) {
  return __atomic_load_n(base + offset, order);
}
inline void StoreU8(uint8_t* base, size_t offset, uint8_t value, int order = __ATOMIC_RELAXED) {
  __atomic_store_n(base + offset, value, order);
}
// Stores `value` and answers what the byte held, as one indivisible step.
inline uint8_t ExchangeU8(uint8_t* base, size_t offset, uint8_t value, int order) {
  return __atomic_exchange_n(base + offset, value, order);
}

inline int32_t LoadI32(const uint8_t* base, size_t offset) {
  uint32_t raw = __atomic_load_n(reinterpret_cast<const uint32_t*>(base + offset), __ATOMIC_RELAXED);
  return static_cast<int32_t>(LittleEndian32(raw));
}
inline void StoreI32(uint8_t* base, size_t offset, int32_t value, int order = __ATOMIC_RELAXED) {
  __atomic_store_n(reinterpret_cast<uint32_t*>(base + offset),
                   LittleEndian32(static_cast<uint32_t>(value)), order);
}
inline uint64_t LoadU64(const uint8_t* base, size_t offset) {
  return LittleEndian64(
      __atomic_load_n(reinterpret_cast<const uint64_t*>(base + offset), __ATOMIC_RELAXED));
}
inline void StoreU64(uint8_t* base, size_t offset, uint64_t value) {
  __atomic_store_n(reinterpret_cast<uint64_t*>(base + offset), LittleEndian64(value), __ATOMIC_RELAXED);
}

inline double LoadF64(const uint8_t* base, size_t offset) {
  uint64_t bits = LoadU64(base, offset);
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}
inline void StoreF64(uint8_t* base, size_t offset, double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  StoreU64(base, offset, bits);
}

}  // namespace segment_layout
