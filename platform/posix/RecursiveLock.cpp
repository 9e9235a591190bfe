#include "platform/RecursiveLock.h"

#include <pthread.h>

namespace platform {

struct RecursiveLock::Impl {
  pthread_mutex_t mutex;
};

RecursiveLock::RecursiveLock() : mImpl(new Impl) {
  pthread_mutexattr_t attributes;
  pthread_mutexattr_init(&attributes);
  pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
  pthread_mutex_init(&mImpl->mutex, &attributes);
  pthread_mutexattr_destroy(&attributes);
}

RecursiveLock::~RecursiveLock() { pthread_mutex_destroy(&mImpl->mutex); }

void RecursiveLock::Lock() { pthread_mutex_lock(&mImpl->mutex); }

void RecursiveLock::Unlock() { pthread_mutex_unlock(&mImpl->mutex); }

bool RecursiveLock::TryLock() { return pthread_mutex_trylock(&mImpl->mutex) == 0; }

}  // namespace platform
