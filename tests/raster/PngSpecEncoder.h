#pragma once

#include <png.h>

#include <cstdint>
#include <vector>

// Encodes a PNG of any colour type, depth and interlacing straight from raw
// samples, so the reader's tests can feed it files that the project's own
// writer (raster/RAS_PngWriter.h, 8-bit RGB and RGBA only) never makes. Rows
// hold the raw (packed, big-endian for 16 bits) samples of each row.
struct PngSpec {
  int width = 1;
  int height = 1;
  int colourType = PNG_COLOR_TYPE_RGBA;
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<std::vector<uint8_t>> rows;
  std::vector<png_color> palette;
  std::vector<uint8_t> paletteAlpha;  // tRNS for palette images
  bool hasColourKey = false;          // tRNS for grey / RGB images
  png_color_16 colourKey{};
};

inline void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

inline void FlushNothing(png_structp) {}

// Empty on failure.
inline std::vector<uint8_t> EncodePng(const PngSpec& spec) {
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  std::vector<png_bytep> rowPointers;
  for (const auto& row : spec.rows) rowPointers.push_back(const_cast<png_bytep>(row.data()));
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, AppendBytes, FlushNothing);
  png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colourType,
               spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!spec.palette.empty())
    png_set_PLTE(png, info, spec.palette.data(), static_cast<int>(spec.palette.size()));
  if (!spec.paletteAlpha.empty())
    png_set_tRNS(png, info, spec.paletteAlpha.data(), static_cast<int>(spec.paletteAlpha.size()), nullptr);
  if (spec.hasColourKey) png_set_tRNS(png, info, nullptr, 0, const_cast<png_color_16*>(&spec.colourKey));
  png_write_info(png, info);
  png_write_image(png, rowPointers.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}
