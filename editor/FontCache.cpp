#include "editor/FontCache.h"

#include <memory>
#include <string>
#include <vector>

#include "platform/RecursiveLock.h"
#include "raster/RAS_CachedFont.h"

namespace {

struct Entry {
  int size;
  int orientation;
  int style;
  std::string face;
  std::unique_ptr<RAS_CachedFont> font;
};

// Destroyed, with every font in it, when the module unloads.
struct Cache {
  platform::RecursiveLock lock;
  std::vector<Entry> entries;

  RAS_CachedFont* FindLocked(int size, int orientation, int style, const char* face) const {
    for (const Entry& e : entries)
      if (e.size == size && e.orientation == orientation && e.style == style && e.face == face)
        return e.font.get();
    return nullptr;
  }
};

Cache& TheCache() {
  static Cache cache;
  return cache;
}

}  // namespace

namespace FontCache {

RAS_CachedFont* Find(int size, int orientation, int style, const char* face) {
  Cache& cache = TheCache();
  platform::LockGuard guard(cache.lock);
  return cache.FindLocked(size, orientation, style, face ? face : "");
}

RAS_CachedFont* Insert(int size, int orientation, int style, const char* face,
                       RAS_CachedFont* font) {
  std::unique_ptr<RAS_CachedFont> owned(font);
  if (!face) face = "";
  Cache& cache = TheCache();
  platform::LockGuard guard(cache.lock);
  if (RAS_CachedFont* existing = cache.FindLocked(size, orientation, style, face))
    return existing;
  cache.entries.push_back(Entry{size, orientation, style, face, std::move(owned)});
  return font;
}

int Count() {
  Cache& cache = TheCache();
  platform::LockGuard guard(cache.lock);
  return static_cast<int>(cache.entries.size());
}

}  // namespace FontCache
