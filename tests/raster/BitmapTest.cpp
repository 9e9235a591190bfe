#include <gtest/gtest.h>

#include <cstdint>

#include "raster/RAS_MemBitmap.h"
#include "raster/RAS_SysBitmap.h"

TEST(MemBitmap, RowsArePaddedToFourPixelsAndPixelsAligned) {
  RAS_MemBitmap bitmap(5, 3);
  EXPECT_EQ(bitmap.GetWidth(), 5);
  EXPECT_EQ(bitmap.GetHeight(), 3);
  EXPECT_EQ(bitmap.GetRowSpan(), 8);
  ASSERT_NE(bitmap.GetPixels(), nullptr);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(bitmap.GetPixels()) % 64, 0u);
  EXPECT_EQ(bitmap.GetAllocatedBytes(), 3 * 8 * 4);
  EXPECT_FALSE(bitmap.IsFlipped());
  EXPECT_EQ(bitmap.GetDeviceContext(), nullptr);
  EXPECT_EQ(bitmap.Extended(0x41424344, nullptr), 0);
}

TEST(MemBitmap, GrowsWithHeadroomAndKeepsAllocationWhenShrinking) {
  RAS_MemBitmap bitmap(100, 100);
  EXPECT_EQ(bitmap.GetAllocatedBytes(), 100 * 100 * 4);
  EXPECT_FALSE(bitmap.Resize(100, 100));

  ASSERT_TRUE(bitmap.Resize(101, 100));  // span 104: needs 41600 bytes, gets 25 % more
  EXPECT_EQ(bitmap.GetRowSpan(), 104);
  EXPECT_EQ(bitmap.GetAllocatedBytes(), 41600 / 4 * 5);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(bitmap.GetPixels()) % 64, 0u);

  ASSERT_TRUE(bitmap.Resize(10, 10));
  EXPECT_EQ(bitmap.GetAllocatedBytes(), 52000);
  EXPECT_EQ(bitmap.GetRowSpan(), 12);
  // Growing within the kept allocation does not reallocate.
  ASSERT_TRUE(bitmap.Resize(110, 110));
  EXPECT_EQ(bitmap.GetAllocatedBytes(), 52000);
  // Every pixel of the new size is writable (ASan checks the extent).
  uint32_t* pixels = bitmap.GetPixels();
  pixels[109 * bitmap.GetRowSpan() + 109] = 1;
}

TEST(MemBitmap, EmptyAndImpossibleSizesLeaveNoPixels) {
  RAS_MemBitmap defaulted;
  EXPECT_EQ(defaulted.GetPixels(), nullptr);
  EXPECT_EQ(defaulted.GetWidth(), 0);

  RAS_MemBitmap bitmap(8, 8);
  struct Case {
    int w, h;
  } cases[] = {{0, 8}, {-4, -4}, {8, -1}, {1 << 30, 1 << 30}, {0x7FFFFFFF, 1}};
  for (const Case& c : cases) {
    bitmap.Resize(8, 8);
    ASSERT_NE(bitmap.GetPixels(), nullptr);
    EXPECT_TRUE(bitmap.Resize(c.w, c.h));
    EXPECT_EQ(bitmap.GetPixels(), nullptr) << c.w << "x" << c.h;
    EXPECT_EQ(bitmap.GetWidth(), 0);
    EXPECT_EQ(bitmap.GetHeight(), 0);
    EXPECT_EQ(bitmap.GetAllocatedBytes(), 0);
  }
}

TEST(SysBitmap, SpanIsAllocatedWidthKeptWhenShrinking) {
  RAS_SysBitmap bitmap(10, 4);
  EXPECT_EQ(bitmap.GetRowSpan(), 12);
  EXPECT_EQ(bitmap.GetDeviceContext(), nullptr);
  ASSERT_NE(bitmap.GetPixels(), nullptr);
  for (int i = 0; i < 12 * 4; ++i) EXPECT_EQ(bitmap.GetPixels()[i], 0u);  // fresh surfaces are zero

  uint32_t* before = bitmap.GetPixels();
  EXPECT_FALSE(bitmap.Resize(10, 4));
  EXPECT_TRUE(bitmap.Resize(5, 2));
  EXPECT_EQ(bitmap.GetWidth(), 5);
  EXPECT_EQ(bitmap.GetRowSpan(), 12);
  EXPECT_EQ(bitmap.GetPixels(), before);

  EXPECT_TRUE(bitmap.Resize(13, 4));
  EXPECT_EQ(bitmap.GetAllocatedWidth(), 16);
  EXPECT_EQ(bitmap.GetAllocatedHeight(), 4);
  EXPECT_EQ(bitmap.GetRowSpan(), 16);
  bitmap.GetPixels()[3 * 16 + 12] = 7;
}

TEST(SysBitmap, ZeroOrNegativeSizeGivesAnEmptyBitmap) {
  RAS_SysBitmap bitmap(8, 8);
  EXPECT_FALSE(bitmap.Resize(0, 8));
  EXPECT_EQ(bitmap.GetPixels(), nullptr);
  EXPECT_EQ(bitmap.GetWidth(), 0);
  EXPECT_FALSE(bitmap.Resize(-7, 3));
  EXPECT_EQ(bitmap.GetWidth(), 0);
  EXPECT_EQ(bitmap.GetHeight(), 0);
  EXPECT_TRUE(bitmap.Resize(3, 3));
  EXPECT_NE(bitmap.GetPixels(), nullptr);

  RAS_SysBitmap huge(1 << 20, 1 << 20);  // cannot be allocated: empty, not undersized
  EXPECT_EQ(huge.GetPixels(), nullptr);
  EXPECT_EQ(huge.GetWidth(), 0);
}
