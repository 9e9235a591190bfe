#include "platform/ModuleContaining.h"

#include <dlfcn.h>

namespace platform {

void* ModuleHandleContaining(const void* address) {
  Dl_info info = {};
  if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return nullptr;
  // Asks for the module already loaded; the extra reference is given back at
  // once, the handle stays valid while the module is loaded.
  void* handle = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
  if (handle != nullptr) dlclose(handle);
  return handle;
}

}  // namespace platform
