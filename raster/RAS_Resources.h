#pragma once

#include <cstddef>

// A process-wide table of resources compiled into the module, looked up by
// type and numeric id. On Linux the build embeds the files (see
// stratum_add_png_resources in raster/PngResources.cmake) and the module
// calls the generated registration function once before loading images.

// The module whose resources are meant; on Linux the table belongs to the
// module that contains this code, so the handle is not consulted.
using RAS_ModuleHandle = void*;

// Adds or replaces the resource (type, id). The bytes are not copied and must
// stay valid until the module unloads (generated tables are static data).
void RAS_RegisterResource(const char* type, int id, const void* data, size_t size);

// True with data and size set when (type, id) is registered.
bool RAS_FindResource(const char* type, int id, const void** data, size_t* size);

// Removes every registered resource (for tests and module unload).
void RAS_ClearResources();
