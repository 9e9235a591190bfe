#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "raster/RAS_PlatformFont.h"
#include "raster/RAS_Resources.h"

// Several plug-in instances (each on its own host thread) may register
// resources and make fonts at the same time.

TEST(RasterConcurrency, ResourceTableAcceptsParallelRegistration) {
  static const unsigned char kBytes[16] = {};
  auto work = [](int base) {
    for (int i = 0; i < 200; ++i) {
      RAS_RegisterResource("PNG", base + i % 20, kBytes, sizeof kBytes);
      const void* data = nullptr;
      size_t size = 0;
      EXPECT_TRUE(RAS_FindResource("PNG", base + i % 20, &data, &size));
    }
  };
  std::thread a(work, 1000), b(work, 1010);
  work(1005);
  a.join();
  b.join();
  const void* data = nullptr;
  size_t size = 0;
  for (int id = 1000; id < 1030; ++id) EXPECT_TRUE(RAS_FindResource("PNG", id, &data, &size)) << id;
  RAS_ClearResources();
  EXPECT_FALSE(RAS_FindResource("PNG", 1000, &data, &size));
}

TEST(RasterConcurrency, PlatformFontsCanBeMadeOnSeveralThreads) {
  auto work = [] {
    for (int i = 0; i < 5; ++i) {
      RAS_PlatformFontDesc desc;
      desc.height = 10 + i;
      RAS_PlatformFont* font = RAS_CreatePlatformFont(desc);
      ASSERT_NE(font, nullptr);
      int w = 0, h = 0;
      EXPECT_TRUE(RAS_PlatformFontMeasureChar(font, 'A', &w, &h));
      RAS_DeletePlatformFont(font);
    }
  };
  std::vector<std::thread> threads;
  for (int i = 0; i < 3; ++i) threads.emplace_back(work);
  for (std::thread& t : threads) t.join();
}
