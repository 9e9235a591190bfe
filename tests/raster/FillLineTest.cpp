#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "TestBitmaps.h"
#include "raster/RAS_Blit.h"

TEST(Fill, WeightFormulas) {
  struct Case {
    const char* name;
    float alpha;
    unsigned int mode;
    uint32_t colour, dst, expected;
  } cases[] = {
      {"full stores the word", 1.0f, RAS_BlitCopy, 0x80FF0000, 0x11223344, 0x80FF0000},
      {"half", 0.5f, RAS_BlitCopy, 0xFFFF00FF, 0x00FF0000, 0x7FFE007F},
      {"quarter", 0.25f, RAS_BlitCopy, 0xFFFFFFFF, 0x00000000, 0x3F3F3F3F},
      {"three quarters", 0.75f, RAS_BlitCopy, 0xFFFFFFFF, 0x00000000, 0xBEBEBEBE},
      // Colour bytes move towards the colour, the alpha byte towards ia.
      {"other weight", 100 / 256.0f, RAS_BlitCopy, 0x000A0A0A, 0x00000000, 0x28040404},
      {"colour alpha halves the weight", 1.0f, RAS_BlitCopy | RAS_BlitUseAlpha, 0x80FF0000, 0x00000000, 0x407F0000},
      {"transparent colour with alpha does nothing", 1.0f, RAS_BlitCopy | RAS_BlitUseAlpha, 0x00FFFFFF, 0x11223344, 0x11223344},
      {"add treats the colour as opaque", 1.0f, RAS_BlitAdd, 0x00404040, 0x00101010, 0xFF505050},
  };
  for (const Case& c : cases) {
    RAS_MemBitmap b(1, 1);
    SetPixel(b, 0, 0, c.dst);
    RAS_FillRectangle(&b, 0, 0, 1, 1, c.colour, c.alpha, c.mode);
    EXPECT_EQ(PixelAt(b, 0, 0), c.expected) << c.name << std::hex << " got 0x" << PixelAt(b, 0, 0);
  }
}

TEST(Fill, ClipsToTheBitmap) {
  struct Case {
    int x, y, w, h;
    int left, top, right, bottom;  // expected filled area, right/bottom exclusive
  } cases[] = {
      {1, 1, 2, 2, 1, 1, 3, 3},   {-2, -1, 4, 3, 0, 0, 2, 2}, {3, 2, 10, 10, 3, 2, 5, 5},
      {-1, 0, 1, 5, 0, 0, 0, 0},  {5, 0, 1, 1, 0, 0, 0, 0},   {0, 0, 0, 3, 0, 0, 0, 0},
      {INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0, 0, 0}, {0, 0, INT_MAX, INT_MAX, 0, 0, 5, 5},
  };
  for (const Case& c : cases) {
    RAS_MemBitmap b(5, 5);
    FillAll(b, 0);
    RAS_FillRectangle(&b, c.x, c.y, c.w, c.h, 0xFFFFFFFF, 1.0f, RAS_BlitCopy);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 5; ++x) {
        bool inside = x >= c.left && x < c.right && y >= c.top && y < c.bottom;
        ASSERT_EQ(PixelAt(b, x, y), inside ? 0xFFFFFFFFu : 0u) << c.x << "," << c.y << " at " << x << "," << y;
      }
  }
  RAS_MemBitmap empty;
  RAS_FillRectangle(&empty, 0, 0, 4, 4, 0xFFFFFFFF, 1.0f, 0);
}

TEST(Line, StraightLinesCoverBothEndsAndClip) {
  struct Case {
    int x1, y1, x2, y2;
    int left, top, right, bottom;  // inclusive expected cover; left > right: nothing
  } cases[] = {
      {4, 1, 1, 1, 1, 1, 4, 1},    {2, 0, 2, 5, 2, 0, 2, 4},     {-3, 2, 9, 2, 0, 2, 4, 2},
      {0, 6, 4, 6, 1, 0, 0, 0},    {3, 3, 3, 3, 3, 3, 3, 3},     {INT_MIN, 0, INT_MAX, 0, 0, 0, 4, 0},
  };
  for (const Case& c : cases) {
    RAS_MemBitmap b(5, 5);
    FillAll(b, 0);
    RAS_DrawLine(&b, c.x1, c.y1, c.x2, c.y2, 0xFF00FF00, 1.0f, RAS_BlitCopy, false);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 5; ++x) {
        bool on = x >= c.left && x <= c.right && y >= c.top && y <= c.bottom;
        ASSERT_EQ(PixelAt(b, x, y), on ? 0xFF00FF00u : 0u) << c.x1 << "," << c.y1 << " at " << x << "," << y;
      }
  }
}

TEST(Line, UsesTheFillWeights) {
  RAS_MemBitmap b(3, 1);
  FillAll(b, 0x00FF0000);
  RAS_DrawLine(&b, 0, 0, 2, 0, 0xFFFF00FF, 0.5f, RAS_BlitCopy, false);
  EXPECT_EQ(PixelAt(b, 1, 0), 0x7FFE007Fu);
}

TEST(Line, DiagonalLinesAreConnectedAndClipped) {
  for (bool antialias : {false, true}) {
    RAS_MemBitmap b(10, 10);
    FillAll(b, 0);
    RAS_DrawLine(&b, 1, 2, 8, 5, 0xFFFFFFFF, 1.0f, RAS_BlitCopy, antialias);
    EXPECT_EQ(PixelAt(b, 1, 2), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(b, 8, 5), 0xFFFFFFFFu);
    // One pixel lit in every column along the major axis.
    for (int x = 1; x <= 8; ++x) {
      int lit = 0;
      for (int y = 0; y < 10; ++y) lit += PixelAt(b, x, y) != 0;
      EXPECT_GE(lit, 1) << x;
      EXPECT_LE(lit, antialias ? 2 : 1) << x;
    }
    EXPECT_EQ(PixelAt(b, 0, 0), 0u);
  }
  // Lines reaching far outside visit only the bitmap and do not crash.
  RAS_MemBitmap b(4, 4);
  FillAll(b, 0);
  RAS_DrawLine(&b, -1000000000, -1000000000, 1000000000, 1000000000, 0xFFFFFFFF, 1.0f, 0, false);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(PixelAt(b, i, i), 0xFFFFFFFFu);
  RAS_DrawLine(&b, INT_MIN, INT_MAX, INT_MAX, INT_MIN, 0xFFFFFFFF, 1.0f, 0, true);
}

TEST(Blur, SpreadsOnePixelSymmetrically) {
  for (bool flipped : {false, true}) {
    RAS_MemBitmap plain(5, 5);
    FlippedBitmap upsideDown(5, 5);
    RAS_MemBitmap& b = flipped ? upsideDown : plain;
    FillAll(b, 0);
    SetPixel(b, 2, 2, 0xFFFFFFFF);
    RAS_BlurBitmap(&b);
    uint32_t centre = PixelAt(b, 2, 2) & 0xFF, edge = PixelAt(b, 2, 1) & 0xFF, corner = PixelAt(b, 1, 1) & 0xFF;
    EXPECT_GT(centre, edge);
    EXPECT_GT(edge, corner);
    EXPECT_GT(corner, 0u);
    EXPECT_EQ(PixelAt(b, 2, 1), PixelAt(b, 2, 3));
    EXPECT_EQ(PixelAt(b, 1, 2), PixelAt(b, 3, 2));
    EXPECT_EQ(PixelAt(b, 1, 1), PixelAt(b, 3, 3));
    EXPECT_EQ(PixelAt(b, 0, 0), 0u);
  }
}
