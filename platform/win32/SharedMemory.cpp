// Shared memory on Windows: a named file mapping backed by the paging file,
// "Local\<name>", in the login session's own namespace. Every holder maps it
// through a handle of its own; the system destroys the mapping when the last
// handle closes, also when a holder's process dies.
//
// Whether one is first is decided by CreateFileMappingA itself: it creates the
// object, or opens the existing one and says so (ERROR_ALREADY_EXISTS), in one
// step. A named mutex "Local\<name>.create" is held around that step and the
// creator's initialisation, so an opener that attaches never sees a
// half-initialised block. A mutex left abandoned by an opener that died holding
// it is simply taken over: its own handle on the mapping died with it.
//
// Ownership marks are named events "Local\<name>.mark<k>": a holder owns mark
// k while it keeps the handle of the event it created. Creating an object of
// an existing name fails with ERROR_ALREADY_EXISTS, so one holder at a time
// can create it; closing the handle, or the death of the holder's process,
// destroys the event and frees the mark. Unlike mutex ownership this belongs
// to the holder, not to a thread: any thread may release it, and a second
// holder in the same process (even on the same thread) is refused.
#include "platform/SharedMemory.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>

namespace platform {

namespace {

constexpr DWORD kCreationLockTimeoutMs = 2000;

// Object names may hold any character but the backslash, and may not be
// empty: the empty name becomes "_", like a lone backslash.
std::string ObjectName(const char* name, const char* suffix) {
  std::string object = "Local\\";
  for (const char* c = name; *c != '\0'; ++c) object += *c == '\\' ? '_' : *c;
  if (name[0] == '\0') object += '_';
  return object + suffix;
}

// Takes the creation mutex; answers its handle, or null when it cannot be had.
HANDLE TakeCreationLock(const std::string& lockName) {
  HANDLE mutex = CreateMutexA(nullptr, FALSE, lockName.c_str());
  if (mutex == nullptr) return nullptr;
  const DWORD waited = WaitForSingleObject(mutex, kCreationLockTimeoutMs);
  if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) return mutex;
  CloseHandle(mutex);
  return nullptr;
}

void ReleaseCreationLock(HANDLE mutex) {
  if (mutex == nullptr) return;
  ReleaseMutex(mutex);
  CloseHandle(mutex);
}

// The bytes a view of the whole mapping reaches (whole pages).
size_t MappedBytes(const void* view) {
  MEMORY_BASIC_INFORMATION info = {};
  if (VirtualQuery(view, &info, sizeof info) == 0) return 0;
  return info.RegionSize;
}

}  // namespace

struct SharedMemory::Impl {
  std::string name;
  HANDLE mapping = nullptr;
  uint8_t* address = nullptr;
  size_t size = 0;
  std::map<int, HANDLE> marks;  // the marks this holder owns, by index
};

SharedMemory::SharedMemory(std::unique_ptr<Impl> impl) : mImpl(std::move(impl)) {}

std::unique_ptr<SharedMemory> SharedMemory::Open(const char* name, size_t size, OpenResult& result,
                                                 Initialiser initialise, void* context) {
  result = OpenResult::kFailed;
  if (name == nullptr || size == 0) return nullptr;
  const ULONGLONG wanted = size;

  std::unique_ptr<Impl> impl(new Impl);
  impl->name = name;
  HANDLE creationLock = TakeCreationLock(ObjectName(name, ".create"));
  if (creationLock == nullptr) return nullptr;

  auto fail = [&](OpenResult why) -> std::unique_ptr<SharedMemory> {
    if (impl->address != nullptr) UnmapViewOfFile(impl->address);
    if (impl->mapping != nullptr) CloseHandle(impl->mapping);
    ReleaseCreationLock(creationLock);
    result = why;
    return nullptr;
  };

  const std::string objectName = ObjectName(name, "");
  SetLastError(ERROR_SUCCESS);
  impl->mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, static_cast<DWORD>(wanted >> 32),
                                     static_cast<DWORD>(wanted & 0xFFFFFFFFu), objectName.c_str());
  const bool created = GetLastError() != ERROR_ALREADY_EXISTS;
  if (impl->mapping == nullptr) {
    // Another user's object of that name may not be opened by us at all.
    return fail(GetLastError() == ERROR_ACCESS_DENIED ? OpenResult::kNotOwned : OpenResult::kFailed);
  }

  // An existing mapping may be shorter than asked for: map all of it and
  // expose no more than the caller wants.
  void* view = MapViewOfFile(impl->mapping, FILE_MAP_ALL_ACCESS, 0, 0, created ? size : 0);
  if (view == nullptr) return fail(OpenResult::kFailed);
  impl->address = static_cast<uint8_t*>(view);
  impl->size = created ? size : std::min(size, MappedBytes(view));
  if (impl->size == 0) return fail(OpenResult::kFailed);

  std::unique_ptr<SharedMemory> memory(new SharedMemory(std::move(impl)));
  // A new mapping of the paging file is zero-filled.
  if (created && initialise != nullptr) initialise(*memory, context);
  ReleaseCreationLock(creationLock);
  result = created ? OpenResult::kCreated : OpenResult::kAttached;
  return memory;
}

SharedMemory::~SharedMemory() {
  for (const auto& mark : mImpl->marks) CloseHandle(mark.second);
  UnmapViewOfFile(mImpl->address);
  CloseHandle(mImpl->mapping);
}

bool SharedMemory::TryTakeMark(int index) {
  if (index < 0) return false;
  if (mImpl->marks.count(index) != 0) return true;
  const std::string eventName = ObjectName(mImpl->name.c_str(), (".mark" + std::to_string(index)).c_str());
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, eventName.c_str());
  if (event == nullptr) return false;  // an object of another kind has the name: not ours to take
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(event);  // a live holder keeps it
    return false;
  }
  mImpl->marks[index] = event;
  return true;
}

void SharedMemory::ReleaseMark(int index) {
  const auto mark = mImpl->marks.find(index);
  if (mark == mImpl->marks.end()) return;
  CloseHandle(mark->second);
  mImpl->marks.erase(mark);
}

uint8_t* SharedMemory::Address() const { return mImpl->address; }

size_t SharedMemory::Size() const { return mImpl->size; }

}  // namespace platform
