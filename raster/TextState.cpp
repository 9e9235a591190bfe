#include "raster/TextState.h"

#include "raster/RAS_CachedFont.h"

// Never destroyed: fonts in other process-wide caches may go during static
// destruction and still update the count and free the scratch bitmap.
RAS_TextState& RAS_GetTextState() {
  static RAS_TextState* state = new RAS_TextState;
  return *state;
}

RAS_SysBitmap* RAS_EnsureGlyphScratch(int size) {
  RAS_TextState& state = RAS_GetTextState();
  if (!state.glyphScratch) {
    state.glyphScratch = new RAS_SysBitmap(size, size);
  } else if (state.glyphScratch->GetWidth() < size || state.glyphScratch->GetHeight() < size) {
    state.glyphScratch->Resize(size, size);
  }
  return state.glyphScratch;
}

int RAS_LiveFontCount() { return RAS_GetTextState().liveFonts; }

RAS_IBitmap* RAS_GlyphScratchBitmap() { return RAS_GetTextState().glyphScratch; }
