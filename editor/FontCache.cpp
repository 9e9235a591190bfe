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

platform::RecursiveLock& CacheLock() {
  static platform::RecursiveLock lock;
  return lock;
}

// The fonts, destroyed when the module unloads. Destroying a font reaches
// into the raster library's own process-wide font state, so the store is
// only created at the first insertion, after a font (and with it that
// state) exists: objects are destroyed in the reverse order of their
// creation, so the store goes first.
struct Store {
  std::vector<Entry> entries;
  ~Store();
};

Store* gStore = nullptr;  // guarded by CacheLock()

Store::~Store() {
  platform::LockGuard guard(CacheLock());
  entries.clear();
  gStore = nullptr;
}

Store& TheStore() {
  static Store store;
  gStore = &store;
  return store;
}

RAS_CachedFont* FindLocked(int size, int orientation, int style, const char* face) {
  if (!gStore) return nullptr;
  for (const Entry& e : gStore->entries)
    if (e.size == size && e.orientation == orientation && e.style == style && e.face == face)
      return e.font.get();
  return nullptr;
}

}  // namespace

namespace FontCache {

RAS_CachedFont* Find(int size, int orientation, int style, const char* face) {
  platform::LockGuard guard(CacheLock());
  return FindLocked(size, orientation, style, face ? face : "");
}

RAS_CachedFont* Insert(int size, int orientation, int style, const char* face,
                       RAS_CachedFont* font) {
  std::unique_ptr<RAS_CachedFont> owned(font);
  if (!face) face = "";
  platform::LockGuard guard(CacheLock());
  if (RAS_CachedFont* existing = FindLocked(size, orientation, style, face)) return existing;
  TheStore().entries.push_back(Entry{size, orientation, style, face, std::move(owned)});
  return font;
}

int Count() {
  platform::LockGuard guard(CacheLock());
  return gStore ? static_cast<int>(gStore->entries.size()) : 0;
}

}  // namespace FontCache
