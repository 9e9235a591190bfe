#include "raster/TextState.h"

#include "raster/RAS_CachedFont.h"

// Released when the module unloads. It comes into being with the first font,
// before any process-wide font cache holds one, so those caches (destroyed in
// reverse order of creation) release their fonts while it still exists.
RAS_TextState& RAS_GetTextState() {
  static RAS_TextState state;
  return state;
}

RAS_TextState::~RAS_TextState() {
  delete glyphScratch;
  glyphScratch = nullptr;
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
