#include <cstring>
#include <string>
#include <vector>

#include "platform/RecursiveLock.h"
#include "raster/RAS_Resources.h"

namespace {

struct ResourceEntry {
  std::string type;
  int id;
  const void* data;
  size_t size;
};

// Several instances may register from different host threads, so the table
// is guarded. Function-local statics avoid any dependence on the order in
// which static objects of different libraries are initialised.
struct ResourceTable {
  platform::RecursiveLock lock;
  std::vector<ResourceEntry> entries;
};

// Destroyed when the module unloads, so that a host that unloads the module
// gets all of its memory back.
ResourceTable& Table() {
  static ResourceTable table;
  return table;
}

}  // namespace

void RAS_RegisterResource(const char* type, int id, const void* data, size_t size) {
  if (!type) {
    return;
  }
  ResourceTable& table = Table();
  platform::LockGuard guard(table.lock);
  for (ResourceEntry& entry : table.entries) {
    if (entry.id == id && entry.type == type) {
      entry.data = data;
      entry.size = size;
      return;
    }
  }
  table.entries.push_back(ResourceEntry{type, id, data, size});
}

bool RAS_FindResource(const char* type, int id, const void** data, size_t* size) {
  if (!type) {
    return false;
  }
  ResourceTable& table = Table();
  platform::LockGuard guard(table.lock);
  for (const ResourceEntry& entry : table.entries) {
    if (entry.id == id && entry.type == type) {
      if (data) {
        *data = entry.data;
      }
      if (size) {
        *size = entry.size;
      }
      return true;
    }
  }
  return false;
}

void RAS_ClearResources() {
  ResourceTable& table = Table();
  platform::LockGuard guard(table.lock);
  table.entries.clear();
}
