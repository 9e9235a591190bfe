#pragma once

class RAS_CachedFont;

// The process-wide cache of fonts, keyed by size, orientation, style and
// face (compared as text), shared by every editor and emptied only when the
// module unloads. Lookup and insertion each hold the cache's lock.
namespace FontCache {

RAS_CachedFont* Find(int size, int orientation, int style, const char* face);

// Caches the font unless one with the same keys was cached meanwhile;
// answers the font now cached (the given one is then destroyed).
RAS_CachedFont* Insert(int size, int orientation, int style, const char* face,
                       RAS_CachedFont* font);

int Count();

}  // namespace FontCache
