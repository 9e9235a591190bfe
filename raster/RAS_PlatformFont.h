#pragma once

#include <cstdint>

#include "raster/RAS_IBitmap.h"

// A font made by the platform's font system (on Linux: fontconfig picks the
// face file, FreeType renders it). Opaque; created and deleted only through
// the functions below.
struct RAS_PlatformFont;

// What to create, in the terms a Windows logical font uses, so that the
// editor describes fonts the same way on every platform.
struct RAS_PlatformFontDesc {
  // > 0: cell height in pixels (ascent + descent); < 0: character (em)
  // height; 0: a default of 12 pixels em.
  int height = 0;
  // Average character width in pixels; 0 keeps the face's own proportions.
  int width = 0;
  // Tenths of a degree. Only 0 is supported: other values cannot be made.
  int escapement = 0;
  int orientation = 0;
  int weight = 400;  // 100..900; 700 is bold, 0 the default (400)
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  // 0 default, 3 non-antialiased, 4 antialiased, 5 cleartype (drawn as
  // antialiased grey coverage).
  int quality = 0;
  // Face name; "Arial" resolves to a metric-compatible face where one is
  // installed, and any other name to the closest installed face.
  char face[32] = "Arial";
};

constexpr int RAS_FontQualityNonAntialiased = 3;

// A new font, or none when no face can be made for the description.
RAS_PlatformFont* RAS_CreatePlatformFont(const RAS_PlatformFontDesc& desc);
void RAS_DeletePlatformFont(RAS_PlatformFont* font);

// Cell height in pixels: the distance from one line to the next.
int RAS_PlatformFontCellHeight(const RAS_PlatformFont* font);

// Size of one character as the platform's single-line text measure gives it:
// its advance and the cell height. False when the character cannot be laid out.
bool RAS_PlatformFontMeasureChar(RAS_PlatformFont* font, uint32_t code, int* width, int* height);

// Draws one character in white onto the bitmap with its cell's top-left at
// (x, y), without clipping to any rectangle but the bitmap: each pixel's
// colour bytes move towards 255 by the glyph's coverage.
void RAS_PlatformFontDrawChar(RAS_PlatformFont* font, RAS_IBitmap* bitmap, int x, int y,
                              uint32_t code);

// The file and face family that were chosen (for diagnostics and tests).
const char* RAS_PlatformFontFamily(const RAS_PlatformFont* font);
