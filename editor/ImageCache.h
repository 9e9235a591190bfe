#pragma once

class RAS_IBitmap;

// The process-wide cache of decoded image resources, shared by every editor
// in the process and emptied only when the module unloads. Each lookup and
// each insertion holds the cache's lock for its own duration only, so that
// decoding runs outside it.
namespace ImageCache {

// The cached image for the resource id, or none.
RAS_IBitmap* Find(int id);

// Caches the image unless another editor cached one for the id meanwhile;
// answers the image now cached (the given one is then destroyed).
RAS_IBitmap* Insert(int id, RAS_IBitmap* bitmap);

int Count();

}  // namespace ImageCache
