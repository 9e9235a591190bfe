#pragma once

#include <cstddef>

#include "raster/RAS_IBitmap.h"
#include "raster/RAS_Resources.h"

// Decodes a PNG held in memory into straight-alpha native pixel words. With a
// bitmap given, it is resized and filled and returned; otherwise a new
// RAS_MemBitmap is returned (owned by the caller). Answers none for anything
// that is not a complete, decodable PNG within the size limits below; a
// bitmap given by the caller is then left alive (contents undefined).
RAS_IBitmap* RAS_ReadPngMemory(const void* bytes, size_t length, RAS_IBitmap* bitmap);

// Finds resource ("PNG", id) of the module and decodes it into a new
// RAS_MemBitmap; none when it is missing, shorter than 8 bytes or broken.
RAS_IBitmap* RAS_LoadPngResource(RAS_ModuleHandle module, int id);

// Images larger than this in either direction, or with more pixels than
// RAS_PngMaxPixels, are refused before anything is allocated for them.
constexpr int RAS_PngMaxSide = 65535;
constexpr long long RAS_PngMaxPixels = 16LL * 1024 * 1024;
