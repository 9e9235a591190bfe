// The PNG writer, checked through the project's reader: what is written
// reads back as the same pixels, and failures leave no broken picture behind.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "TestBitmaps.h"
#include "raster/RAS_Png.h"
#include "raster/RAS_PngWriter.h"

namespace {

std::unique_ptr<RAS_IBitmap> Decode(const std::vector<uint8_t>& bytes) {
  return std::unique_ptr<RAS_IBitmap>(RAS_ReadPngMemory(bytes.data(), bytes.size(), nullptr));
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// Several checkouts may run this test at once on one machine: the process id
// keeps their files apart.
std::string TempPath(const char* name) { return testing::TempDir() + std::to_string(getpid()) + "-" + name; }

// Pixel (x, y) of a 5 x 3 picture for each shape of alpha. The width is not a
// multiple of four, so the bitmap's rows carry padding the writer must skip.
struct AlphaShape {
  const char* name;
  uint32_t (*pixel)(int x, int y);
};

const AlphaShape kAlphaShapes[] = {
    {"opaque", [](int x, int y) { return 0xFF000000u | uint32_t(x * 50) << 16 | uint32_t(y * 90) << 8 | 7u; }},
    // Straight alpha: colour survives even where nothing shows.
    {"transparent with colour", [](int x, int y) { return uint32_t(x * 40 + y) << 16 | 0x80u << 8 | uint32_t(y); }},
    {"alpha ramp", [](int x, int y) { return uint32_t(x * 60 + y) << 24 | 0x00C08040u; }},
    {"every byte different", [](int x, int y) {
       const uint32_t i = uint32_t(y * 5 + x);
       return (i * 17 + 3) << 24 | (i * 29 + 5) << 16 | (i * 37 + 11) << 8 | (i * 53 + 13);
     }},
};

template <typename Bitmap>
void Paint(Bitmap& bitmap, const AlphaShape& shape) {
  for (int y = 0; y < bitmap.GetHeight(); ++y)
    for (int x = 0; x < bitmap.GetWidth(); ++x) SetPixel(bitmap, x, y, shape.pixel(x, y));
}

void ExpectSamePicture(RAS_IBitmap& expected, RAS_IBitmap& actual, uint32_t alphaForced, const char* name) {
  ASSERT_EQ(actual.GetWidth(), expected.GetWidth()) << name;
  ASSERT_EQ(actual.GetHeight(), expected.GetHeight()) << name;
  for (int y = 0; y < expected.GetHeight(); ++y)
    for (int x = 0; x < expected.GetWidth(); ++x)
      EXPECT_EQ(PixelAt(actual, x, y), PixelAt(expected, x, y) | alphaForced) << name << " pixel " << x << "," << y;
}

}  // namespace

TEST(PngWriter, WhatIsWrittenReadsBackAsTheSamePixels) {
  for (const AlphaShape& shape : kAlphaShapes) {
    RAS_MemBitmap upright(5, 3);
    FlippedBitmap flipped(5, 3);
    Paint(upright, shape);
    Paint(flipped, shape);
    for (RAS_IBitmap* source : {static_cast<RAS_IBitmap*>(&upright), static_cast<RAS_IBitmap*>(&flipped)}) {
      SCOPED_TRACE(source == &flipped ? "flipped" : "upright");
      std::vector<uint8_t> bytes;
      ASSERT_EQ(RAS_WritePngMemory(source, RAS_PngWriteOptions{}, &bytes), RAS_PngWriteResult::kWritten) << shape.name;
      auto decoded = Decode(bytes);
      ASSERT_NE(decoded, nullptr) << shape.name;
      ExpectSamePicture(upright, *decoded, 0, shape.name);
    }
  }
}

TEST(PngWriter, OpaqueOutputDropsAlphaAndEveryLevelKeepsThePixels) {
  const AlphaShape& shape = kAlphaShapes[3];
  RAS_MemBitmap bitmap(5, 3);
  Paint(bitmap, shape);

  RAS_PngWriteOptions opaque;
  opaque.keepAlpha = false;
  std::vector<uint8_t> bytes;
  ASSERT_EQ(RAS_WritePngMemory(&bitmap, opaque, &bytes), RAS_PngWriteResult::kWritten);
  auto decoded = Decode(bytes);
  ASSERT_NE(decoded, nullptr);
  ExpectSamePicture(bitmap, *decoded, 0xFF000000u, "opaque");

  // Out-of-range levels are ignored rather than refused.
  for (int level : {0, 9, -1, 42}) {
    RAS_PngWriteOptions options;
    options.compressionLevel = level;
    ASSERT_EQ(RAS_WritePngMemory(&bitmap, options, &bytes), RAS_PngWriteResult::kWritten) << level;
    decoded = Decode(bytes);
    ASSERT_NE(decoded, nullptr) << level;
    ExpectSamePicture(bitmap, *decoded, 0, "level");
  }
}

TEST(PngWriter, WritesAFileThatReadsBack) {
  RAS_MemBitmap bitmap(5, 3);
  Paint(bitmap, kAlphaShapes[2]);
  const std::string path = TempPath("png-writer-roundtrip.png");
  std::remove(path.c_str());
  ASSERT_EQ(RAS_WritePngFile(&bitmap, path.c_str(), RAS_PngWriteOptions{}), RAS_PngWriteResult::kWritten);
  auto decoded = Decode(ReadFile(path));
  ASSERT_NE(decoded, nullptr);
  ExpectSamePicture(bitmap, *decoded, 0, "file");
  std::remove(path.c_str());
}

TEST(PngWriter, FailsCleanlyWhereItCannotWrite) {
  RAS_MemBitmap bitmap(5, 3);
  Paint(bitmap, kAlphaShapes[0]);
  const RAS_PngWriteOptions options;

  // A folder that does not exist, a folder in place of a file, no path.
  const std::string missingFolder = TempPath("png-writer-no-such-folder/out.png");
  EXPECT_EQ(RAS_WritePngFile(&bitmap, missingFolder.c_str(), options), RAS_PngWriteResult::kCannotOpen);
  EXPECT_EQ(RAS_WritePngFile(&bitmap, testing::TempDir().c_str(), options), RAS_PngWriteResult::kCannotOpen);
  EXPECT_EQ(RAS_WritePngFile(&bitmap, nullptr, options), RAS_PngWriteResult::kCannotOpen);

  // A device that opens but takes no bytes: the failure is reported, not lost
  // in the stdio buffer.
  if (std::FILE* full = std::fopen("/dev/full", "wb")) {
    std::fclose(full);
    EXPECT_EQ(RAS_WritePngFile(&bitmap, "/dev/full", options), RAS_PngWriteResult::kCannotWrite);
  }

  // Nothing to encode: refused before an existing file is touched.
  const std::string existing = TempPath("png-writer-existing.png");
  ASSERT_EQ(RAS_WritePngFile(&bitmap, existing.c_str(), options), RAS_PngWriteResult::kWritten);
  const std::vector<uint8_t> before = ReadFile(existing);
  RAS_MemBitmap empty;
  EXPECT_EQ(RAS_WritePngFile(&empty, existing.c_str(), options), RAS_PngWriteResult::kNoPixels);
  EXPECT_EQ(RAS_WritePngFile(nullptr, existing.c_str(), options), RAS_PngWriteResult::kNoPixels);
  EXPECT_EQ(ReadFile(existing), before);
  std::remove(existing.c_str());

  std::vector<uint8_t> bytes = {1, 2, 3};
  EXPECT_EQ(RAS_WritePngMemory(&empty, options, &bytes), RAS_PngWriteResult::kNoPixels);
  EXPECT_TRUE(bytes.empty());
  EXPECT_EQ(RAS_WritePngMemory(&bitmap, options, nullptr), RAS_PngWriteResult::kEncodingFailed);
}
