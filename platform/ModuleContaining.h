#pragma once

namespace platform {

// The operating system's handle of the loaded module (shared library or
// executable) whose code or data holds the address; null when none does.
// For module entry points that are not handed their own handle.
void* ModuleHandleContaining(const void* address);

}  // namespace platform
