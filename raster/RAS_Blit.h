#pragma once

#include "raster/RAS_IBitmap.h"
#include "raster/RAS_Rect.h"

// Mode word of the blit, fill and line operations: the low byte selects the
// blend, RAS_BlitUseAlpha weights by the source pixel's (blit) or the
// colour's (fill, line) alpha.
enum RAS_BlitMode : unsigned int {
  RAS_BlitCopy = 0,
  RAS_BlitAdd = 1,
  RAS_BlitDodge = 2,
  RAS_BlitMultiply = 3,
  RAS_BlitOverlay = 4,
  RAS_BlitHsvAdjust = 5,
  // Blit only: low byte 0xF0 | dst << 2 | src copies byte channel src of the
  // source into byte channel dst of the destination (0 B, 1 G, 2 R, 3 A).
  RAS_BlitChannelCopy = 0xF0,
  RAS_BlitUseAlpha = 0x10000,
};

// Low byte for a channel copy from byte channel srcChannel to dstChannel.
constexpr unsigned int RAS_ChannelCopyMode(int srcChannel, int dstChannel) {
  return RAS_BlitChannelCopy | (unsigned(dstChannel & 3) << 2) | unsigned(srcChannel & 3);
}

// Copies or blends source rectangle srcRect (none: the whole source) of src
// onto dest with its top-left corner at (dstX, dstY), weighted by alpha
// (0..1). Everything is clipped to both bitmaps.
void RAS_BlitBitmap(RAS_IBitmap* dest, RAS_IBitmap* src, int dstX, int dstY,
                    const RAS_Rect* srcRect, float alpha, unsigned int mode);

// Fills or blends a w x h rectangle with one colour word.
void RAS_FillRectangle(RAS_IBitmap* dest, int x, int y, int w, int h, uint32_t colour,
                       float alpha, unsigned int mode);

// A one-pixel line including both end points, clipped to the bitmap.
// Horizontal and vertical lines use the fill's arithmetic; antialias only
// affects diagonal lines.
void RAS_DrawLine(RAS_IBitmap* dest, int x1, int y1, int x2, int y2, uint32_t colour,
                  float alpha, unsigned int mode, bool antialias);

// A 3 x 3 (1 2 1) blur of the whole bitmap, in place, all four bytes.
void RAS_BlurBitmap(RAS_IBitmap* bitmap);
