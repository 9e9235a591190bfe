#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {
class SharedMemory;
}

// The named shared-memory segment through which instances of the effect in
// every process of one login find each other: a 64-byte header ("SMEM" and
// the data size) followed by the data area that the group link lays out.
struct SharedSegment {
  SharedSegment();
  ~SharedSegment();

  std::string name;  // as given to OpenSegment, without any OS prefix
  std::unique_ptr<platform::SharedMemory> memory;
  uint64_t dataSize = 0;
  bool created = false;
};

// Fills a new segment's data area. Runs only in the opener that creates the
// segment, before any other opener can attach to it; `memory` is the new
// mapping, for ownership marks the creator takes at once.
using SegmentInitialiser = void (*)(platform::SharedMemory& memory, uint8_t* data, uint64_t dataSize,
                                    void* context);

// The namespace this process's segments live in: a prefix that OpenSegment
// puts before every name it is given when it names the OS object (on Windows
// the session-local kernel object "Local\" + prefix + name, on POSIX systems
// the file of that name in the user's private folder). The product never sets
// it, so every instance of every deliverable in a login session meets in the
// one segment of its name. Tests and tools that must never meet the user's
// running plug-ins, nor each other, choose a prefix of their own before they
// create any instance. A prefix of anything but letters, digits, '-', '_' and
// '.' is refused (false, namespace unchanged); "" is the product's namespace.
bool SetSegmentNamespace(const char* prefix);
std::string SegmentNamespace();

// Opens the segment `name`, or creates it with `dataSize` bytes of data when no
// instance holds it (then `initialise` fills its data area first). Answers
// none when the OS refuses, or, after a message on standard error, when the
// existing segment has a foreign header, another data size, or belongs to
// another user.
std::unique_ptr<SharedSegment> OpenSegment(const char* name, uint64_t dataSize,
                                           SegmentInitialiser initialise = nullptr,
                                           void* context = nullptr);

// The data area (64 bytes past the header), or none.
uint8_t* SegmentData(const SharedSegment* segment);

// True when this open created the segment; false for none.
bool SegmentCreated(const SharedSegment* segment);

// Unmaps the segment and drops this holder; the segment disappears with its
// last holder. Nothing happens for none.
void CloseSegment(std::unique_ptr<SharedSegment> segment);
