#include "editor/ImageCache.h"

#include <memory>
#include <vector>

#include "platform/RecursiveLock.h"
#include "raster/RAS_IBitmap.h"

namespace {

struct Entry {
  int id;
  std::unique_ptr<RAS_IBitmap> bitmap;
};

// Destroyed, with every image in it, when the module unloads.
struct Cache {
  platform::RecursiveLock lock;
  std::vector<Entry> entries;

  RAS_IBitmap* FindLocked(int id) const {
    for (const Entry& e : entries)
      if (e.id == id) return e.bitmap.get();
    return nullptr;
  }
};

Cache& TheCache() {
  static Cache cache;
  return cache;
}

}  // namespace

namespace ImageCache {

RAS_IBitmap* Find(int id) {
  Cache& cache = TheCache();
  platform::LockGuard guard(cache.lock);
  return cache.FindLocked(id);
}

RAS_IBitmap* Insert(int id, RAS_IBitmap* bitmap) {
  std::unique_ptr<RAS_IBitmap> owned(bitmap);
  Cache& cache = TheCache();
  platform::LockGuard guard(cache.lock);
  if (RAS_IBitmap* existing = cache.FindLocked(id)) return existing;
  cache.entries.push_back(Entry{id, std::move(owned)});
  return bitmap;
}

int Count() {
  Cache& cache = TheCache();
  platform::LockGuard guard(cache.lock);
  return static_cast<int>(cache.entries.size());
}

}  // namespace ImageCache
