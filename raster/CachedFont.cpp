#include "raster/RAS_CachedFont.h"

#include <algorithm>
#include <cstring>

#include "platform/CompatibilityLayer.h"
#include "raster/BitmapRows.h"
#include "raster/BitmapView.h"
#include "raster/PixelOps.h"
#include "raster/RAS_Blit.h"
#include "raster/TextDecoding.h"
#include "raster/TextState.h"

namespace {

constexpr int kMaxGlyphLineHeight = 1023;
constexpr int kMaxNativeLineHeight = 255;
constexpr int kMinGlyphScratch = 256;
constexpr int kThreshold = 130;
constexpr uint8_t kMarked = 128;

// This platform has no text function of its own: every text takes the
// glyph-cache path. (The Windows build draws through GDI where allowed.)
constexpr bool kPlatformHasTextFunction = false;

constexpr int kStyleFlags = RAS_FontPrecalc | RAS_FontVertical | RAS_FontBottomUp | RAS_FontBlur |
                            RAS_FontInvert | RAS_FontMono | RAS_FontShadow | RAS_FontOutline;
constexpr unsigned int kAlignFlags = RAS_TextCenter | RAS_TextRight | RAS_TextVCenter | RAS_TextBottom;

bool RunningUnderCompatibilityLayer() {
  RAS_TextState& state = RAS_GetTextState();
  if (state.compatibilityLayer < 0) {
    state.compatibilityLayer = platform::IsRunningUnderCompatibilityLayer() ? 1 : 0;
  }
  return state.compatibilityLayer == 1;
}

// Rotates a w x h mask a quarter turn: clockwise for text running down,
// anticlockwise for text running up. The result is h wide and w high.
std::vector<uint8_t> RotateMask(const uint8_t* mask, int w, int h, bool bottomUp) {
  std::vector<uint8_t> rotated(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      int nx = bottomUp ? y : h - 1 - y;
      int ny = bottomUp ? w - 1 - x : x;
      rotated[static_cast<size_t>(ny) * h + nx] = mask[static_cast<size_t>(y) * w + x];
    }
  }
  return rotated;
}

// Thresholds coverage to 0 / 255; shadow marks the empty pixel below-right of
// each set one, outline every empty neighbour, with 128.
void ThresholdMask(uint8_t* mask, int w, int h, int flags) {
  for (int i = 0; i < w * h; ++i) {
    mask[i] = mask[i] > kThreshold ? 255 : 0;
  }
  bool outline = (flags & RAS_FontOutline) != 0;
  if (!outline && !(flags & RAS_FontShadow)) {
    return;
  }
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (mask[y * w + x] != 255) {
        continue;
      }
      for (int ny = y - 1; ny <= y + 1; ++ny) {
        for (int nx = x - 1; nx <= x + 1; ++nx) {
          bool neighbour = outline ? true : (nx == x + 1 && ny == y + 1);
          if (neighbour && nx >= 0 && ny >= 0 && nx < w && ny < h && mask[ny * w + nx] == 0) {
            mask[ny * w + nx] = kMarked;
          }
        }
      }
    }
  }
}

struct TextBox {
  int minX = 0, minY = 0, maxX = 0, maxY = 0;
  void Include(int left, int top, int right, int bottom) {
    minX = std::min(minX, left);
    minY = std::min(minY, top);
    maxX = std::max(maxX, right);
    maxY = std::max(maxY, bottom);
  }
};

}  // namespace

RAS_CachedFont::RAS_CachedFont() { ++RAS_GetTextState().liveFonts; }

RAS_CachedFont::~RAS_CachedFont() {
  if ((mFlags & RAS_FontOwnsHandle) && mPlatformFont) {
    RAS_DeletePlatformFont(mPlatformFont);
  }
  RAS_TextState& state = RAS_GetTextState();
  if (--state.liveFonts == 0) {
    delete state.glyphScratch;
    state.glyphScratch = nullptr;
  }
}

void RAS_CachedFont::SetFromPlatformFont(RAS_PlatformFont* font, int flags) {
  if ((mFlags & RAS_FontOwnsHandle) && mPlatformFont && mPlatformFont != font) {
    RAS_DeletePlatformFont(mPlatformFont);
  }
  mFlags = flags;
  mPlatformFont = font;
  if (font) {
    RAS_EnsureGlyphScratch(kMinGlyphScratch);
    mLineHeight = RAS_PlatformFontCellHeight(font);
  }
  for (GlyphRecord& record : mLowGlyphs) {
    record = GlyphRecord{};
  }
  mExtendedGlyphs.clear();
  mCoverage.clear();
  if (flags & RAS_FontPrecalc) {
    for (uint32_t code = 0; code < 128; ++code) {
      RenderGlyph(code);
    }
  }
}

uint32_t RAS_CachedFont::SetTextColor(uint32_t colour) {
  std::swap(mTextColor, colour);
  return colour;
}

uint32_t RAS_CachedFont::SetBackColor(uint32_t colour) {
  std::swap(mBackColor, colour);
  return colour;
}

uint32_t RAS_CachedFont::SetEffectColor(uint32_t colour) {
  std::swap(mEffectColor, colour);
  return colour;
}

int RAS_CachedFont::SetBackMode(int mode) {
  std::swap(mBackMode, mode);
  return mode;
}

void RAS_CachedFont::SetCombineMode(unsigned int mode, float alpha) {
  mCombineMode = mode;
  mCombineAlpha = alpha;
}

RAS_CachedFont::GlyphRecord* RAS_CachedFont::FindOrAddRecord(uint32_t code) {
  if (code < 128) {
    return &mLowGlyphs[code];
  }
  uint16_t key = static_cast<uint16_t>(code);
  auto byCode = [](const GlyphRecord& record, uint16_t c) { return record.code < c; };
  auto it = std::lower_bound(mExtendedGlyphs.begin(), mExtendedGlyphs.end(), key, byCode);
  if (it != mExtendedGlyphs.end() && it->code == key) {
    return &*it;
  }
  if (mFlags & RAS_FontPrecalc) {
    return nullptr;
  }
  GlyphRecord added;
  added.code = key;
  // Inserting at the sorted position keeps the array ordered by code.
  return &*mExtendedGlyphs.insert(it, added);
}

const RAS_CachedFont::GlyphRecord* RAS_CachedFont::RenderGlyph(uint32_t code) {
  if (!mPlatformFont || mLineHeight > kMaxGlyphLineHeight || code > 0xFFFF) {
    return nullptr;
  }
  GlyphRecord* record = FindOrAddRecord(code);
  if (!record || record->maskStart != 0) {
    return record;
  }
  int scratchSize = std::max(mLineHeight, 1) * 2 + 8;
  RAS_SysBitmap* scratch = RAS_EnsureGlyphScratch(scratchSize);
  int width = 0, height = 0;
  RAS_PlatformFontMeasureChar(mPlatformFont, code, &width, &height);
  int boxWidth = width + (mLineHeight < 16 ? 0 : mLineHeight / 16) + 2;
  width = std::min(width, scratch->GetWidth());
  boxWidth = std::min(boxWidth, scratch->GetWidth());
  height = std::min(height, scratch->GetHeight());
  if (width < 1 || height < 1) {
    *record = GlyphRecord{-1, 0, 0, 0, record->code};
    return record;
  }
  RAS_FillRectangle(scratch, 0, 0, boxWidth, height, 0, 1.0f, RAS_BlitCopy);
  RAS_PlatformFontDrawChar(mPlatformFont, scratch, 0, 0, code);
  record->advance = width;
  if (mFlags & RAS_FontBlur) {
    RAS_BitmapView box(scratch, 0, 0, boxWidth, height);
    RAS_BlurBitmap(&box);
  }
  StoreCoverage(*record, scratch, boxWidth, width, height);
  return record;
}

void RAS_CachedFont::StoreCoverage(GlyphRecord& record, RAS_IBitmap* scratch, int boxWidth, int width,
                                   int height) {
  RAS_BitmapRows rows;
  RAS_GetBitmapRows(scratch, &rows);
  bool invert = (mFlags & RAS_FontInvert) != 0;
  // Coverage is the red byte of the white-on-black rendering.
  std::vector<uint8_t> mask(static_cast<size_t>(boxWidth) * height);
  int rightmost = -1;
  for (int y = 0; y < height; ++y) {
    const uint8_t* p = rows.Pixel(0, y);
    for (int x = 0; x < boxWidth; ++x) {
      uint8_t coverage = p[x * 4 + 2];
      if (invert) {
        coverage = static_cast<uint8_t>(255 - coverage);
      }
      mask[static_cast<size_t>(y) * boxWidth + x] = coverage;
      if (coverage != 0) {
        rightmost = std::max(rightmost, x);
      }
    }
  }
  // Trim the spare columns right of the ink, but keep at least the advance.
  int maskWidth = std::max(rightmost + 1, width);
  for (int y = 1; y < height; ++y) {
    std::memmove(&mask[static_cast<size_t>(y) * maskWidth], &mask[static_cast<size_t>(y) * boxWidth],
                 static_cast<size_t>(maskWidth));
  }
  mask.resize(static_cast<size_t>(maskWidth) * height);
  int maskHeight = height;
  if (mFlags & RAS_FontVertical) {
    mask = RotateMask(mask.data(), maskWidth, maskHeight, (mFlags & RAS_FontBottomUp) != 0);
    std::swap(maskWidth, maskHeight);
  }
  if (mFlags & (RAS_FontMono | RAS_FontShadow | RAS_FontOutline)) {
    ThresholdMask(mask.data(), maskWidth, maskHeight, mFlags);
  }
  record.maskStart = static_cast<int>(mCoverage.size()) + 1;
  record.width = maskWidth;
  record.height = maskHeight;
  mCoverage.insert(mCoverage.end(), mask.begin(), mask.end());
}

const uint8_t* RAS_CachedFont::GetGlyphMask(const GlyphRecord& record) const {
  if (record.maskStart <= 0 || record.width <= 0 || record.height <= 0) {
    return nullptr;
  }
  return &mCoverage[static_cast<size_t>(record.maskStart - 1)];
}

bool RAS_CachedFont::UsesNativeText(unsigned int flags) const {
  if (mLineHeight > kMaxNativeLineHeight) {
    return kPlatformHasTextFunction;
  }
  bool allowed = (mFlags & RAS_FontNative) && mPlatformFont && !(flags & RAS_TextForceCache) &&
                 !(flags & RAS_TextUseColorAlpha) && !(mFlags & kStyleFlags) &&
                 (mExtraLineSpacing == 0 || (flags & RAS_TextSingleLine));
  return allowed && !RunningUnderCompatibilityLayer() && kPlatformHasTextFunction;
}

// Lays the text out from (0, 0), rendering glyphs on first use, and calls
// place (record, x, y) for each glyph with its cell's top-left. Horizontal
// text advances right; vertical text advances down (or up with bottom-up),
// and a line feed starts the next line (column for vertical text).
template <typename Place>
static void LayOutText(RAS_CachedFont& font, const char* text, int byteCount, unsigned int flags,
                       int lineStep, Place place) {
  const uint8_t* p = reinterpret_cast<const uint8_t*>(text);
  const uint8_t* end = p + byteCount;
  bool vertical = (font.GetFlags() & RAS_FontVertical) != 0;
  bool bottomUp = vertical && (font.GetFlags() & RAS_FontBottomUp);
  int x = 0, y = 0;
  while (p < end) {
    uint32_t code = RAS_DecodeTextChar(p, end);
    if (code == '\r') {
      continue;
    }
    if (code == '\n') {
      if (!(flags & RAS_TextSingleLine)) {
        (vertical ? y : x) = 0;
        (vertical ? x : y) += lineStep;
        continue;
      }
      code = ' ';
    }
    const RAS_CachedFont::GlyphRecord* record = font.RenderGlyph(code);
    if (!record) {
      continue;
    }
    if (!vertical) {
      place(*record, x, y);
      x += record->advance;
    } else if (bottomUp) {
      y -= record->advance;
      place(*record, x, y);
    } else {
      place(*record, x, y);
      y += record->advance;
    }
  }
}

int RAS_CachedFont::MeasureWithCache(const char* text, int byteCount, RAS_Rect* rect, unsigned int flags) {
  bool vertical = (mFlags & RAS_FontVertical) != 0;
  TextBox box;
  LayOutText(*this, text, byteCount, flags, mLineHeight + mExtraLineSpacing,
             [&](const GlyphRecord& record, int x, int y) {
               if (vertical) {
                 box.Include(x, y, x + record.width, y + std::max(record.advance, record.height));
               } else {
                 box.Include(x, y, x + std::max(record.advance, record.width), y + record.height);
               }
             });
  int width = box.maxX - box.minX, height = box.maxY - box.minY;
  rect->R = rect->L + width;
  rect->B = rect->T + height;
  return vertical ? width : height;
}

int RAS_CachedFont::DrawWithCache(RAS_IBitmap* bitmap, const char* text, int byteCount, RAS_Rect* rect,
                                  unsigned int flags) {
  float alpha = mCombineAlpha;
  if (flags & RAS_TextUseColorAlpha) {
    alpha *= static_cast<float>(mTextColor >> 24) / 255.0f;
  }
  if (alpha == 0.0f) {
    return 0;
  }
  bool vertical = (mFlags & RAS_FontVertical) != 0;
  bool bottomUp = vertical && (mFlags & RAS_FontBottomUp);
  int x = rect->L, y = rect->T;
  int textWidth = 0, textHeight = 0;
  // Aligned text needs its size first; so does bottom-up text, which is laid
  // out above its starting point and so begins at the bottom of its extent.
  if ((flags & kAlignFlags) || bottomUp) {
    RAS_Rect extent{};
    MeasureWithCache(text, byteCount, &extent, flags | RAS_TextForceCache | RAS_TextMeasure);
    textWidth = extent.R;
    textHeight = extent.B;
  }
  if (flags & kAlignFlags) {
    if (flags & RAS_TextCenter) {
      x = rect->L + (rect->R - rect->L - textWidth) / 2;
    } else if (flags & RAS_TextRight) {
      x = rect->R - textWidth;
    }
    if (flags & RAS_TextVCenter) {
      y = rect->T + (rect->B - rect->T - textHeight) / 2;
    } else if (flags & RAS_TextBottom) {
      y = rect->B - textHeight;
    }
  }
  RAS_Rect clip{0, 0, bitmap->GetWidth(), bitmap->GetHeight()};
  if (!(flags & RAS_TextNoClip)) {
    clip.L = std::max(clip.L, rect->L);
    clip.T = std::max(clip.T, rect->T);
    clip.R = std::min(clip.R, rect->R);
    clip.B = std::min(clip.B, rect->B);
  }
  if (clip.L >= clip.R || clip.T >= clip.B) {
    return 0;
  }
  int originX = x, originY = bottomUp ? y + textHeight : y;
  int covered = 0;
  bool any = false;
  LayOutText(*this, text, byteCount, flags, mLineHeight + mExtraLineSpacing,
             [&](const GlyphRecord& record, int gx, int gy) {
               if (record.maskStart <= 0) {
                 return;
               }
               int left = originX + gx, top = originY + gy;
               CompositeGlyph(bitmap, record, left, top, clip, alpha);
               int reach = vertical ? left + record.width - x : top + record.height - y;
               covered = any ? std::max(covered, reach) : reach;
               any = true;
             });
  return covered;
}

int RAS_CachedFont::DrawText(RAS_IBitmap* bitmap, const char* text, int byteCount, RAS_Rect* rect,
                             unsigned int flags) {
  if (!bitmap && !(flags & RAS_TextMeasure)) {
    return 0;
  }
  if (!text || !rect || !mPlatformFont) {
    return 0;
  }
  if (byteCount < 0) {
    byteCount = static_cast<int>(std::strlen(text));
  }
  // UsesNativeText only holds where the platform has a text function; this
  // build has none, so the glyph cache serves every call.
  if (flags & RAS_TextMeasure) {
    return MeasureWithCache(text, byteCount, rect, flags);
  }
  return DrawWithCache(bitmap, text, byteCount, rect, flags);
}

bool RAS_CachedFont::DrawGlyph(RAS_IBitmap* bitmap, uint32_t code, int x, int y, const RAS_Rect& clip) {
  if (!bitmap) {
    return false;
  }
  const GlyphRecord* record = RenderGlyph(code);
  return record && CompositeGlyph(bitmap, *record, x, y, clip, mCombineAlpha);
}

bool RAS_CachedFont::CompositeGlyph(RAS_IBitmap* bitmap, const GlyphRecord& record, int x, int y,
                                    const RAS_Rect& clip, float alpha) {
  const uint8_t* mask = GetGlyphMask(record);
  RAS_BitmapRows rows;
  // Only the copy combine mode has a defined glyph arithmetic.
  if (!mask || (mCombineMode & 0xFF) != RAS_BlitCopy || !RAS_GetBitmapRows(bitmap, &rows)) {
    return false;
  }
  long long left = std::max({static_cast<long long>(clip.L), 0LL, static_cast<long long>(x)});
  long long top = std::max({static_cast<long long>(clip.T), 0LL, static_cast<long long>(y)});
  long long right = std::min({static_cast<long long>(clip.R), static_cast<long long>(bitmap->GetWidth()),
                              static_cast<long long>(x) + record.width});
  long long bottom = std::min({static_cast<long long>(clip.B), static_cast<long long>(bitmap->GetHeight()),
                               static_cast<long long>(y) + record.height});
  if (left >= right || top >= bottom) {
    return false;
  }
  int c0 = static_cast<int>(left - x), c1 = static_cast<int>(right - x);
  int r0 = static_cast<int>(top - y), r1 = static_cast<int>(bottom - y);
  if (mBackMode == RAS_BackOpaque) {
    RAS_FillRectangle(bitmap, static_cast<int>(left), static_cast<int>(top), c1 - c0, r1 - r0, mBackColor, 1.0f,
                      RAS_BlitCopy);
  }
  int ia = raster_ops::WeightOf(alpha);
  int colour[3] = {int(mTextColor & 0xFF), int((mTextColor >> 8) & 0xFF), int((mTextColor >> 16) & 0xFF)};
  for (int r = r0; r < r1; ++r) {
    const uint8_t* coverage = mask + static_cast<size_t>(r) * record.width;
    uint8_t* p = rows.Pixel(static_cast<int>(left), y + r);
    for (int c = c0; c < c1; ++c, p += 4) {
      int cov = coverage[c];
      if (cov == 0) {
        continue;
      }
      int g = ia == 256 ? 255 - cov : 256 - std::min(ia * cov / 256, 256);
      for (int i = 0; i < 3; ++i) {
        p[i] = static_cast<uint8_t>(colour[i] + (p[i] - colour[i]) * g / 256);
      }
      p[3] = static_cast<uint8_t>(255 + (p[3] - 255) * g / 256);
    }
  }
  return true;
}
