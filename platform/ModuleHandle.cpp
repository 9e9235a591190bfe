#include "platform/ModuleHandle.h"

#include <atomic>

namespace platform {

namespace {
std::atomic<void*> gThisModule{nullptr};
}  // namespace

void SetThisModuleHandle(void* handle) { gThisModule.store(handle, std::memory_order_release); }

void* ThisModuleHandle() { return gThisModule.load(std::memory_order_acquire); }

}  // namespace platform
