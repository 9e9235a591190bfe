// The interposers behind AudioThreadProbe.h.
//
// Allocations: in plain builds malloc, calloc, realloc, free and the aligned
// forms are defined here and forward to glibc's own entries (__libc_*), so a
// plug-in module's operator new (which ends in malloc) is seen too. Under
// AddressSanitizer, which owns malloc, its allocation hooks do the counting.
//
// Locks: every lock of the system is a pthread mutex (the instance lock, the
// caches' and the creation locks), so pthread_mutex_lock is interposed and
// the distinct mutexes a window locks are recorded; read-write locks, which
// the system never uses, count as foreign waits. The real functions are
// glibc's versioned internal names, bound at link time, so no lookup (which
// could itself lock or allocate) is needed. Under AddressSanitizer, whose
// runtime intercepts the same functions, locks are not watched; the plain
// build checks them.
#include "tests/deliverables/vst3-linux/AudioThreadProbe.h"

#include <pthread.h>

#include <cstdint>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's hook entry (its header does not ship with every compiler).
extern "C" int __sanitizer_install_malloc_and_free_hooks(
    void (*malloc_hook)(const volatile void*, size_t), void (*free_hook)(const volatile void*));
#define STRATUM_PROBE_ASAN 1
#else
#define STRATUM_PROBE_ASAN 0
#endif

namespace {

constexpr int kMaxMutexes = 8;

// Plain thread-locals of the executable: constant-initialised, no allocation.
thread_local bool tWatching = false;
thread_local size_t tAllocations = 0;
thread_local size_t tFrees = 0;
thread_local size_t tLargest = 0;
thread_local size_t tOtherWaits = 0;
thread_local int tMutexCount = 0;
thread_local const void* tMutexes[kMaxMutexes] = {};

void NoteAllocation(size_t size) {
  if (!tWatching) return;
  ++tAllocations;
  if (size > tLargest) tLargest = size;
}

void NoteFree(const void* pointer) {
  if (tWatching && pointer != nullptr) ++tFrees;
}

[[maybe_unused]] void NoteMutex(const void* mutex) {
  if (!tWatching) return;
  for (int i = 0; i < tMutexCount; ++i) {
    if (tMutexes[i] == mutex) return;
  }
  if (tMutexCount < kMaxMutexes) {
    tMutexes[tMutexCount] = mutex;
  }
  ++tMutexCount;
}

#if STRATUM_PROBE_ASAN
void MallocHook(const volatile void*, size_t size) { NoteAllocation(size); }
void FreeHook(const volatile void* pointer) { NoteFree(const_cast<const void*>(pointer)); }
struct InstallHooks {
  InstallHooks() { __sanitizer_install_malloc_and_free_hooks(MallocHook, FreeHook); }
} gInstallHooks;
#endif

}  // namespace

// Interposers must be visible to the loaded module whatever the build's
// default visibility.
#define STRATUM_INTERPOSE __attribute__((visibility("default")))

extern "C" {

#if !STRATUM_PROBE_ASAN
int stratum_real_mutex_lock(pthread_mutex_t* mutex);
int stratum_real_rwlock_rdlock(pthread_rwlock_t* lock);
int stratum_real_rwlock_wrlock(pthread_rwlock_t* lock);
__asm__(".symver stratum_real_mutex_lock,__pthread_mutex_lock@GLIBC_2.2.5");
__asm__(".symver stratum_real_rwlock_rdlock,__pthread_rwlock_rdlock@GLIBC_2.2.5");
__asm__(".symver stratum_real_rwlock_wrlock,__pthread_rwlock_wrlock@GLIBC_2.2.5");

STRATUM_INTERPOSE int pthread_mutex_lock(pthread_mutex_t* mutex) {
  NoteMutex(mutex);
  return stratum_real_mutex_lock(mutex);
}

STRATUM_INTERPOSE int pthread_rwlock_rdlock(pthread_rwlock_t* lock) {
  if (tWatching) ++tOtherWaits;
  return stratum_real_rwlock_rdlock(lock);
}

STRATUM_INTERPOSE int pthread_rwlock_wrlock(pthread_rwlock_t* lock) {
  if (tWatching) ++tOtherWaits;
  return stratum_real_rwlock_wrlock(lock);
}

void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* pointer);

STRATUM_INTERPOSE void* malloc(size_t size) {
  NoteAllocation(size);
  return __libc_malloc(size);
}

STRATUM_INTERPOSE void* calloc(size_t count, size_t size) {
  NoteAllocation(count * size);
  return __libc_calloc(count, size);
}

STRATUM_INTERPOSE void* realloc(void* pointer, size_t size) {
  NoteAllocation(size);
  return __libc_realloc(pointer, size);
}

STRATUM_INTERPOSE void free(void* pointer) {
  NoteFree(pointer);
  __libc_free(pointer);
}

STRATUM_INTERPOSE void* memalign(size_t alignment, size_t size) {
  NoteAllocation(size);
  return __libc_memalign(alignment, size);
}

STRATUM_INTERPOSE void* aligned_alloc(size_t alignment, size_t size) {
  NoteAllocation(size);
  return __libc_memalign(alignment, size);
}

STRATUM_INTERPOSE int posix_memalign(void** out, size_t alignment, size_t size) {
  NoteAllocation(size);
  void* pointer = __libc_memalign(alignment, size);
  if (pointer == nullptr) return 12;  // ENOMEM
  *out = pointer;
  return 0;
}
#endif

}  // extern "C"

namespace probe {

void BeginWindow() {
  tAllocations = 0;
  tFrees = 0;
  tLargest = 0;
  tOtherWaits = 0;
  tMutexCount = 0;
  tWatching = true;
}

Record EndWindow() {
  tWatching = false;
  Record record;
  record.allocations = tAllocations;
  record.frees = tFrees;
  record.largestAllocation = tLargest;
  record.distinctMutexes = tMutexCount;
  record.otherLockWaits = tOtherWaits;
  return record;
}

bool CountsAllocations() { return true; }

bool CountsLocks() { return STRATUM_PROBE_ASAN == 0; }

}  // namespace probe
