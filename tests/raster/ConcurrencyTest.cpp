#include <gtest/gtest.h>

#include "raster/RAS_PlatformFont.h"
#include "raster/RAS_Resources.h"
#include "testsupport/ConcurrentRounds.h"

// Several plug-in instances (each on its own host thread) may register
// resources and make fonts at the same time.

TEST(RasterConcurrency, ResourceTableAcceptsParallelRegistration) {
  static const unsigned char kBytes[16] = {};
  auto work = [](int base) {
    return [base](long i) {
      const int id = base + static_cast<int>(i % 20);
      RAS_RegisterResource("PNG", id, kBytes, sizeof kBytes);
      const void* data = nullptr;
      size_t size = 0;
      EXPECT_TRUE(RAS_FindResource("PNG", id, &data, &size));
    };
  };
  RunConcurrentRounds({{200, work(1005)}, {200, work(1000)}, {200, work(1010)}});
  const void* data = nullptr;
  size_t size = 0;
  for (int id = 1000; id < 1030; ++id) EXPECT_TRUE(RAS_FindResource("PNG", id, &data, &size)) << id;
  RAS_ClearResources();
  EXPECT_FALSE(RAS_FindResource("PNG", 1000, &data, &size));
}

TEST(RasterConcurrency, PlatformFontsCanBeMadeOnSeveralThreads) {
  auto work = [](long i) {
    RAS_PlatformFontDesc desc;
    desc.height = 10 + static_cast<int>(i % 5);
    RAS_PlatformFont* font = RAS_CreatePlatformFont(desc);
    ASSERT_NE(font, nullptr);
    int w = 0, h = 0;
    EXPECT_TRUE(RAS_PlatformFontMeasureChar(font, 'A', &w, &h));
    RAS_DeletePlatformFont(font);
  };
  RunConcurrentRounds({{5, work}, {5, work}, {5, work}});
}
