#include "platform/ModuleContaining.h"

#include <windows.h>

namespace platform {

void* ModuleHandleContaining(const void* address) {
  if (address == nullptr) return nullptr;
  // Asks without taking a reference: the handle stays valid while the module is loaded.
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<LPCSTR>(address), &module)) {
    return nullptr;
  }
  return module;
}

}  // namespace platform
