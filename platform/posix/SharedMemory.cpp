// Shared memory on POSIX systems: a file in a directory that only the user can
// enter, mapped MAP_SHARED by every holder.
//
// Lifetime comes from file locks (flock), which the kernel drops when the
// holding descriptor is closed or its process dies, SIGKILL included:
//  - every holder keeps a shared lock on the block's file while it is open;
//  - an opener first takes an exclusive lock on a separate "<file>.lock", so
//    openers and closers of one name take turns between processes;
//  - under it, an opener that can take an exclusive lock on the block's file
//    knows no one holds it: whatever the file contains is left over from dead
//    holders, so it empties and initialises it, then downgrades to shared;
//  - a closer that can take the exclusive lock is the last holder and removes
//    both files (a file left behind by a crash is harmless: see above).
// The creation lock is only held for a few system calls; waiting for it is
// bounded so that a stopped process can never hang a host's plug-in load.
#include "platform/SharedMemory.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <string>

namespace platform {

namespace {

constexpr int kCreationLockAttempts = 2000;  // about two seconds in 1 ms steps

bool IsPrivateDirectory(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return false;
  return S_ISDIR(info.st_mode) && info.st_uid == geteuid() && (info.st_mode & 077) == 0;
}

// $XDG_RUNTIME_DIR when it is a private directory of this user (it lives for
// the login session), else a private directory of our own under /tmp.
bool FindDirectory(std::string& directory) {
  const char* runtime = getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/' && IsPrivateDirectory(runtime)) {
    directory = runtime;
    return true;
  }
  std::string fallback = "/tmp/stratum-shm-" + std::to_string(static_cast<unsigned long>(geteuid()));
  if (mkdir(fallback.c_str(), 0700) != 0 && errno != EEXIST) return false;
  if (!IsPrivateDirectory(fallback)) return false;
  directory = fallback;
  return true;
}

// Any character that could leave the directory or confuse a shell becomes '_'.
std::string FileNameFor(const char* name) {
  std::string file;
  for (const char* c = name; *c != '\0'; ++c) {
    bool plain = (*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9') ||
                 *c == '-' || *c == '_' || *c == '.';
    file += plain ? *c : '_';
  }
  return file + ".shm";
}

void SleepOneMillisecond() {
  struct timespec pause = {0, 1000000};
  nanosleep(&pause, nullptr);
}

bool IsSameFile(int fd, const std::string& path) {
  struct stat opened, named;
  return fstat(fd, &opened) == 0 && lstat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
         opened.st_ino == named.st_ino;
}

// Takes the creation lock of a block; answers its descriptor or -1. The last
// closer removes the lock file, so a lock taken on a file that has meanwhile
// been removed or replaced guards nothing: then try again with the new file.
int TakeCreationLock(const std::string& lockPath) {
  int fd = -1;
  for (int attempt = 0; attempt < kCreationLockAttempts; ++attempt) {
    if (fd < 0) fd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
      if (IsSameFile(fd, lockPath)) return fd;
      close(fd);
      fd = -1;
      continue;
    }
    if (errno != EWOULDBLOCK && errno != EINTR) break;
    SleepOneMillisecond();
  }
  if (fd >= 0) close(fd);
  return -1;
}

void ReleaseCreationLock(int fd) {
  if (fd >= 0) close(fd);  // closing drops the lock
}

}  // namespace

struct SharedMemory::Impl {
  std::string path;
  std::string lockPath;
  int fd = -1;
  uint8_t* address = nullptr;
  size_t size = 0;
};

SharedMemory::SharedMemory(std::unique_ptr<Impl> impl) : mImpl(std::move(impl)) {}

std::unique_ptr<SharedMemory> SharedMemory::Open(const char* name, size_t size, OpenResult& result,
                                                 Initialiser initialise, void* context) {
  result = OpenResult::kFailed;
  std::string directory;
  if (name == nullptr || size == 0 || !FindDirectory(directory)) return nullptr;

  std::unique_ptr<Impl> impl(new Impl);
  impl->path = directory + "/" + FileNameFor(name);
  impl->lockPath = impl->path + ".lock";
  int creationLock = TakeCreationLock(impl->lockPath);
  if (creationLock < 0) return nullptr;

  // Everything below runs while other openers and closers of this name wait.
  auto fail = [&](OpenResult why) -> std::unique_ptr<SharedMemory> {
    if (impl->address != nullptr) munmap(impl->address, impl->size);
    if (impl->fd >= 0) close(impl->fd);
    ReleaseCreationLock(creationLock);
    result = why;
    return nullptr;
  };

  impl->fd = open(impl->path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (impl->fd < 0) return fail(errno == ELOOP ? OpenResult::kNotOwned : OpenResult::kFailed);
  struct stat info;
  if (fstat(impl->fd, &info) != 0) return fail(OpenResult::kFailed);
  // A second name for the file (a hard link) would let whoever made it point
  // the segment at a file of theirs, which the creator then truncates.
  if (!S_ISREG(info.st_mode) || info.st_uid != geteuid() || (info.st_mode & 077) != 0 ||
      info.st_nlink != 1) {
    return fail(OpenResult::kNotOwned);
  }

  bool created = flock(impl->fd, LOCK_EX | LOCK_NB) == 0;
  if (created) {
    // No holder anywhere: empty the file so that nothing of a dead segment survives.
    if (ftruncate(impl->fd, 0) != 0 || ftruncate(impl->fd, static_cast<off_t>(size)) != 0) {
      return fail(OpenResult::kFailed);
    }
    impl->size = size;
  } else {
    if (flock(impl->fd, LOCK_SH | LOCK_NB) != 0) return fail(OpenResult::kFailed);
    impl->size = std::min(size, static_cast<size_t>(info.st_size));
    if (impl->size == 0) return fail(OpenResult::kFailed);
  }

  void* address = mmap(nullptr, impl->size, PROT_READ | PROT_WRITE, MAP_SHARED, impl->fd, 0);
  if (address == MAP_FAILED) return fail(OpenResult::kFailed);
  impl->address = static_cast<uint8_t*>(address);

  // Openers only try the exclusive lock while holding the creation lock,
  // which we still hold, so nobody can slip in while this converts; and the
  // creation lock keeps every other opener out until initialisation is done.
  if (created && flock(impl->fd, LOCK_SH | LOCK_NB) != 0) return fail(OpenResult::kFailed);
  std::unique_ptr<SharedMemory> memory(new SharedMemory(std::move(impl)));
  if (created && initialise != nullptr) initialise(*memory, context);
  ReleaseCreationLock(creationLock);
  result = created ? OpenResult::kCreated : OpenResult::kAttached;
  return memory;
}

SharedMemory::~SharedMemory() {
  munmap(mImpl->address, mImpl->size);
  int creationLock = TakeCreationLock(mImpl->lockPath);
  if (creationLock >= 0) {
    // The last holder removes the files, but only if the name still refers to
    // the block it held. The lock file goes last, while its lock is still held.
    if (flock(mImpl->fd, LOCK_EX | LOCK_NB) == 0 && IsSameFile(mImpl->fd, mImpl->path)) {
      unlink(mImpl->path.c_str());
      unlink(mImpl->lockPath.c_str());
    }
  }
  // Without the creation lock the file stays; the next opener finds no holder
  // and starts afresh anyway.
  close(mImpl->fd);
  ReleaseCreationLock(creationLock);
}

// Marks are one-byte OFD record locks far beyond the end of the file: they
// belong to this holder's own open file description, so they conflict with
// other holders in this process as well as in others, and the kernel drops
// them when the descriptor is closed or the process dies.
namespace {
constexpr off_t kFirstMarkOffset = off_t{1} << 40;

bool ChangeMark(int fd, int index, short type) {
  struct flock mark = {};
  mark.l_type = type;
  mark.l_whence = SEEK_SET;
  mark.l_start = kFirstMarkOffset + index;
  mark.l_len = 1;
  return fcntl(fd, F_OFD_SETLK, &mark) == 0;
}
}  // namespace

bool SharedMemory::TryTakeMark(int index) { return index >= 0 && ChangeMark(mImpl->fd, index, F_WRLCK); }

void SharedMemory::ReleaseMark(int index) {
  if (index >= 0) ChangeMark(mImpl->fd, index, F_UNLCK);
}

uint8_t* SharedMemory::Address() const { return mImpl->address; }

size_t SharedMemory::Size() const { return mImpl->size; }

}  // namespace platform
