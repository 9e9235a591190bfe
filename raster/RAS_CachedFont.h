#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "raster/RAS_IBitmap.h"
#include "raster/RAS_PlatformFont.h"
#include "raster/RAS_Rect.h"

// Font flags (SetFromPlatformFont).
enum RAS_FontFlags : int {
  RAS_FontVertical = 1,       // glyph masks rotated for vertical text
  RAS_FontBottomUp = 2,       // with vertical: text runs bottom to top
  RAS_FontPrecalc = 4,        // render 0..127 at once; nothing else later
  RAS_FontBlur = 0x10,        // blur each glyph when rendering
  RAS_FontInvert = 0x20,      // invert coverage
  RAS_FontMono = 0x40,        // coverage thresholded to 0 / 255
  RAS_FontShadow = 0x80,      // thresholded, shadow pixels marked 128
  RAS_FontOutline = 0x100,    // thresholded, outline pixels marked 128
  RAS_FontOwnsHandle = 0x200, // platform font deleted with the font
  RAS_FontNative = 0x400,     // allow the platform's own text drawing
};

// Text flags (DrawText); the values match the platform text flags.
enum RAS_TextFlags : unsigned int {
  RAS_TextCenter = 0x1,
  RAS_TextRight = 0x2,
  RAS_TextVCenter = 0x4,
  RAS_TextBottom = 0x8,
  RAS_TextSingleLine = 0x20,
  RAS_TextNoClip = 0x100,
  RAS_TextMeasure = 0x400,     // set the rectangle's right and bottom only
  RAS_TextNoPrefix = 0x800,
  RAS_TextUseColorAlpha = 1u << 30,  // weight by the text colour's alpha
  RAS_TextForceCache = 1u << 31,     // internal: measure with the glyph cache
};

enum RAS_BackMode : int { RAS_BackTransparent = 1, RAS_BackOpaque = 2 };

// The font interface the editor draws text through.
class RAS_IFont {
 public:
  virtual ~RAS_IFont() = default;
  // Adopts a platform font and the font flags; resets the glyph cache.
  virtual void SetFromPlatformFont(RAS_PlatformFont* font, int flags) = 0;
  virtual uint32_t SetTextColor(uint32_t colour) = 0;   // returns the previous one
  virtual uint32_t SetBackColor(uint32_t colour) = 0;   // returns the previous one
  virtual uint32_t SetEffectColor(uint32_t colour) = 0; // returns the previous one
  virtual int SetBackMode(int mode) = 0;                // returns the previous one
  virtual void SetCombineMode(unsigned int mode, float alpha) = 0;
  // Draws (or with RAS_TextMeasure measures) byteCount bytes of UTF-8 text
  // (-1: up to the terminating zero). Answers the height covered (the width
  // for vertical fonts), 0 when nothing was drawn.
  virtual int DrawText(RAS_IBitmap* bitmap, const char* text, int byteCount, RAS_Rect* rect,
                       unsigned int flags) = 0;
  virtual uint32_t GetTextColor() = 0;
  virtual RAS_PlatformFont* GetPlatformFont() = 0;
  virtual int GetLineHeight() = 0;
  // Composites one cached glyph with its cell's top-left at (x, y), clipped
  // to clip; answers whether anything was drawn.
  virtual bool DrawGlyph(RAS_IBitmap* bitmap, uint32_t code, int x, int y,
                         const RAS_Rect& clip) = 0;
};

// A font that renders each character once into a coverage mask and
// composites the masks. Linux has no platform text function, so all text
// goes through the cache there. Use from the user-interface thread only.
class RAS_CachedFont : public RAS_IFont {
 public:
  struct GlyphRecord {
    int maskStart = 0;  // offset in the coverage data + 1; 0 not rendered, -1 empty
    int width = 0;
    int height = 0;
    int advance = 0;
    uint16_t code = 0;
  };

  RAS_CachedFont();
  ~RAS_CachedFont() override;
  RAS_CachedFont(const RAS_CachedFont&) = delete;
  RAS_CachedFont& operator=(const RAS_CachedFont&) = delete;

  void SetFromPlatformFont(RAS_PlatformFont* font, int flags) override;
  uint32_t SetTextColor(uint32_t colour) override;
  uint32_t SetBackColor(uint32_t colour) override;
  uint32_t SetEffectColor(uint32_t colour) override;
  int SetBackMode(int mode) override;
  void SetCombineMode(unsigned int mode, float alpha) override;
  int DrawText(RAS_IBitmap* bitmap, const char* text, int byteCount, RAS_Rect* rect,
               unsigned int flags) override;
  uint32_t GetTextColor() override { return mTextColor; }
  RAS_PlatformFont* GetPlatformFont() override { return mPlatformFont; }
  int GetLineHeight() override { return mLineHeight; }
  bool DrawGlyph(RAS_IBitmap* bitmap, uint32_t code, int x, int y, const RAS_Rect& clip) override;

  // Renders a character into the cache if it is not there yet; answers its
  // record, or none when it cannot be rendered (line height above 1023,
  // precalculated font without that character, no platform font).
  const GlyphRecord* RenderGlyph(uint32_t code);
  // The glyph's coverage mask (width x height bytes), none when it has none.
  const uint8_t* GetGlyphMask(const GlyphRecord& record) const;

  // Whether DrawText with these flags would use the platform's own text
  // function: only with FontNative, no style flags, an opaque colour and
  // outside a compatibility layer, and never on a platform without one
  // (Linux), where the glyph cache draws everything.
  bool UsesNativeText(unsigned int flags) const;

  int GetFlags() const { return mFlags; }
  void SetExtraLineSpacing(int pixels) { mExtraLineSpacing = pixels; }
  size_t GetExtendedGlyphCount() const { return mExtendedGlyphs.size(); }

 private:
  GlyphRecord* FindOrAddRecord(uint32_t code);
  int MeasureWithCache(const char* text, int byteCount, RAS_Rect* rect, unsigned int flags);
  int DrawWithCache(RAS_IBitmap* bitmap, const char* text, int byteCount, RAS_Rect* rect,
                    unsigned int flags);
  bool CompositeGlyph(RAS_IBitmap* bitmap, const GlyphRecord& record, int x, int y,
                      const RAS_Rect& clip, float alpha);
  void StoreCoverage(GlyphRecord& record, RAS_IBitmap* scratch, int boxWidth, int width,
                     int height);

  uint32_t mTextColor = 0;
  uint32_t mBackColor = 0xFFFFFFFFu;
  uint32_t mEffectColor = 0xFFFFFFFFu;
  int mBackMode = RAS_BackTransparent;
  unsigned int mCombineMode = 0;
  float mCombineAlpha = 1.0f;
  int mFlags = 0;
  int mLineHeight = 0;
  int mExtraLineSpacing = 0;
  GlyphRecord mLowGlyphs[128];
  std::vector<GlyphRecord> mExtendedGlyphs;  // sorted by code
  std::vector<uint8_t> mCoverage;
  RAS_PlatformFont* mPlatformFont = nullptr;
};

// Process-wide text state shared by every font: the glyph scratch bitmap
// (created on first use, destroyed with the last font) and the live count.
int RAS_LiveFontCount();
RAS_IBitmap* RAS_GlyphScratchBitmap();
