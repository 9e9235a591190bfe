#include "grouplink/SharedSegment.h"

#include <cstdio>
#include <cstring>

#include "grouplink/SegmentLayout.h"
#include "platform/RecursiveLock.h"
#include "platform/SharedMemory.h"

namespace {

using namespace segment_layout;

constexpr char kMagic[4] = {'S', 'M', 'E', 'M'};
constexpr uint64_t kLargestDataSize = uint64_t{1} << 30;  // far beyond any real segment

struct CreationContext {
  uint64_t dataSize;
  SegmentInitialiser initialise;
  void* context;
};

// Runs under the platform's creation guard: data first, header last, so that
// the segment only looks valid once it is complete.
void InitialiseNewSegment(platform::SharedMemory& memory, void* opaque) {
  const CreationContext& creation = *static_cast<const CreationContext*>(opaque);
  uint8_t* address = memory.Address();
  if (creation.initialise != nullptr) {
    creation.initialise(memory, address + kHeaderSize, creation.dataSize, creation.context);
  }
  StoreU64(address, kDataSizeOffset, creation.dataSize);
  for (size_t i = 0; i < sizeof kMagic; ++i) {
    StoreU8(address, kMagicOffset + i, static_cast<uint8_t>(kMagic[i]));
  }
}

bool HasMagic(const uint8_t* address, size_t mapped) {
  if (mapped < sizeof kMagic) return false;
  for (size_t i = 0; i < sizeof kMagic; ++i) {
    if (LoadU8(address, kMagicOffset + i) != static_cast<uint8_t>(kMagic[i])) return false;
  }
  return true;
}

// The process's segment namespace, set by tests and tools before instances
// exist and read by every open; the lock keeps a late change from tearing a
// read.
struct Namespace {
  platform::RecursiveLock lock;
  std::string prefix;
};

Namespace& ProcessNamespace() {
  static Namespace space;
  return space;
}

bool IsPlainNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_' || c == '.';
}

void ReportInvalidHeader(const char* name, uint64_t dataSize) {
  std::fprintf(stderr, "shmem(\"%s\", %d) failed: invalid header\n", name, static_cast<int>(dataSize));
}

void ReportSizeMismatch(const char* name, uint64_t dataSize, uint64_t found) {
  std::fprintf(stderr, "shmem(\"%s\", %d) failed: size mismatch (found %d)\n", name,
               static_cast<int>(dataSize), static_cast<int>(static_cast<uint32_t>(found)));
}

}  // namespace

bool SetSegmentNamespace(const char* prefix) {
  if (prefix == nullptr) prefix = "";
  for (const char* c = prefix; *c != '\0'; ++c) {
    if (!IsPlainNameCharacter(*c)) return false;
  }
  Namespace& space = ProcessNamespace();
  platform::LockGuard guard(space.lock);
  space.prefix = prefix;
  return true;
}

std::string SegmentNamespace() {
  Namespace& space = ProcessNamespace();
  platform::LockGuard guard(space.lock);
  return space.prefix;
}

SharedSegment::SharedSegment() = default;
SharedSegment::~SharedSegment() = default;

std::unique_ptr<SharedSegment> OpenSegment(const char* name, uint64_t dataSize,
                                           SegmentInitialiser initialise, void* context) {
  if (name == nullptr) name = "";
  if (dataSize > kLargestDataSize) return nullptr;
  std::unique_ptr<SharedSegment> segment(new SharedSegment);
  segment->name = name;
  segment->dataSize = dataSize;

  const size_t fullSize = static_cast<size_t>(dataSize) + kHeaderSize;
  CreationContext creation = {dataSize, initialise, context};
  platform::SharedMemory::OpenResult result;
  const std::string objectName = SegmentNamespace() + name;
  segment->memory =
      platform::SharedMemory::Open(objectName.c_str(), fullSize, result, InitialiseNewSegment, &creation);

  switch (result) {
    case platform::SharedMemory::OpenResult::kCreated:
      segment->created = true;
      return segment;
    case platform::SharedMemory::OpenResult::kAttached:
      break;
    case platform::SharedMemory::OpenResult::kNotOwned:
      // Another user's object under our name is as untrustworthy as a foreign header.
      ReportInvalidHeader(name, dataSize);
      return nullptr;
    case platform::SharedMemory::OpenResult::kFailed:
      return nullptr;
  }

  const uint8_t* address = segment->memory->Address();
  const size_t mapped = segment->memory->Size();
  if (!HasMagic(address, mapped) || mapped < kDataSizeOffset + 8) {
    ReportInvalidHeader(name, dataSize);
    return nullptr;
  }
  const uint64_t stored = LoadU64(address, kDataSizeOffset);
  if (stored != dataSize) {
    ReportSizeMismatch(name, dataSize, stored);
    return nullptr;
  }
  // A valid header on a block too short for it: the object is damaged; refuse
  // quietly, like a mapping that cannot be made.
  if (mapped < fullSize) return nullptr;
  return segment;
}

uint8_t* SegmentData(const SharedSegment* segment) {
  if (segment == nullptr || segment->memory == nullptr) return nullptr;
  return segment->memory->Address() + kHeaderSize;
}

bool SegmentCreated(const SharedSegment* segment) { return segment != nullptr && segment->created; }

void CloseSegment(std::unique_ptr<SharedSegment> segment) {
  if (segment == nullptr) return;
  segment->created = false;
  segment->memory.reset();
}
