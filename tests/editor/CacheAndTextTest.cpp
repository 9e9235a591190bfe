#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "editor/FontCache.h"
#include "editor/ImageCache.h"
#include "raster/RAS_CachedFont.h"
#include "raster/RAS_SysBitmap.h"

using editortest::EditorFixture;
using editortest::PixelAt;

namespace {

TEST(ImageCacheTest, TwoEditorsShareOneDecodedImage) {
  editortest::RegisterSolidPng(9201, 6, 8, 0xFF112233u);
  EditorFixture a;
  EditorFixture b;
  const int before = ImageCache::Count();
  const int loadsBefore = a.gfx->PlatformBitmapLoads();
  const IFrameBitmap first = a.gfx->LoadFrameBitmap(9201, "resources/img/knob.PNG", 2);
  const IFrameBitmap second = b.gfx->LoadFrameBitmap(9201, "other-name.png", 4, true);
  EXPECT_EQ(first.bitmap, second.bitmap);
  EXPECT_EQ(ImageCache::Count(), before + 1);
  EXPECT_EQ(a.gfx->PlatformBitmapLoads() - loadsBefore, 1);
  EXPECT_EQ(b.gfx->PlatformBitmapLoads(), 0);

  EXPECT_EQ(first.W, 6);
  EXPECT_EQ(first.H, 8);
  EXPECT_EQ(first.N, 2);
  EXPECT_FALSE(first.framesHorizontal);
  EXPECT_EQ(second.N, 4);
  EXPECT_TRUE(second.framesHorizontal);
  EXPECT_EQ(PixelAt(first.bitmap, 5, 7), 0xFF112233u);
}

TEST(ImageCacheTest, BackgroundIsAnOpaqueBitmapControlAtIndexZero) {
  EditorFixture f;
  auto* probe = new editortest::ProbeControl(&f.plug, IRect(0, 0, 5, 5));
  EXPECT_EQ(f.gfx->AddControl(probe), 1);
  f.gfx->AddBackground(EditorFixture::kBackgroundId, "background.png");  // moves the others up
  EXPECT_EQ(f.gfx->GetNControls(), 3);
  EXPECT_EQ(f.gfx->GetControl(2), probe);
  IControl* background = f.gfx->GetControl(0);
  EXPECT_EQ(background->GetRect(), IRect(0, 0, 410, 522));
  EXPECT_EQ(background->GetBlend().method, IBlend::BlendOpaque);
  EXPECT_EQ(background->ParamIdx(), -1);
  EXPECT_EQ(f.gfx->GetControl(3), nullptr);
  EXPECT_EQ(f.gfx->GetControl(-1), nullptr);
}

TEST(ImageCacheDeathTest, MissingOrNonPngResourceStopsTheProcess) {
  EditorFixture f;
  EXPECT_DEATH(f.gfx->LoadFrameBitmap(9299, "missing.png"), "imgResourceFound");
  editortest::RegisterSolidPng(9202, 2, 2, 0xFFFFFFFFu);
  EXPECT_DEATH(f.gfx->LoadFrameBitmap(9202, "image.bmp"), "imgResourceFound");
}

TEST(FontCacheTest, EqualStylesShareOneFontAcrossEditors) {
  EditorFixture a;
  EditorFixture b;
  ITextStyle s1(13, IColor(255, 1, 2, 3), "Arial");
  ITextStyle s2(13, IColor(255, 9, 9, 9), "Arial");  // colour is no key
  ITextStyle bold(13, IColor(255, 1, 2, 3), "Arial", ITextStyle::StyleBold);
  const int before = FontCache::Count();
  RAS_CachedFont* f1 = a.gfx->FindFont(s1);
  ASSERT_NE(f1, nullptr);
  EXPECT_EQ(s1.cachedFont, f1);
  EXPECT_EQ(b.gfx->FindFont(s2), f1);
  EXPECT_EQ(FontCache::Count(), before + 1);
  RAS_CachedFont* f3 = b.gfx->FindFont(bold);
  EXPECT_NE(f3, f1);
  EXPECT_EQ(FontCache::Count(), before + 2);
}

TEST(TextTest, MeasuringPlacesTheBoxByAlignment) {
  EditorFixture f;
  f.Attach();
  ITextStyle left(12, IColor(255, 0, 0, 0), "Arial", ITextStyle::StyleNormal, ITextStyle::AlignLeft);
  IRect box(100, 10, 200, 30);
  ASSERT_TRUE(f.gfx->MeasureText(left, "Gain 12.5", box));
  const int w = box.W();
  const int h = box.H();
  ASSERT_GT(w, 10);
  ASSERT_GT(h, 5);
  EXPECT_EQ(box.L, 100);

  ITextStyle centre = left;
  centre.align = ITextStyle::AlignCenter;
  IRect c(100, 10, 200, 30);
  ASSERT_TRUE(f.gfx->DrawStyledText(centre, "Gain 12.5", c, true));
  EXPECT_EQ(c.L, 150 - w / 2);
  EXPECT_EQ(c.R, c.L + w);
  EXPECT_EQ(c.T, 10);
  EXPECT_EQ(c.B, 10 + h);

  ITextStyle right = left;
  right.align = ITextStyle::AlignRight;
  IRect r(100, 10, 200, 30);
  f.gfx->MeasureText(right, "Gain 12.5", r);
  EXPECT_EQ(r, IRect(200 - w, 10, 200, 10 + h));

  IRect untouched(1, 2, 3, 4);
  EXPECT_TRUE(f.gfx->MeasureText(left, "", untouched));
  EXPECT_EQ(untouched, IRect(1, 2, 3, 4));
}

TEST(TextTest, DrawingPutsTextColourInsideTheRectangle) {
  EditorFixture f;
  f.Attach();
  f.gfx->DrawAll();
  ITextStyle style(14, IColor(255, 255, 255, 255), "Arial");
  IRect rect(50, 50, 150, 70);
  ASSERT_TRUE(f.gfx->DrawStyledText(style, "MMMM", rect, false));
  RAS_IBitmap* back = f.gfx->GetBackBuffer();
  int inside = 0;
  int outside = 0;
  for (int y = 0; y < 522; ++y)
    for (int x = 0; x < 410; ++x)
      if (PixelAt(back, x, y) != 0xFF202020u) (rect.Contains(x, y) ? inside : outside)++;
  EXPECT_GT(inside, 20);
  EXPECT_EQ(outside, 0);
}

TEST(TextTest, FontThatCannotBeMadeDrawsNothing) {
  EditorFixture f;
  f.Attach();
  ITextStyle rotated(12, IColor(), "Arial", ITextStyle::StyleNormal, ITextStyle::AlignCenter, 90);
  IRect rect(0, 0, 100, 20);
  EXPECT_FALSE(f.gfx->DrawStyledText(rotated, "text", rect, false));
  EXPECT_EQ(rotated.cachedFont, nullptr);
  EXPECT_EQ(rect, IRect(0, 0, 100, 20));
}

}  // namespace
