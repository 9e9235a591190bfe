#include "EditorTestSupport.h"

#include <png.h>

#include <cstring>
#include <deque>

#include "raster/RAS_Resources.h"

namespace editortest {

std::unique_ptr<RAS_MemBitmap> MakeStrip(int frameW, int frameH, int frames, bool horizontal) {
  const int w = horizontal ? frameW * frames : frameW;
  const int h = horizontal ? frameH : frameH * frames;
  auto bitmap = std::make_unique<RAS_MemBitmap>(w, h);
  uint32_t* pixels = bitmap->GetPixels();
  const int span = bitmap->GetRowSpan();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int frame = (horizontal ? x / frameW : y / frameH) + 1;
      pixels[y * span + x] = FrameColour(frame);
    }
  return bitmap;
}

std::vector<unsigned char> EncodeSolidPng(int w, int h, uint32_t argb) {
  std::vector<unsigned char> rgba(static_cast<size_t>(w) * h * 4);
  for (size_t i = 0; i < rgba.size(); i += 4) {
    rgba[i + 0] = static_cast<unsigned char>((argb >> 16) & 0xFF);
    rgba[i + 1] = static_cast<unsigned char>((argb >> 8) & 0xFF);
    rgba[i + 2] = static_cast<unsigned char>(argb & 0xFF);
    rgba[i + 3] = static_cast<unsigned char>((argb >> 24) & 0xFF);
  }
  png_image image;
  std::memset(&image, 0, sizeof(image));
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(w);
  image.height = static_cast<png_uint_32>(h);
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
  std::vector<unsigned char> png(size);
  png_image_write_to_memory(&image, png.data(), &size, 0, rgba.data(), 0, nullptr);
  png.resize(size);
  return png;
}

void RegisterSolidPng(int id, int w, int h, uint32_t argb) {
  // Never freed: registered resources must outlive every lookup.
  static std::deque<std::vector<unsigned char>> storage;
  storage.push_back(EncodeSolidPng(w, h, argb));
  RAS_RegisterResource("PNG", id, storage.back().data(), storage.back().size());
}

uint32_t PixelAt(RAS_IBitmap* bitmap, int x, int y) {
  return bitmap->GetPixels()[y * bitmap->GetRowSpan() + x];
}

EditorFixture::EditorFixture(HostFormat format)
    : plug(format), gfx(new IGraphicsScripted(&plug, kWidth, kHeight, 0)) {
  static bool registered = false;
  if (!registered) {
    RegisterSolidPng(kBackgroundId, kWidth, kHeight, 0xFF202020u);
    registered = true;
  }
  gfx->AddBackground(kBackgroundId, "background.png");
}

}  // namespace editortest
