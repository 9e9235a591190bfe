#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "TestBitmaps.h"
#include "raster/RAS_Blit.h"

namespace {

struct BlendCase {
  const char* name;
  unsigned int mode;
  float alpha;
  uint32_t src;
  uint32_t dst;
  uint32_t expected;
};

// Expected words worked out by hand from the blend formulas.
const BlendCase kBlendCases[] = {
    {"copy full weight is verbatim", RAS_BlitCopy, 1.0f, 0x80402010, 0x11223344, 0x80402010},
    {"copy half rounds every byte down", RAS_BlitCopy, 0.5f, 0xFF00FF00, 0x00FF00FF, 0x7F7F7F7F},
    {"copy quarter", RAS_BlitCopy, 0.25f, 0xC800C800, 0x64FF64FF, 0x7DBF7DBF},
    {"copy weight truncates toward zero", RAS_BlitCopy, 100 / 256.0f, 0x0A0A0A0A, 0, 0x04040404},
    {"copy above full weight is full weight", RAS_BlitCopy, 2.0f, 0x80402010, 0x11223344, 0x80402010},
    {"copy negative weight does nothing", RAS_BlitCopy, -0.5f, 0x80402010, 0x11223344, 0x11223344},
    {"alpha copy skips transparent", RAS_BlitCopy | RAS_BlitUseAlpha, 1.0f, 0x00FFFFFF, 0x11223344, 0x11223344},
    {"alpha copy stores opaque", RAS_BlitCopy | RAS_BlitUseAlpha, 1.0f, 0xFF102030, 0x11223344, 0xFF102030},
    {"alpha copy 128 over opaque", RAS_BlitCopy | RAS_BlitUseAlpha, 1.0f, 0x80C8C8C8, 0xFF000000, 0xFF656565},
    {"alpha copy 128 over transparent", RAS_BlitCopy | RAS_BlitUseAlpha, 1.0f, 0x80C8C8C8, 0x00000000, 0x80656565},
    {"alpha copy quarter of opaque", RAS_BlitCopy | RAS_BlitUseAlpha, 0.25f, 0xFFC8C8C8, 0x10000000, 0x50323232},
    {"alpha copy quarter of half", RAS_BlitCopy | RAS_BlitUseAlpha, 0.25f, 0x7FC8C8C8, 0x10000000, 0x30191919},
    {"alpha copy partial skips transparent", RAS_BlitCopy | RAS_BlitUseAlpha, 0.25f, 0x00C8C8C8, 0x10000000, 0x10000000},
    {"add clamps colour and weights alpha", RAS_BlitAdd | RAS_BlitUseAlpha, 1.0f, 0x80404040, 0x1080F010, 0x50A0FF30},
    {"add skips transparent", RAS_BlitAdd | RAS_BlitUseAlpha, 1.0f, 0x00404040, 0x1080F010, 0x1080F010},
    {"dodge", RAS_BlitDodge | RAS_BlitUseAlpha, 1.0f, 0xFF808040, 0x80404064, 0xFF808085},
    {"dodge of transparent at partial weight", RAS_BlitDodge | RAS_BlitUseAlpha, 0.5f, 0x00FFFFFF, 0x80404064, 0x80404064},
    {"channel copy red to alpha ignores weight", RAS_ChannelCopyMode(2, 3), 0.3f, 0x00AB0000, 0x11223344, 0xAB223344},
    {"channel copy alpha to blue", RAS_ChannelCopyMode(3, 0), 1.0f, 0x7F000000, 0x11223344, 0x1122337F},
    // Modes this system never asks for, with the definitions documented in RAS_Blit.h.
    {"add without alpha treats source as opaque", RAS_BlitAdd, 1.0f, 0x00404040, 0x00101010, 0xFF505050},
    {"multiply", RAS_BlitMultiply | RAS_BlitUseAlpha, 1.0f, 0xFF808080, 0xFF404040, 0xFF202020},
    {"overlay light half screens", RAS_BlitOverlay, 1.0f, 0xFF808080, 0x40C0C0C0, 0x40C1C1C1},
    {"hue adjust leaves pixels", RAS_BlitHsvAdjust, 1.0f, 0xFF808080, 0x11223344, 0x11223344},
};

}  // namespace

TEST(Blit, BlendFormulas) {
  for (const BlendCase& c : kBlendCases) {
    RAS_MemBitmap src(1, 1), dst(1, 1);
    SetPixel(src, 0, 0, c.src);
    SetPixel(dst, 0, 0, c.dst);
    RAS_BlitBitmap(&dst, &src, 0, 0, nullptr, c.alpha, c.mode);
    EXPECT_EQ(PixelAt(dst, 0, 0), c.expected) << c.name << std::hex << " got 0x" << PixelAt(dst, 0, 0);
  }
}

TEST(Blit, ZeroWeightChangesNothingEvenInChannelCopy) {
  RAS_MemBitmap src(2, 2), dst(2, 2);
  FillAll(src, 0xFFFFFFFF);
  FillAll(dst, 0x12345678);
  for (unsigned int mode : {0u, 0x10000u, 0x10001u, unsigned(RAS_ChannelCopyMode(0, 3))}) {
    RAS_BlitBitmap(&dst, &src, 0, 0, nullptr, 0.0f, mode);
  }
  RAS_BlitBitmap(&dst, nullptr, 0, 0, nullptr, 1.0f, 0);
  RAS_MemBitmap empty;
  RAS_BlitBitmap(&dst, &empty, 0, 0, nullptr, 1.0f, 0);
  RAS_BlitBitmap(&empty, &src, 0, 0, nullptr, 1.0f, 0);
  EXPECT_EQ(PixelAt(dst, 1, 1), 0x12345678u);
}

TEST(Blit, ClipsAtEveryEdge) {
  const uint32_t kUntouched = 0xDEADBEEF;
  auto sourcePixel = [](int x, int y) { return 0xFF000000u | uint32_t(y) << 8 | uint32_t(x); };
  struct Case {
    const char* name;
    int dstX, dstY;
    bool hasRect;
    RAS_Rect rect;
    // Expected: destination area (x, y, cols, rows) showing source from (sx, sy).
    int x, y, cols, rows, sx, sy;
  } cases[] = {
      {"inside", 1, 1, false, {}, 1, 1, 4, 4, 0, 0},
      {"left and top of destination", -1, -2, false, {}, 0, 0, 3, 2, 1, 2},
      {"right and bottom of destination", 4, 5, false, {}, 4, 5, 2, 1, 0, 0},
      {"source rect from negative corner moves destination", 0, 0, true, {-1, -1, 3, 3}, 1, 1, 3, 3, 0, 0},
      {"source rect beyond the source", 0, 0, true, {1, 1, 10, 10}, 0, 0, 3, 3, 1, 1},
      {"source rect inside", 2, 0, true, {1, 2, 3, 4}, 2, 0, 2, 2, 1, 2},
      {"past the right edge", 6, 0, false, {}, 0, 0, 0, 0, 0, 0},
      {"past the bottom edge", 0, 6, false, {}, 0, 0, 0, 0, 0, 0},
      {"entirely left", -4, 0, false, {}, 0, 0, 0, 0, 0, 0},
      {"empty source rect", 0, 0, true, {3, 3, 3, 3}, 0, 0, 0, 0, 0, 0},
      {"inverted source rect", 0, 0, true, {2, 0, 1, 4}, 0, 0, 0, 0, 0, 0},
      {"extreme coordinates", INT_MIN, INT_MAX, true, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 0, 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    RAS_MemBitmap src(4, 4), dst(6, 6);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) SetPixel(src, x, y, sourcePixel(x, y));
    FillAll(dst, kUntouched);
    RAS_BlitBitmap(&dst, &src, c.dstX, c.dstY, c.hasRect ? &c.rect : nullptr, 1.0f, RAS_BlitCopy);
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 6; ++x) {
        bool inside = x >= c.x && x < c.x + c.cols && y >= c.y && y < c.y + c.rows;
        uint32_t expected = inside ? sourcePixel(c.sx + x - c.x, c.sy + y - c.y) : kUntouched;
        ASSERT_EQ(PixelAt(dst, x, y), expected) << c.name << " at " << x << "," << y;
      }
    }
  }
}

TEST(Blit, HonoursFlippedBitmaps) {
  FlippedBitmap flippedSrc(2, 3);
  RAS_MemBitmap plain(2, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 2; ++x) SetPixel(flippedSrc, x, y, 0xFF000000u | uint32_t(y * 2 + x));
  // The picture's top row sits at the end of a flipped bitmap's memory.
  EXPECT_EQ(flippedSrc.GetPixels()[2 * flippedSrc.GetRowSpan()], 0xFF000000u);

  for (unsigned int mode : {0u, 0x10000u}) {
    FillAll(plain, 0);
    RAS_Rect rows12{0, 1, 2, 3};
    RAS_BlitBitmap(&plain, &flippedSrc, 0, 0, &rows12, 1.0f, mode);
    EXPECT_EQ(PixelAt(plain, 1, 0), 0xFF000003u);
    EXPECT_EQ(PixelAt(plain, 0, 1), 0xFF000004u);
    EXPECT_EQ(PixelAt(plain, 0, 2), 0u);
  }
  FlippedBitmap flippedDst(2, 3);
  FillAll(flippedDst, 0);
  RAS_BlitBitmap(&flippedDst, &plain, 0, 1, nullptr, 0.5f, RAS_BlitCopy);
  EXPECT_EQ(PixelAt(flippedDst, 1, 1), 0x7F000001u);
}
