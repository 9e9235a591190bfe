#include "platform/LoadableModule.h"

#include <dlfcn.h>

namespace platform {

LoadableModule::~LoadableModule() { Close(); }

bool LoadableModule::Open(const std::string& path, std::string* error) {
  Close();
  // Local symbols: each plug-in module keeps its own copies of what it links.
  mHandle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (mHandle == nullptr) {
    if (error != nullptr) {
      const char* reason = dlerror();
      *error = reason != nullptr ? reason : "cannot load module";
    }
    return false;
  }
  return true;
}

void LoadableModule::Close() {
  if (mHandle != nullptr) {
    dlclose(mHandle);
    mHandle = nullptr;
  }
}

void* LoadableModule::Symbol(const char* name) const {
  if (mHandle == nullptr) return nullptr;
  return dlsym(mHandle, name);
}

}  // namespace platform
