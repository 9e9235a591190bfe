#pragma once

#include "raster/RAS_SysBitmap.h"

// Process-wide state of the text renderer, shared by every RAS_CachedFont and
// used from the user-interface thread only.
struct RAS_TextState {
  RAS_TextState() = default;
  ~RAS_TextState();
  RAS_TextState(const RAS_TextState&) = delete;
  RAS_TextState& operator=(const RAS_TextState&) = delete;

  RAS_SysBitmap* glyphScratch = nullptr;  // white-on-black glyph rendering
  int liveFonts = 0;
  // Whether the process runs under a compatibility layer: -1 not yet
  // determined, 0 no, 1 yes.
  int compatibilityLayer = -1;
};

RAS_TextState& RAS_GetTextState();

// Makes the glyph scratch bitmap at least size x size and answers it.
RAS_SysBitmap* RAS_EnsureGlyphScratch(int size);
