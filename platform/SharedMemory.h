#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace platform {

// A named block of memory shared by every process of the current user.
// The name alone tells blocks apart: on POSIX systems it becomes a file in a
// private folder of the user (the session's XDG_RUNTIME_DIR, else one under
// /tmp), on Windows the session-local kernel object "Local\" + name, which
// has no folder. Callers that need blocks of their own choose their names.
//
// Lifetime follows the holders: the block exists while at least one
// SharedMemory object (in any process) holds it, and its contents are gone once
// the last holder has closed it or died. The first opener after that gets a
// fresh, zero-filled block and is told so; deciding whether one is first and
// initialising the block is atomic between processes, so two openers never
// both see themselves as the creator.
//
// Only the owning user can open, read or write the block; a block of that name
// owned by someone else, or reached through a second name (a symbolic or
// hard link), is refused.
class SharedMemory {
 public:
  enum class OpenResult {
    kCreated,    // no one held the block: it is new, zero-filled and initialised
    kAttached,   // joined a block that other holders keep alive
    kFailed,     // the OS refused (no directory, no memory, ...)
    kNotOwned,   // a block of that name exists but does not belong to this user
  };

  // Called once by the creator, before any other opener can reach the block.
  using Initialiser = void (*)(SharedMemory& memory, void* context);

  // Opens the block `name`, or creates it with `size` bytes when no one holds
  // it (then `initialise`, when given, runs while other openers still wait).
  // An existing block may be shorter than `size`: Size() tells what is mapped.
  // Answers none unless the result is kCreated or kAttached.
  static std::unique_ptr<SharedMemory> Open(const char* name, size_t size, OpenResult& result,
                                            Initialiser initialise = nullptr,
                                            void* context = nullptr);

  // Unmaps the block and drops this holder; the last holder removes it.
  ~SharedMemory();
  SharedMemory(const SharedMemory&) = delete;
  SharedMemory& operator=(const SharedMemory&) = delete;

  uint8_t* Address() const;
  size_t Size() const;

  // Ownership marks: numbered exclusive claims that belong to one holder and
  // vanish with it, also when its process dies. They let holders tell a
  // record of a live holder from one a crashed holder left behind.
  // TryTakeMark answers true when this holder now has the mark (or had it),
  // false while another live holder has it.
  bool TryTakeMark(int index);
  void ReleaseMark(int index);

 private:
  struct Impl;
  explicit SharedMemory(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> mImpl;
};

}  // namespace platform
