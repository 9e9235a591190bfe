#include "tools/imagegen/PngFile.h"

#include <cstdint>
#include <cstdio>

#include "raster/RAS_MemBitmap.h"
#include "raster/RAS_PngWriter.h"

namespace imagegen {

namespace {

// cairo keeps premultiplied pixels in native 32-bit words; a raster bitmap
// holds the same word layout with straight alpha. Fully transparent pixels
// carry no colour.
uint32_t Unpremultiply(uint32_t word) {
  const unsigned a = word >> 24;
  if (a == 0) return 0;
  if (a == 255) return word;
  unsigned rgb[3] = {(word >> 16) & 0xff, (word >> 8) & 0xff, word & 0xff};
  for (unsigned& c : rgb) {
    c = (c * 255 + a / 2) / a;
    if (c > 255) c = 255;
  }
  return uint32_t(a) << 24 | rgb[0] << 16 | rgb[1] << 8 | rgb[2];
}

}  // namespace

bool WriteRgbaPng(cairo_surface_t* surface, const std::string& path) {
  if (cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32) {
    std::fprintf(stderr, "imagegen: %s: surface is not ARGB32\n", path.c_str());
    return false;
  }
  cairo_surface_flush(surface);
  const int width = cairo_image_surface_get_width(surface);
  const int height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);

  RAS_MemBitmap bitmap(width, height);
  uint32_t* pixels = bitmap.GetPixels();
  if (!data || !pixels) {
    std::fprintf(stderr, "imagegen: %s: no pixels to write\n", path.c_str());
    return false;
  }
  for (int y = 0; y < height; ++y) {
    const uint32_t* from = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
    uint32_t* to = pixels + static_cast<size_t>(y) * bitmap.GetRowSpan();
    for (int x = 0; x < width; ++x) to[x] = Unpremultiply(from[x]);
  }

  RAS_PngWriteOptions options;
  options.compressionLevel = 9;
  const RAS_PngWriteResult result = RAS_WritePngFile(&bitmap, path.c_str(), options);
  if (result != RAS_PngWriteResult::kWritten) {
    std::fprintf(stderr, "imagegen: %s: %s\n", path.c_str(), RAS_DescribePngWriteResult(result));
    return false;
  }
  return true;
}

}  // namespace imagegen
