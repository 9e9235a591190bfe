#include "tools/imagegen/PngFile.h"

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace imagegen {

namespace {

// cairo keeps premultiplied pixels in native 32-bit words; PNG wants straight
// R, G, B, A bytes.
void FillStraightRgbaRow(const uint32_t* pixels, int width, uint8_t* row) {
  for (int x = 0; x < width; ++x) {
    const uint32_t word = pixels[x];
    const unsigned a = word >> 24;
    unsigned r = (word >> 16) & 0xff;
    unsigned g = (word >> 8) & 0xff;
    unsigned b = word & 0xff;
    if (a != 0 && a != 255) {
      r = (r * 255 + a / 2) / a;
      g = (g * 255 + a / 2) / a;
      b = (b * 255 + a / 2) / a;
    } else if (a == 0) {
      r = g = b = 0;
    }
    row[x * 4 + 0] = static_cast<uint8_t>(r > 255 ? 255 : r);
    row[x * 4 + 1] = static_cast<uint8_t>(g > 255 ? 255 : g);
    row[x * 4 + 2] = static_cast<uint8_t>(b > 255 ? 255 : b);
    row[x * 4 + 3] = static_cast<uint8_t>(a);
  }
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

  // Allocated before the encoder's error jump point so that a jump skips no destructor.
  std::vector<uint8_t> row(static_cast<size_t>(width) * 4);
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    std::fprintf(stderr, "imagegen: cannot write %s\n", path.c_str());
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    std::fprintf(stderr, "imagegen: PNG encoding of %s failed\n", path.c_str());
    return false;
  }
  png_init_io(png, file);
  png_set_compression_level(png, 9);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    const uint32_t* pixels = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
    FillStraightRgbaRow(pixels, width, row.data());
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  const bool closed = std::fclose(file) == 0;
  if (!closed) std::fprintf(stderr, "imagegen: closing %s failed\n", path.c_str());
  return closed;
}

}  // namespace imagegen
