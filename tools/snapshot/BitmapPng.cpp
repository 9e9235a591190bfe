#include "tools/snapshot/BitmapPng.h"

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "raster/RAS_IBitmap.h"

namespace snapshot {

bool WriteBitmapPng(RAS_IBitmap* bitmap, const std::string& path, std::string* error) {
  if (!bitmap || !bitmap->GetPixels() || bitmap->GetWidth() <= 0 || bitmap->GetHeight() <= 0) {
    *error = "nothing was drawn";
    return false;
  }
  const int width = bitmap->GetWidth();
  const int height = bitmap->GetHeight();
  // Allocated before the encoder's error jump point so that a jump skips no destructor.
  std::vector<uint8_t> row(static_cast<size_t>(width) * 3);

  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    *error = "cannot open " + path + " for writing";
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    *error = "PNG encoding of " + path + " failed";
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    const int memoryRow = bitmap->IsFlipped() ? height - 1 - y : y;
    const uint32_t* pixels = bitmap->GetPixels() + static_cast<size_t>(memoryRow) * bitmap->GetRowSpan();
    for (int x = 0; x < width; ++x) {
      row[x * 3 + 0] = static_cast<uint8_t>(pixels[x] >> 16);
      row[x * 3 + 1] = static_cast<uint8_t>(pixels[x] >> 8);
      row[x * 3 + 2] = static_cast<uint8_t>(pixels[x]);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  if (std::fclose(file) != 0) {
    *error = "writing " + path + " failed";
    return false;
  }
  return true;
}

}  // namespace snapshot
