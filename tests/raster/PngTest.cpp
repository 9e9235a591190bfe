#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include <zlib.h>

#include "PngSpecEncoder.h"
#include "TestBitmaps.h"
#include "raster/RAS_Png.h"
#include "raster/RAS_Resources.h"
#include "raster_test_images.h"

namespace {

std::unique_ptr<RAS_IBitmap> Decode(const std::vector<uint8_t>& bytes) {
  return std::unique_ptr<RAS_IBitmap>(RAS_ReadPngMemory(bytes.data(), bytes.size(), nullptr));
}

// A 2 x 2 RGBA image used by several tests.
PngSpec SmallRgba() {
  PngSpec spec;
  spec.width = 2;
  spec.height = 2;
  spec.rows = {{255, 0, 0, 255, 0, 255, 0, 128}, {0, 0, 255, 0, 1, 2, 3, 4}};
  return spec;
}

const uint32_t kSmallRgbaWords[] = {0xFFFF0000, 0x8000FF00, 0x000000FF, 0x04010203};

uint32_t Word(int a, int r, int g, int b) { return uint32_t(a) << 24 | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b); }

// Twelve pixels in a 4 x 3 picture, row by row.
struct ColourTypeCase {
  const char* name;
  PngSpec spec;
  std::vector<uint32_t> expected;
};

std::vector<ColourTypeCase> ColourTypeCases() {
  std::vector<ColourTypeCase> cases;
  {
    ColourTypeCase c{"rgb without alpha is opaque", {}, {}};
    c.spec.width = 3;
    c.spec.colourType = PNG_COLOR_TYPE_RGB;
    c.spec.rows = {{10, 20, 30, 40, 50, 60, 70, 80, 90}};
    c.expected = {Word(255, 10, 20, 30), Word(255, 40, 50, 60), Word(255, 70, 80, 90)};
    cases.push_back(c);
  }
  {
    ColourTypeCase c{"rgb colour key becomes transparent", {}, {}};
    c.spec.width = 2;
    c.spec.colourType = PNG_COLOR_TYPE_RGB;
    c.spec.rows = {{1, 2, 3, 4, 5, 6}};
    c.spec.hasColourKey = true;
    c.spec.colourKey.red = 4;
    c.spec.colourKey.green = 5;
    c.spec.colourKey.blue = 6;
    c.expected = {Word(255, 1, 2, 3), Word(0, 4, 5, 6)};
    cases.push_back(c);
  }
  {
    ColourTypeCase c{"palette with transparency", {}, {}};
    c.spec.width = 5;
    c.spec.colourType = PNG_COLOR_TYPE_PALETTE;
    c.spec.bitDepth = 4;
    c.spec.palette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}};
    c.spec.paletteAlpha = {0, 99};  // the third entry has no alpha: opaque
    c.spec.rows = {{0x01, 0x20, 0x10}};
    c.expected = {Word(0, 10, 20, 30), Word(99, 40, 50, 60), Word(255, 70, 80, 90), Word(0, 10, 20, 30),
                  Word(99, 40, 50, 60)};
    cases.push_back(c);
  }
  {
    ColourTypeCase c{"grey 8 bit", {}, {}};
    c.spec.width = 2;
    c.spec.colourType = PNG_COLOR_TYPE_GRAY;
    c.spec.rows = {{0, 200}};
    c.expected = {Word(255, 0, 0, 0), Word(255, 200, 200, 200)};
    cases.push_back(c);
  }
  {
    ColourTypeCase c{"grey 2 bit is scaled to 8", {}, {}};
    c.spec.width = 4;
    c.spec.colourType = PNG_COLOR_TYPE_GRAY;
    c.spec.bitDepth = 2;
    c.spec.rows = {{0b00011011}};
    c.expected = {Word(255, 0, 0, 0), Word(255, 85, 85, 85), Word(255, 170, 170, 170), Word(255, 255, 255, 255)};
    cases.push_back(c);
  }
  {
    ColourTypeCase c{"grey 1 bit", {}, {}};
    c.spec.width = 3;
    c.spec.colourType = PNG_COLOR_TYPE_GRAY;
    c.spec.bitDepth = 1;
    c.spec.rows = {{0b10100000}};
    c.expected = {Word(255, 255, 255, 255), Word(255, 0, 0, 0), Word(255, 255, 255, 255)};
    cases.push_back(c);
  }
  {
    ColourTypeCase c{"grey with alpha", {}, {}};
    c.spec.width = 2;
    c.spec.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
    c.spec.rows = {{50, 0, 60, 255}};
    c.expected = {Word(0, 50, 50, 50), Word(255, 60, 60, 60)};
    cases.push_back(c);
  }
  {
    ColourTypeCase c{"16 bit rgba keeps the high bytes", {}, {}};
    c.spec.width = 1;
    c.spec.bitDepth = 16;
    c.spec.rows = {{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0}};
    c.expected = {Word(0xDE, 0x12, 0x56, 0x9A)};
    cases.push_back(c);
  }
  {
    ColourTypeCase c{"16 bit grey", {}, {}};
    c.spec.width = 1;
    c.spec.colourType = PNG_COLOR_TYPE_GRAY;
    c.spec.bitDepth = 16;
    c.spec.rows = {{0xAB, 0xCD}};
    c.expected = {Word(255, 0xAB, 0xAB, 0xAB)};
    cases.push_back(c);
  }
  {
    ColourTypeCase c{"interlaced rgba", {}, {}};
    c.spec.width = 9;
    c.spec.height = 9;
    c.spec.interlaced = true;
    for (int y = 0; y < 9; ++y) {
      std::vector<uint8_t> row;
      for (int x = 0; x < 9; ++x) {
        row.insert(row.end(), {uint8_t(x * 20), uint8_t(y * 20), uint8_t(x + y), uint8_t(255 - x)});
        c.expected.push_back(Word(255 - x, x * 20, y * 20, x + y));
      }
      c.spec.rows.push_back(row);
    }
    cases.push_back(c);
  }
  return cases;
}

}  // namespace

TEST(Png, DecodesEveryColourTypeToStraightAlphaWords) {
  for (const ColourTypeCase& c : ColourTypeCases()) {
    std::vector<uint8_t> bytes = EncodePng(c.spec);
    ASSERT_FALSE(bytes.empty()) << c.name;
    auto bitmap = Decode(bytes);
    ASSERT_NE(bitmap, nullptr) << c.name;
    ASSERT_EQ(bitmap->GetWidth(), c.spec.width) << c.name;
    ASSERT_EQ(bitmap->GetHeight(), c.spec.height) << c.name;
    for (int i = 0; i < c.spec.width * c.spec.height; ++i) {
      int x = i % c.spec.width, y = i / c.spec.width;
      EXPECT_EQ(PixelAt(*bitmap, x, y), c.expected[i]) << c.name << " pixel " << x << "," << y;
    }
  }
}

TEST(Png, FillsAGivenBitmapInPictureOrder) {
  std::vector<uint8_t> bytes = EncodePng(SmallRgba());
  FlippedBitmap flipped(7, 7);
  ASSERT_EQ(RAS_ReadPngMemory(bytes.data(), bytes.size(), &flipped), &flipped);
  EXPECT_EQ(flipped.GetWidth(), 2);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(PixelAt(flipped, i % 2, i / 2), kSmallRgbaWords[i]);
}

TEST(Png, RefusesBrokenInputWithoutCrashing) {
  std::vector<uint8_t> good = EncodePng(SmallRgba());
  ASSERT_NE(Decode(good), nullptr);

  EXPECT_EQ(RAS_ReadPngMemory(nullptr, 100, nullptr), nullptr);
  EXPECT_EQ(RAS_ReadPngMemory(good.data(), 7, nullptr), nullptr);
  std::vector<uint8_t> badSignature = good;
  badSignature[1] = 'Q';
  EXPECT_EQ(Decode(badSignature), nullptr);

  // Every truncation fails cleanly (the image data ends before IEND, so only
  // prefixes that lose image bytes or their checksum can fail; all must).
  size_t idatEnd = good.size() - 12;  // IEND chunk is 12 bytes
  for (size_t length = 8; length < idatEnd; ++length) {
    std::vector<uint8_t> prefix(good.begin(), good.begin() + static_cast<long>(length));
    EXPECT_EQ(Decode(prefix), nullptr) << "prefix of " << length << " bytes";
  }

  // A flipped bit anywhere in a critical chunk is caught by its checksum.
  for (size_t i = 8; i < good.size(); ++i) {
    std::vector<uint8_t> corrupt = good;
    corrupt[i] ^= 0x10;
    auto bitmap = Decode(corrupt);  // may or may not decode; must not crash
    (void)bitmap;
  }
}

TEST(Png, RefusesHugeImagesBeforeAllocating) {
  struct Case {
    int w, h;
  } cases[] = {{100000, 1}, {1, 100000}, {20000, 20000}};
  for (const Case& c : cases) {
    // Forge an IHDR announcing the size, followed by a little image data.
    PngSpec spec;
    spec.width = 1;
    spec.rows = {{1, 2, 3, 4}};
    std::vector<uint8_t> bytes = EncodePng(spec);
    auto put32 = [&](size_t at, uint32_t v) {
      for (int i = 0; i < 4; ++i) bytes[at + i] = uint8_t(v >> (24 - 8 * i));
    };
    put32(16, uint32_t(c.w));
    put32(20, uint32_t(c.h));
    uint32_t crc = uint32_t(crc32(0, bytes.data() + 12, 17));
    put32(29, crc);
    // A given bitmap that is never resized shows that nothing was allocated.
    RAS_MemBitmap given(3, 3);
    EXPECT_EQ(RAS_ReadPngMemory(bytes.data(), bytes.size(), &given), nullptr) << c.w << "x" << c.h;
    EXPECT_EQ(given.GetWidth(), 3) << c.w << "x" << c.h;
  }
}

TEST(PngResource, LoadsEmbeddedImagesById) {
  RegisterRasterTestImages();
  RegisterRasterTestImages();  // registering twice is harmless
  std::unique_ptr<RAS_IBitmap> rgba(RAS_LoadPngResource(nullptr, 201));
  ASSERT_NE(rgba, nullptr);
  ASSERT_EQ(rgba->GetWidth(), 2);
  EXPECT_EQ(PixelAt(*rgba, 0, 0), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(*rgba, 1, 0), 0x8000FF00u);
  EXPECT_EQ(PixelAt(*rgba, 0, 1), 0x000000FFu);
  EXPECT_EQ(PixelAt(*rgba, 1, 1), 0xFFFFFFFFu);

  std::unique_ptr<RAS_IBitmap> palette(RAS_LoadPngResource(nullptr, 202));
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(PixelAt(*palette, 0, 0), 0x00010203u);
  EXPECT_EQ(PixelAt(*palette, 1, 0), 0xFF040506u);

  EXPECT_EQ(RAS_LoadPngResource(nullptr, 999), nullptr);
  static const uint8_t kShort[] = {137, 80, 78, 71};
  RAS_RegisterResource("PNG", 998, kShort, sizeof kShort);
  EXPECT_EQ(RAS_LoadPngResource(nullptr, 998), nullptr);
  // Another type with the same id is a different resource.
  RAS_RegisterResource("BMP", 201, kShort, sizeof kShort);
  const void* data = nullptr;
  size_t size = 0;
  ASSERT_TRUE(RAS_FindResource("PNG", 201, &data, &size));
  EXPECT_GT(size, 8u);
}
