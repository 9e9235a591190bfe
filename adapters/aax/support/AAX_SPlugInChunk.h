#pragma once

#include <cstddef>
#include <cstdint>

#include "adapters/aax/support/AAX.h"

// A chunk as host and plug-in exchange it: a fixed header, then the data.
// The host allocates the record with room for the size the plug-in answered
// from GetChunkSize; fSize holds the number of data bytes.
struct AAX_SPlugInChunk {
  int32_t fSize;             // byte 0
  int32_t fVersion;          // byte 4
  AAX_CTypeID fManID;        // byte 8
  AAX_CTypeID fProductID;    // byte 12
  AAX_CTypeID fPlugInID;     // byte 16
  AAX_CTypeID fChunkID;      // byte 20
  unsigned char fName[32];   // byte 24
  char fData[1];             // byte 56: fSize bytes
};

constexpr size_t kAAX_ChunkHeaderSize = 56;
static_assert(offsetof(AAX_SPlugInChunk, fSize) == 0, "chunk size at byte 0");
static_assert(offsetof(AAX_SPlugInChunk, fChunkID) == 20, "chunk ID at byte 20");
static_assert(offsetof(AAX_SPlugInChunk, fData) == kAAX_ChunkHeaderSize, "chunk data at byte 56");
