#pragma once

namespace platform {

// The operating system's handle of the plug-in module this code is linked
// into, as the module's entry point received it: every deliverable's entry
// point records it, and image resources, paths and window classes are found
// through it. Null before the entry point ran and after the module exits.
void SetThisModuleHandle(void* handle);
void* ThisModuleHandle();

}  // namespace platform
