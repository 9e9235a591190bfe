// Checks the committed editor images: the editor draws film strips by frame
// arithmetic, so a wrong size, pixel format or frame layout shows up as
// shifted or torn controls.

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "effect/layout/EditorGeometry.h"

namespace {

struct DecodedPng {
  bool ok = false;
  int width = 0;
  int height = 0;
  int bitDepth = 0;
  int colourType = 0;
  int interlace = 0;
  std::vector<uint8_t> rgba;  // filled only when the file is 8-bit RGBA

  const uint8_t* Pixel(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

DecodedPng ReadPng(const std::string& path) {
  DecodedPng result;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return result;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    result.ok = false;
    return result;
  }
  png_init_io(png, file);
  png_read_info(png, info);
  result.width = static_cast<int>(png_get_image_width(png, info));
  result.height = static_cast<int>(png_get_image_height(png, info));
  result.bitDepth = png_get_bit_depth(png, info);
  result.colourType = png_get_color_type(png, info);
  result.interlace = png_get_interlace_type(png, info);
  if (result.bitDepth == 8 && result.colourType == PNG_COLOR_TYPE_RGB_ALPHA) {
    result.rgba.resize(static_cast<size_t>(result.width) * result.height * 4);
    rows.resize(result.height);
    for (int y = 0; y < result.height; ++y) rows[y] = &result.rgba[static_cast<size_t>(y) * result.width * 4];
    png_read_image(png, rows.data());
  }
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
  result.ok = true;
  return result;
}

std::string ImagePath(const char* name) { return std::string(STRATUM_SOURCE_DIR) + "/resources/img/" + name; }

struct ExpectedImage {
  const char* name;
  int width;
  int height;
  int frames;
  int frameHeight;
};

// Stated independently of the code that uses the images.
const ExpectedImage kExpected[] = {
    {"background.png", 410, 522, 1, 522},      {"meter.png", 8, 20352, 48, 424},
    {"peak-hold.png", 8, 20352, 48, 424},      {"onoff.png", 20, 40, 2, 20},
    {"onoff-small.png", 12, 24, 2, 12},        {"channel-selector.png", 144, 96, 4, 24},
    {"peak-rms-selector.png", 144, 32, 2, 16}, {"gain-knob.png", 64, 12864, 201, 64},
    {"pan-knob.png", 64, 12864, 201, 64},      {"width-knob.png", 64, 6464, 101, 64},
};

TEST(EditorImages, EveryImageIsNonInterlacedRgba8WithWholeFrames) {
  for (const ExpectedImage& e : kExpected) {
    SCOPED_TRACE(e.name);
    const DecodedPng png = ReadPng(ImagePath(e.name));
    ASSERT_TRUE(png.ok);
    EXPECT_EQ(png.width, e.width);
    EXPECT_EQ(png.height, e.height);
    EXPECT_EQ(png.bitDepth, 8);
    EXPECT_EQ(png.colourType, PNG_COLOR_TYPE_RGB_ALPHA);
    EXPECT_EQ(png.interlace, PNG_INTERLACE_NONE);
    EXPECT_EQ(e.height % e.frames, 0);
    EXPECT_EQ(e.height / e.frames, e.frameHeight);
  }
}

// Adjacent frames of a strip must differ, else the strip was cut at the
// wrong frame size or a frame was drawn twice.
TEST(EditorImages, NeighbouringFramesOfEveryStripDiffer) {
  for (const ExpectedImage& e : kExpected) {
    if (e.frames < 2) continue;
    SCOPED_TRACE(e.name);
    const DecodedPng png = ReadPng(ImagePath(e.name));
    ASSERT_EQ(png.rgba.size(), static_cast<size_t>(e.width) * e.height * 4);
    const size_t frameBytes = static_cast<size_t>(e.width) * e.frameHeight * 4;
    // The peak-hold strip's lowest frames can move the marker by less than a
    // row-pair, so compare whole frames rather than rows.
    for (int f = 1; f < e.frames; ++f) {
      const uint8_t* a = &png.rgba[(f - 1) * frameBytes];
      const uint8_t* b = &png.rgba[f * frameBytes];
      EXPECT_NE(std::vector<uint8_t>(a, a + frameBytes), std::vector<uint8_t>(b, b + frameBytes))
          << "frames " << f - 1 << " and " << f;
    }
  }
}

TEST(EditorImages, BackgroundIsOpaque) {
  const DecodedPng png = ReadPng(ImagePath("background.png"));
  ASSERT_FALSE(png.rgba.empty());
  for (int y = 0; y < png.height; ++y)
    for (int x = 0; x < png.width; ++x) ASSERT_EQ(png.Pixel(x, y)[3], 255) << x << "," << y;
}

// The meter frame for a level lights the strip up to that level's row on the
// background's dB scale: frame k lights the bottom MeterFillHeight(k) rows.
// Lit rows are clearly brighter than unlit ones of the same zone.
int LitRows(const DecodedPng& png, int frame) {
  int lit = 0;
  for (int row = 0; row < stratum_layout::kMeterStripHeight; ++row) {
    const uint8_t* p = png.Pixel(4, frame * stratum_layout::kMeterStripHeight + row);
    const int brightest = std::max({p[0], p[1], p[2]});
    if (brightest > 60) ++lit;
  }
  return lit;
}

TEST(EditorImages, MeterFramesFillFromTheBottomInStepWithTheScale) {
  const DecodedPng png = ReadPng(ImagePath("meter.png"));
  ASSERT_FALSE(png.rgba.empty());
  for (int frame = 0; frame < stratum_layout::kMeterFrames; ++frame) {
    SCOPED_TRACE(frame);
    const int expected = stratum_layout::MeterFillHeight(frame);
    const int lit = LitRows(png, frame);
    // Every fourth row is a dimmer segment gap, so allow for the gaps.
    EXPECT_NEAR(lit, expected * 3 / 4, expected / 4 + 2);
    if (expected > 0) {
      // The top lit row sits exactly at the level.
      const int top = stratum_layout::kMeterStripHeight - expected;
      const int topRow = (top % 4 == 3) ? top + 1 : top;
      const uint8_t* p = png.Pixel(4, frame * stratum_layout::kMeterStripHeight + topRow);
      EXPECT_GT(std::max({p[0], p[1], p[2]}), 60);
      if (top > 1) {
        const uint8_t* above = png.Pixel(4, frame * stratum_layout::kMeterStripHeight + top - 2);
        EXPECT_LE(std::max({above[0], above[1], above[2]}), 60);
      }
    }
  }
  // Frame 0 is the empty meter, frame 47 the full one.
  EXPECT_EQ(LitRows(png, 0), 0);
}

TEST(EditorImages, HoldMarkersAreThinBarsAtTheLevelAndTransparentElsewhere) {
  const DecodedPng png = ReadPng(ImagePath("peak-hold.png"));
  ASSERT_FALSE(png.rgba.empty());
  for (int frame = 0; frame < stratum_layout::kMeterFrames; ++frame) {
    SCOPED_TRACE(frame);
    std::vector<int> opaqueRows;
    for (int row = 0; row < stratum_layout::kMeterStripHeight; ++row) {
      if (png.Pixel(4, frame * stratum_layout::kMeterStripHeight + row)[3] != 0) opaqueRows.push_back(row);
    }
    if (frame == 0) {
      EXPECT_TRUE(opaqueRows.empty());
      continue;
    }
    ASSERT_FALSE(opaqueRows.empty());
    EXPECT_LE(opaqueRows.size(), 3u);
    EXPECT_EQ(opaqueRows.front(), stratum_layout::kMeterStripHeight - stratum_layout::MeterFillHeight(frame));
  }
}

}  // namespace
