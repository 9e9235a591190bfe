#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "TestBitmaps.h"
#include "raster/RAS_Blit.h"
#include "raster/RAS_CachedFont.h"
#include "raster/RAS_PlatformFont.h"
#include "raster/RAS_SysBitmap.h"
#include "raster/TextDecoding.h"

namespace {

RAS_PlatformFont* MakePlatformFont(int height, int weight = 400, const char* face = "Arial") {
  RAS_PlatformFontDesc desc;
  desc.height = height;
  desc.weight = weight;
  std::snprintf(desc.face, sizeof desc.face, "%s", face);
  return RAS_CreatePlatformFont(desc);
}

std::unique_ptr<RAS_CachedFont> MakeFont(int height = 12, int flags = RAS_FontOwnsHandle | RAS_FontNative) {
  RAS_PlatformFont* platformFont = MakePlatformFont(height);
  if (!platformFont) return nullptr;
  auto font = std::make_unique<RAS_CachedFont>();
  font->SetFromPlatformFont(platformFont, flags);
  return font;
}

RAS_Rect Measure(RAS_CachedFont& font, const char* text, unsigned int flags = RAS_TextSingleLine, int bytes = -1) {
  RAS_Rect r{};
  font.DrawText(nullptr, text, bytes, &r, flags | RAS_TextMeasure);
  return r;
}

bool SamePixels(RAS_IBitmap& a, RAS_IBitmap& b) {
  for (int y = 0; y < a.GetHeight(); ++y)
    for (int x = 0; x < a.GetWidth(); ++x)
      if (PixelAt(a, x, y) != PixelAt(b, x, y)) return false;
  return true;
}

// Bounding box of the pixels that differ from `background`.
RAS_Rect InkBox(RAS_IBitmap& b, uint32_t background) {
  RAS_Rect box{1 << 20, 1 << 20, -1, -1};
  for (int y = 0; y < b.GetHeight(); ++y)
    for (int x = 0; x < b.GetWidth(); ++x)
      if (PixelAt(b, x, y) != background) {
        box.L = std::min(box.L, x);
        box.T = std::min(box.T, y);
        box.R = std::max(box.R, x + 1);
        box.B = std::max(box.B, y + 1);
      }
  return box;
}

}  // namespace

TEST(PlatformFont, ResolvesFacesAndHeights) {
  RAS_PlatformFont* arial = MakePlatformFont(12);
  ASSERT_NE(arial, nullptr);
  // Debian's metric-compatible face (fonts-liberation2), DejaVu as fallback.
  std::string family = RAS_PlatformFontFamily(arial);
  EXPECT_TRUE(family == "Liberation Sans" || family == "DejaVu Sans") << family;
  EXPECT_EQ(RAS_PlatformFontCellHeight(arial), 12);

  RAS_PlatformFont* unknown = MakePlatformFont(12, 400, "No Such Face Anywhere");
  ASSERT_NE(unknown, nullptr);  // substituted, like any logical font
  EXPECT_STRNE(RAS_PlatformFontFamily(unknown), "");

  RAS_PlatformFont* byEm = MakePlatformFont(-12);
  ASSERT_NE(byEm, nullptr);
  EXPECT_GT(RAS_PlatformFontCellHeight(byEm), 12);  // the cell includes the leading

  RAS_PlatformFont* bold = MakePlatformFont(12, 700);
  ASSERT_NE(bold, nullptr);
  int regularWidth = 0, boldWidth = 0, h = 0;
  ASSERT_TRUE(RAS_PlatformFontMeasureChar(arial, 'W', &regularWidth, &h));
  EXPECT_EQ(h, 12);
  ASSERT_TRUE(RAS_PlatformFontMeasureChar(bold, 'W', &boldWidth, &h));
  EXPECT_GE(boldWidth, regularWidth);

  RAS_PlatformFontDesc rotated;
  rotated.height = 12;
  rotated.escapement = rotated.orientation = 900;
  EXPECT_EQ(RAS_CreatePlatformFont(rotated), nullptr);

  for (RAS_PlatformFont* f : {arial, unknown, byEm, bold}) RAS_DeletePlatformFont(f);
  RAS_DeletePlatformFont(nullptr);
}

TEST(TextDecoding, Utf8SequencesAndInvalidBytes) {
  struct Case {
    const char* name;
    const char* bytes;
    std::vector<uint32_t> codes;
  } cases[] = {
      {"ascii", "Ab", {'A', 'b'}},
      {"two bytes", "\xC3\xA9", {0xE9}},
      {"three bytes", "\xE2\x82\xAC!", {0x20AC, '!'}},
      {"four bytes give a space", "\xF0\x9F\x98\x80x", {' ', 'x'}},
      {"overlong lead is a byte", "\xC0\x80", {0xC0, 0x80}},
      {"lead without continuation", "\xC3" "A", {0xC3, 'A'}},
      {"truncated three-byte sequence", "\xE2\x82", {0xE2, 0x82}},
      {"lead followed by another lead", "\xC3\xC3\xA9", {0xC3, 0xE9}},
      {"stray continuation", "\x80", {0x80}},
  };
  for (const Case& c : cases) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(c.bytes);
    const uint8_t* end = p + std::strlen(c.bytes);
    std::vector<uint32_t> codes;
    while (p < end) codes.push_back(RAS_DecodeTextChar(p, end));
    EXPECT_EQ(codes, c.codes) << c.name;
    EXPECT_EQ(p, end) << c.name;
  }
}

TEST(CachedFont, MeasuresOneLineFromTheGlyphs) {
  auto font = MakeFont();
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->GetLineHeight(), 12);
  const char* text = "Hello, World";
  RAS_Rect r{5, 7, 0, 0};
  int answer = font->DrawText(nullptr, text, -1, &r, RAS_TextSingleLine | RAS_TextMeasure);
  int advances = 0, reach = 0;
  for (const char* p = text; *p; ++p) {
    const RAS_CachedFont::GlyphRecord* g = font->RenderGlyph(uint8_t(*p));
    ASSERT_NE(g, nullptr);
    reach = std::max(reach, advances + std::max(g->advance, g->width));
    advances += g->advance;
  }
  EXPECT_EQ(r.L, 5);
  EXPECT_EQ(r.R - r.L, reach);
  EXPECT_GE(r.R - r.L, advances);
  EXPECT_EQ(r.B - r.T, 12);  // every mask is one cell high
  EXPECT_EQ(answer, 12);
  // Measuring needs no bitmap, drawing does.
  RAS_Rect target{0, 0, 100, 20};
  EXPECT_EQ(font->DrawText(nullptr, text, -1, &target, 0), 0);
  EXPECT_EQ(target.R, 100);
}

TEST(CachedFont, LineFeedsCarriageReturnsAndByteCounts) {
  auto font = MakeFont();
  ASSERT_NE(font, nullptr);
  RAS_Rect twoLines = Measure(*font, "AB\nA", 0);
  EXPECT_EQ(twoLines.B, 24);
  EXPECT_EQ(twoLines.R, Measure(*font, "AB").R);
  EXPECT_EQ(Measure(*font, "AB\r\nA", 0).B, 24);
  EXPECT_EQ(Measure(*font, "AB\r\nA", 0).R, twoLines.R);
  font->SetExtraLineSpacing(3);
  EXPECT_EQ(Measure(*font, "A\nB", 0).B, 27);
  font->SetExtraLineSpacing(0);
  // In single-line mode a line feed is a space.
  EXPECT_EQ(Measure(*font, "A\nB").R, Measure(*font, "A B").R);
  EXPECT_EQ(Measure(*font, "A\nB").B, 12);
  // An explicit byte count stops early, even inside a sequence.
  EXPECT_EQ(Measure(*font, "ABCD", RAS_TextSingleLine, 2).R, Measure(*font, "AB").R);
  EXPECT_EQ(Measure(*font, "A\xC3\xA9", RAS_TextSingleLine, 2).R, Measure(*font, "A\xC3").R);
  EXPECT_EQ(Measure(*font, "").R, 0);
}

TEST(CachedFont, ExtendedCharactersAreCachedInCodeOrder) {
  auto font = MakeFont();
  ASSERT_NE(font, nullptr);
  // Invalid UTF-8 draws byte by byte: a lone 0xE9 byte is the same glyph as U+00E9.
  EXPECT_EQ(Measure(*font, "\xC3\xA9").R, Measure(*font, "\xE9").R);
  Measure(*font, "\xE2\x82\xAC \xC3\xBC \xC3\xA9 \xE2\x82\xAC");  // euro, u-umlaut, e-acute
  EXPECT_EQ(font->GetExtendedGlyphCount(), 3u);
  const RAS_CachedFont::GlyphRecord* euro = font->RenderGlyph(0x20AC);
  const RAS_CachedFont::GlyphRecord* eAcute = font->RenderGlyph(0xE9);
  ASSERT_NE(euro, nullptr);
  ASSERT_NE(eAcute, nullptr);
  EXPECT_EQ(euro->code, 0x20AC);
  EXPECT_LT(eAcute, euro);  // lower code, earlier in the sorted array
  EXPECT_GT(euro->advance, 0);
  EXPECT_EQ(font->RenderGlyph(0x1F600), nullptr);  // beyond the 16-bit cache
}

TEST(CachedFont, CompositesCoverageWithTheExactArithmetic) {
  auto font = MakeFont();
  ASSERT_NE(font, nullptr);
  const uint32_t kColour = 0xFF0A141E;  // R 10, G 20, B 30
  font->SetTextColor(kColour);
  const RAS_CachedFont::GlyphRecord* g = font->RenderGlyph('W');
  ASSERT_NE(g, nullptr);
  const uint8_t* mask = font->GetGlyphMask(*g);
  ASSERT_NE(mask, nullptr);
  int partial = 0;
  for (int i = 0; i < g->width * g->height; ++i) partial += mask[i] > 0 && mask[i] < 255;
  ASSERT_GT(partial, 0);  // antialiased edges exercise the blend

  for (float alpha : {1.0f, 0.5f}) {
    font->SetCombineMode(RAS_BlitCopy, alpha);
    const uint32_t kDest = 0x40C8B4A0;
    RAS_MemBitmap b(30, 20);
    FillAll(b, kDest);
    RAS_Rect clip{0, 0, 30, 20};
    ASSERT_TRUE(font->DrawGlyph(&b, 'W', 3, 4, clip));
    int ia = int(alpha * 256);
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 30; ++x) {
        int mx = x - 3, my = y - 4;
        int c = (mx >= 0 && my >= 0 && mx < g->width && my < g->height) ? mask[my * g->width + mx] : 0;
        uint32_t expected = kDest;
        if (c > 0) {
          int gg = ia == 256 ? 255 - c : 256 - std::min(ia * c / 256, 256);
          auto mixed = [&](int col, int d) { return uint32_t(col + (d - col) * gg / 256); };
          expected = mixed(255, 0x40) << 24 | mixed(10, 0xC8) << 16 | mixed(20, 0xB4) << 8 | mixed(30, 0xA0);
        }
        ASSERT_EQ(PixelAt(b, x, y), expected) << "alpha " << alpha << " at " << x << "," << y;
      }
    }
  }
  // Other combine modes have no glyph arithmetic: nothing is drawn.
  font->SetCombineMode(RAS_BlitAdd, 1.0f);
  RAS_MemBitmap b(30, 20);
  EXPECT_FALSE(font->DrawGlyph(&b, 'W', 0, 0, RAS_Rect{0, 0, 30, 20}));
}

TEST(CachedFont, AlignmentPlacesTheMeasuredText) {
  auto font = MakeFont();
  ASSERT_NE(font, nullptr);
  const char* text = "Gain 1.5";
  RAS_Rect size = Measure(*font, text);
  struct Case {
    unsigned int flags;
    int x, y;  // where left/top alignment must put the text for the same picture
  } cases[] = {
      {RAS_TextCenter, (100 - size.R) / 2, 0},
      {RAS_TextRight, 100 - size.R, 0},
      {RAS_TextVCenter, 0, (30 - size.B) / 2},
      {RAS_TextBottom | RAS_TextRight, 100 - size.R, 30 - size.B},
  };
  for (const Case& c : cases) {
    RAS_MemBitmap aligned(100, 30), placed(100, 30);
    FillAll(aligned, 0xFFFFFFFF);
    FillAll(placed, 0xFFFFFFFF);
    RAS_Rect box{0, 0, 100, 30};
    int covered = font->DrawText(&aligned, text, -1, &box, c.flags | RAS_TextSingleLine);
    EXPECT_EQ(covered, 12);
    RAS_Rect at{c.x, c.y, 100, 30};
    font->DrawText(&placed, text, -1, &at, RAS_TextSingleLine);
    EXPECT_TRUE(SamePixels(aligned, placed)) << std::hex << c.flags;
    EXPECT_NE(InkBox(aligned, 0xFFFFFFFF).R, -1);
  }
}

TEST(CachedFont, ClipsToTheRectangleUnlessToldNotTo) {
  auto font = MakeFont();
  ASSERT_NE(font, nullptr);
  const char* text = "WWWW";
  RAS_MemBitmap b(60, 20);
  FillAll(b, 0xFFFFFFFF);
  RAS_Rect narrow{2, 2, 12, 9};
  font->DrawText(&b, text, -1, &narrow, RAS_TextSingleLine);
  RAS_Rect ink = InkBox(b, 0xFFFFFFFF);
  EXPECT_GE(ink.L, 2);
  EXPECT_GE(ink.T, 2);
  EXPECT_LE(ink.R, 12);
  EXPECT_LE(ink.B, 9);

  FillAll(b, 0xFFFFFFFF);
  font->DrawText(&b, text, -1, &narrow, RAS_TextSingleLine | RAS_TextNoClip);
  EXPECT_GT(InkBox(b, 0xFFFFFFFF).R, 12);

  // Text running off the bitmap, and an empty clip, draw nothing outside.
  RAS_Rect offBitmap{50, 15, 200, 200};
  font->DrawText(&b, text, -1, &offBitmap, RAS_TextSingleLine | RAS_TextNoClip);
  RAS_Rect outside{70, 0, 80, 10};
  EXPECT_EQ(font->DrawText(&b, text, -1, &outside, RAS_TextSingleLine), 0);
  RAS_Rect nowhere{-40, -40, -30, -30};
  EXPECT_EQ(font->DrawText(&b, text, -1, &nowhere, RAS_TextSingleLine), 0);
}

TEST(CachedFont, WeightsOpaqueBackgroundAndColourAlpha) {
  auto font = MakeFont();
  ASSERT_NE(font, nullptr);
  RAS_Rect box{0, 0, 40, 20};
  // A transparent text colour with colour alpha draws nothing and answers 0.
  font->SetTextColor(0x00000000);
  RAS_MemBitmap b(40, 20);
  FillAll(b, 0xFFFFFFFF);
  EXPECT_EQ(font->DrawText(&b, "Hi", -1, &box, RAS_TextSingleLine | RAS_TextUseColorAlpha), 0);
  EXPECT_EQ(InkBox(b, 0xFFFFFFFF).R, -1);
  // Half the colour alpha is the same as half the combine weight.
  font->SetTextColor(0x80000000);
  font->DrawText(&b, "Hi", -1, &box, RAS_TextSingleLine | RAS_TextUseColorAlpha);
  RAS_MemBitmap half(40, 20);
  FillAll(half, 0xFFFFFFFF);
  font->SetTextColor(0xFF000000);
  font->SetCombineMode(RAS_BlitCopy, 0.5f);
  font->DrawText(&half, "Hi", -1, &box, RAS_TextSingleLine);
  EXPECT_TRUE(SamePixels(b, half));
  font->SetCombineMode(RAS_BlitCopy, 1.0f);

  // Opaque background paints each glyph's box first.
  EXPECT_EQ(font->SetBackColor(0xFF00FF00), 0xFFFFFFFFu);
  EXPECT_EQ(font->SetBackMode(RAS_BackOpaque), RAS_BackTransparent);
  FillAll(b, 0xFFFFFFFF);
  font->DrawText(&b, " ", -1, &box, RAS_TextSingleLine);
  const RAS_CachedFont::GlyphRecord* space = font->RenderGlyph(' ');
  ASSERT_NE(space, nullptr);
  EXPECT_EQ(PixelAt(b, 0, 0), 0xFF00FF00u);
  EXPECT_EQ(PixelAt(b, space->width - 1, 11), 0xFF00FF00u);
  EXPECT_EQ(PixelAt(b, space->width, 0), 0xFFFFFFFFu);
  EXPECT_EQ(PixelAt(b, 0, 12), 0xFFFFFFFFu);
}

TEST(CachedFont, StyleFlagsShapeTheMasks) {
  struct Case {
    int flags;
    const char* name;
  } cases[] = {{RAS_FontMono, "mono"}, {RAS_FontOutline, "outline"}, {RAS_FontShadow, "shadow"},
               {RAS_FontInvert, "invert"}, {RAS_FontVertical, "vertical"}, {RAS_FontBlur, "blur"}};
  auto plain = MakeFont();
  ASSERT_NE(plain, nullptr);
  const RAS_CachedFont::GlyphRecord* reference = plain->RenderGlyph('O');
  ASSERT_NE(reference, nullptr);
  for (const Case& c : cases) {
    auto font = MakeFont(12, RAS_FontOwnsHandle | c.flags);
    ASSERT_NE(font, nullptr);
    const RAS_CachedFont::GlyphRecord* g = font->RenderGlyph('O');
    ASSERT_NE(g, nullptr) << c.name;
    const uint8_t* mask = font->GetGlyphMask(*g);
    ASSERT_NE(mask, nullptr) << c.name;
    int count[256] = {};
    for (int i = 0; i < g->width * g->height; ++i) ++count[mask[i]];
    int n = g->width * g->height;
    if (c.flags & (RAS_FontMono | RAS_FontOutline | RAS_FontShadow)) {
      int other = n - count[0] - count[128] - count[255];
      EXPECT_EQ(other, 0) << c.name;
      EXPECT_GT(count[255], 0) << c.name;
      EXPECT_EQ(count[128] > 0, (c.flags & RAS_FontMono) == 0) << c.name;
    }
    if (c.flags & RAS_FontInvert) {
      EXPECT_GT(count[255], n / 2) << c.name;  // the empty cell becomes full
    }
    if (c.flags & RAS_FontVertical) {
      EXPECT_EQ(g->width, reference->height) << c.name;
      EXPECT_EQ(g->height, reference->width) << c.name;
    }
    if (c.flags & RAS_FontBlur) {
      EXPECT_EQ(count[255], 0) << c.name;  // blurred edges never reach full coverage here
    }
  }
}

TEST(CachedFont, PrecalculatedFontsRenderAsciiOnly) {
  auto font = MakeFont(12, RAS_FontOwnsHandle | RAS_FontPrecalc);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->GetExtendedGlyphCount(), 0u);
  EXPECT_EQ(font->RenderGlyph(0xE9), nullptr);
  EXPECT_NE(font->RenderGlyph('A'), nullptr);
  EXPECT_EQ(Measure(*font, "\xC3\xA9").R, 0);
}

TEST(CachedFont, GiantLineHeightsRenderNothing) {
  auto font = MakeFont(1100);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->GetLineHeight(), 1100);
  EXPECT_EQ(font->RenderGlyph('A'), nullptr);
  RAS_Rect r{};
  EXPECT_EQ(font->DrawText(nullptr, "A", -1, &r, RAS_TextMeasure), 0);
  EXPECT_EQ(r.R, 0);
}

TEST(CachedFont, ReplacingTheFontResetsTheCacheAndFreesOwnedHandles) {
  auto font = MakeFont(12);
  ASSERT_NE(font, nullptr);
  int small = Measure(*font, "MMM").R;
  font->SetFromPlatformFont(MakePlatformFont(24), RAS_FontOwnsHandle);  // the 12-pixel handle is freed
  EXPECT_EQ(font->GetLineHeight(), 24);
  EXPECT_GT(Measure(*font, "MMM").R, small);
  // A handle that is not owned stays with the caller.
  RAS_PlatformFont* borrowed = MakePlatformFont(12);
  font->SetFromPlatformFont(borrowed, 0);
  font->SetFromPlatformFont(nullptr, 0);
  EXPECT_EQ(font->GetPlatformFont(), nullptr);
  RAS_Rect r{};
  EXPECT_EQ(font->DrawText(nullptr, "A", -1, &r, RAS_TextMeasure), 0);
  RAS_DeletePlatformFont(borrowed);
}

TEST(TextScratch, LivesWhileAnyFontLives) {
  // Other tests may keep a font for the whole process (in any order).
  const int before = RAS_LiveFontCount();
  if (before == 0) {
    EXPECT_EQ(RAS_GlyphScratchBitmap(), nullptr);
  }
  auto first = MakeFont(12);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(RAS_LiveFontCount(), before + 1);
  ASSERT_NE(RAS_GlyphScratchBitmap(), nullptr);
  EXPECT_GE(RAS_GlyphScratchBitmap()->GetWidth(), 256);
  auto big = MakeFont(200);
  ASSERT_NE(big, nullptr);
  big->RenderGlyph('A');
  EXPECT_GE(RAS_GlyphScratchBitmap()->GetWidth(), 200 * 2 + 8);
  EXPECT_EQ(RAS_LiveFontCount(), before + 2);
  big.reset();
  EXPECT_NE(RAS_GlyphScratchBitmap(), nullptr);
  first.reset();
  EXPECT_EQ(RAS_LiveFontCount(), before);
  if (before == 0) {
    EXPECT_EQ(RAS_GlyphScratchBitmap(), nullptr);
  }
}

TEST(CachedFont, LinuxDrawsEverythingThroughTheGlyphCache) {
  auto font = MakeFont();
  ASSERT_NE(font, nullptr);
  for (unsigned int flags : {0u, unsigned(RAS_TextSingleLine), unsigned(RAS_TextUseColorAlpha)}) {
    EXPECT_FALSE(font->UsesNativeText(flags)) << flags;
  }
}

TEST(FontLifetimeAtExit, FontsMayLiveInProcessWideCaches) {
  // Like the editor's font cache: destroyed with the other statics at exit,
  // after the raster library's own statics may be gone. The process must
  // exit cleanly (ASan reports anything left behind).
  static std::unique_ptr<RAS_CachedFont> cached;
  cached = MakeFont();
  ASSERT_NE(cached, nullptr);
  RAS_Rect r{};
  EXPECT_GT(cached->DrawText(nullptr, "x", -1, &r, RAS_TextMeasure), 0);
}
