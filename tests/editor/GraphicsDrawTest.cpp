#include <gtest/gtest.h>

#include <vector>

#include "EditorTestSupport.h"
#include "editor/IBitmapControl.h"
#include "editor/IKnobMultiControl.h"
#include "raster/RAS_SysBitmap.h"

using editortest::EditorFixture;
using editortest::FrameColour;
using editortest::MakeStrip;
using editortest::PixelAt;
using editortest::ProbeControl;

namespace {

constexpr uint32_t kBackground = 0xFF202020u;

// Copy with alpha of an opaque source pixel at weight w (ia = 64 for 0.25).
uint32_t BlendOpaqueOver(uint32_t src, uint32_t dst, int w) {
  uint32_t out = 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const int s = static_cast<int>((src >> shift) & 0xFF);
    const int d = static_cast<int>((dst >> shift) & 0xFF);
    out |= static_cast<uint32_t>(s + (d - s) * (256 - w) / 256) << shift;
  }
  return out;
}

class DrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    a = new ProbeControl(&f.plug, IRect(10, 10, 30, 30));
    b = new ProbeControl(&f.plug, IRect(100, 100, 130, 130));
    c = new ProbeControl(&f.plug, IRect(25, 25, 60, 60));
    f.gfx->AddControl(a);
    f.gfx->AddControl(b);
    f.gfx->AddControl(c);
    f.Attach();
    f.gfx->DrawAll();
    for (ProbeControl* p : {a, b, c}) p->draws = 0;
    f.gfx->ClearPaintedRects();
  }

  EditorFixture f;
  ProbeControl* a;
  ProbeControl* b;
  ProbeControl* c;
};

TEST_F(DrawTest, DirtyRectangleIsTheUnionOfDirtyControls) {
  IRect r;
  EXPECT_FALSE(f.gfx->CollectDirtyRect(r));
  EXPECT_TRUE(r.Empty());

  a->MarkDirty(false);
  b->MarkDirty(false);
  EXPECT_TRUE(f.gfx->CollectDirtyRect(r));
  EXPECT_EQ(r, IRect(10, 10, 130, 130));

  // The timer step paints exactly that rectangle and leaves everything clean.
  EXPECT_TRUE(f.gfx->Tick());
  ASSERT_EQ(f.gfx->PaintedRects().size(), 1u);
  EXPECT_EQ(f.gfx->PaintedRects()[0], IRect(10, 10, 130, 130));
  EXPECT_FALSE(f.gfx->Tick());
}

TEST_F(DrawTest, StrictDrawingDrawsExactlyTheIntersectingControls) {
  f.gfx->DrawRegion(IRect(0, 0, 26, 26));  // meets a and c, not b
  EXPECT_EQ(a->draws, 1);
  EXPECT_EQ(c->draws, 1);
  EXPECT_EQ(b->draws, 0);
  EXPECT_EQ(f.gfx->GetDrawRect(), IRect(0, 0, 26, 26));

  // A region touching b's right and bottom edge from outside counts as
  // meeting it; one touching its left and top edge does not.
  f.gfx->DrawRegion(IRect(130, 130, 200, 200));
  EXPECT_EQ(b->draws, 1);
  f.gfx->DrawRegion(IRect(70, 70, 100, 100));
  EXPECT_EQ(b->draws, 1);

  c->Hide(true);
  f.gfx->DrawRegion(IRect(0, 0, 410, 522));
  EXPECT_EQ(c->draws, 1);
  EXPECT_TRUE(c->IsDirty());  // hiding set the redraw flag: dirty for one more round
  f.gfx->DrawAll();
  EXPECT_FALSE(c->IsDirty());
}

TEST_F(DrawTest, NonStrictDrawingFollowsTheDirtyControls) {
  f.gfx->SetStrictDrawing(false);
  c->MarkDirty(false);
  f.gfx->DrawRegion(IRect(0, 0, 410, 522));
  EXPECT_EQ(c->draws, 1);
  EXPECT_EQ(a->draws, 1);  // overlaps c
  EXPECT_EQ(b->draws, 0);
  EXPECT_EQ(f.gfx->GetDrawRect(), c->GetRect());

  f.gfx->GetControl(0)->MarkDirty(false);  // a dirty background redraws all
  f.gfx->DrawRegion(IRect(0, 0, 1, 1));
  EXPECT_EQ(b->draws, 1);
  EXPECT_FALSE(f.gfx->GetControl(0)->IsDirty());
}

TEST_F(DrawTest, ScreenReceivesOnlyThePaintedRegion) {
  RAS_IBitmap* back = f.gfx->GetBackBuffer();
  EXPECT_EQ(PixelAt(back, 5, 5), kBackground);
  EXPECT_EQ(PixelAt(f.gfx->Screen(), 409, 521), kBackground);

  // Change the back buffer behind the editor's back, then paint a corner.
  for (int y = 0; y < 522; ++y)
    for (int x = 0; x < 410; ++x) back->GetPixels()[y * back->GetRowSpan() + x] = 0xFF00FF00u;
  f.gfx->DrawScreen(IRect(0, 0, 10, 10));
  EXPECT_EQ(PixelAt(f.gfx->Screen(), 9, 9), 0xFF00FF00u);
  EXPECT_EQ(PixelAt(f.gfx->Screen(), 10, 10), kBackground);
}

TEST_F(DrawTest, OpeningTheWindowMarksEverythingForTheFirstTick) {
  EXPECT_EQ(f.gfx->GetWindow(), nullptr);
  EXPECT_FALSE(f.gfx->WindowIsOpen());
  EXPECT_NE(f.gfx->OpenWindow(nullptr), nullptr);
  EXPECT_TRUE(f.gfx->WindowIsOpen());
  EXPECT_TRUE(f.gfx->Tick());
  EXPECT_EQ(f.gfx->PaintedRects().back(), IRect(0, 0, 410, 522));
  f.gfx->CloseWindow();
  EXPECT_FALSE(f.gfx->WindowIsOpen());
}

TEST_F(DrawTest, ControlBoundsAreOutlinedInGreen) {
  f.gfx->ShowControlBounds(true);
  f.gfx->DrawAll();
  RAS_IBitmap* back = f.gfx->GetBackBuffer();
  const uint32_t green = 0xFF00FF00u;
  EXPECT_EQ(PixelAt(back, 100, 100), green);
  EXPECT_EQ(PixelAt(back, 130, 130), green);  // the right and bottom lines are drawn too
  EXPECT_EQ(PixelAt(back, 115, 100), green);
  EXPECT_EQ(PixelAt(back, 115, 115), kBackground);
  EXPECT_EQ(PixelAt(back, 0, 0), kBackground);  // the background is not outlined
}

TEST_F(DrawTest, ResizeDestroysEveryControlAndTellsThePlugin) {
  f.gfx->MouseDown(20, 20, IMouseMod(true));
  f.gfx->CreateTextEntry(a, ITextStyle(), a->GetRect(), "1", nullptr);
  ASSERT_TRUE(f.gfx->IsTextEntryOpen());
  f.gfx->Resize(200, 100);
  EXPECT_EQ(f.gfx->GetNControls(), 0);
  EXPECT_FALSE(f.gfx->IsTextEntryOpen());  // its control is gone
  EXPECT_EQ(f.gfx->GetMouseCapture(), -1);
  EXPECT_EQ(f.gfx->GetBackBuffer()->GetWidth(), 200);
  EXPECT_EQ(f.gfx->GetBackBuffer()->GetHeight(), 100);
  const auto resizes = f.plug.HostCallsOf(IFxRecordingAdapter::HostCallKind::ResizeEditor);
  ASSERT_EQ(resizes.size(), 1u);
  EXPECT_EQ(resizes[0].index, 200);
  f.gfx->DrawAll();  // nothing left to draw: no paint
  EXPECT_TRUE(f.gfx->PaintedRects().empty());
}

TEST(FrameDrawTest, FrameAndSourceOffsetFollowTheValue) {
  EditorFixture f;
  auto strip = MakeStrip(4, 64, 201);
  auto* knob = new IKnobMultiControl(&f.plug, 50, 60, kGainLevel,
                                     editortest::Describe(strip.get(), 201));
  f.gfx->AddControl(knob);
  f.Attach();  // gain 0 dB of -60..60: normalised 0.5
  ASSERT_DOUBLE_EQ(knob->GetValue(), 0.5);
  f.gfx->DrawAll();
  RAS_IBitmap* back = f.gfx->GetBackBuffer();
  // Frame 101 starts at y = (int)(12864 * 100 / 201 + 0.5) = 6400.
  EXPECT_EQ(PixelAt(back, 50, 60), FrameColour(101));
  EXPECT_EQ(PixelAt(back, 53, 123), FrameColour(101));
  EXPECT_EQ(PixelAt(back, 54, 60), kBackground);
  EXPECT_EQ(PixelAt(back, 50, 124), kBackground);
}

TEST(FrameDrawTest, HorizontalStripsOffsetTheSourceX) {
  EditorFixture f;
  auto strip = MakeStrip(10, 6, 4, true);
  IFrameBitmap bitmap = editortest::Describe(strip.get(), 4, true);
  f.Attach();
  f.gfx->DrawAll();
  const IRect dest(0, 0, 10, 6);
  IBlend opaque(IBlend::BlendOpaque);
  EXPECT_TRUE(f.gfx->DrawBitmapFrame(bitmap, dest, 3, &opaque));
  EXPECT_EQ(PixelAt(f.gfx->GetBackBuffer(), 0, 0), FrameColour(3));
  EXPECT_EQ(PixelAt(f.gfx->GetBackBuffer(), 9, 5), FrameColour(3));
}

TEST(FrameDrawTest, DrawingClipsToTheDrawRectangle) {
  EditorFixture f;
  auto strip = MakeStrip(20, 20, 1);
  IFrameBitmap bitmap = editortest::Describe(strip.get(), 1);
  f.Attach();
  f.gfx->DrawAll();  // draw rectangle: the whole editor
  f.gfx->DrawRegion(IRect(0, 0, 15, 15));
  EXPECT_TRUE(f.gfx->DrawBitmap(bitmap, IRect(10, 10, 30, 30), 0, 0, nullptr));
  RAS_IBitmap* back = f.gfx->GetBackBuffer();
  EXPECT_EQ(PixelAt(back, 10, 10), FrameColour(1));
  EXPECT_EQ(PixelAt(back, 14, 14), FrameColour(1));
  EXPECT_EQ(PixelAt(back, 15, 15), kBackground);
  EXPECT_EQ(PixelAt(back, 9, 9), kBackground);
}

TEST(FrameDrawTest, GreyedControlIsDrawnAtQuarterWeight) {
  EditorFixture f;
  auto strip = MakeStrip(20, 20, 2);
  auto* sw = new IBitmapControl(&f.plug, 30, 30, kPan, editortest::Describe(strip.get(), 2));
  f.gfx->AddControl(sw);
  f.Attach();  // pan 0 of -100..100: frame 2
  f.gfx->GreyOutParam(kPan, true);
  EXPECT_TRUE(f.gfx->Tick());
  EXPECT_EQ(PixelAt(f.gfx->GetBackBuffer(), 35, 35), BlendOpaqueOver(FrameColour(2), kBackground, 64));
  f.gfx->GreyOutParam(kPan, false);
  f.gfx->Tick();
  EXPECT_EQ(PixelAt(f.gfx->GetBackBuffer(), 35, 35), FrameColour(2));
}

}  // namespace
