#include <gtest/gtest.h>

#include <vector>

#include "EditorTestSupport.h"
#include "editor/IBitmapControl.h"
#include "editor/ICaptionControl.h"
#include "editor/IKnobMultiControl.h"
#include "editor/ISwitchControl.h"
#include "editor/ISwitchFramesControl.h"
#include "editor/ITextControl.h"

using editortest::EditorFixture;
using editortest::MakeStrip;
using Kind = IFxRecordingAdapter::HostCallKind;

namespace {

const IMouseMod kLeft(true);
const IMouseMod kRight(false, true);
const IMouseMod kLeftShift(true, false, true);
const IMouseMod kLeftControl(true, false, false, true);

// The normalised values the plug-in was handed for a parameter, in order.
std::vector<double> SentValues(const TestPlugin& plug, int paramIdx) {
  std::vector<double> values;
  for (const auto& call : plug.HostCallsOf(Kind::ParamChange))
    if (call.index == paramIdx) values.push_back(call.value);
  return values;
}

TEST(BitmapControlTest, RectangleIsOneFrameWhateverTheDirection) {
  auto vertical = MakeStrip(20, 20, 2);
  auto horizontal = MakeStrip(20, 10, 4, true);
  IBitmapControl a(nullptr, 5, 7, editortest::Describe(vertical.get(), 2));
  IBitmapControl b(nullptr, 1, 2, editortest::Describe(horizontal.get(), 4, true));
  EXPECT_EQ(a.GetRect(), IRect(5, 7, 25, 27));
  EXPECT_EQ(b.GetRect(), IRect(1, 2, 81, 4));  // W = 80, H / N = 10 / 4
  EXPECT_EQ(a.ParamIdx(), -1);
}

TEST(BitmapControlTest, FrameFollowsTheValue) {
  auto strip = MakeStrip(4, 4, 48);
  IBitmapControl meter(nullptr, 0, 0, editortest::Describe(strip.get(), 48));
  const struct {
    double value;
    int frame;
  } cases[] = {{0.0, 1}, {1.0, 48}, {0.5, 25}, {-0.5, 1}, {2.0, 48}};
  for (const auto& c : cases) {
    meter.SetValue(c.value);
    EXPECT_EQ(meter.CurrentFrame(), c.frame) << c.value;
  }
}

TEST(SwitchControlTest, ClicksStepThroughTheFramesAndWrap) {
  const struct {
    int frames;
    std::vector<double> sequence;
  } cases[] = {
      {2, {1.0, 0.0, 1.0}},
      {3, {0.5, 1.0, 0.0}},
      {4, {1.0 / 3, 2.0 / 3, 1.0, 0.0}},
      {1, {1.0, 0.0}},
  };
  for (const auto& c : cases) {
    EditorFixture f;
    auto strip = MakeStrip(20, 20, c.frames);
    auto* sw = new ISwitchControl(&f.plug, 0, 0, kChannelSelector,
                                  editortest::Describe(strip.get(), c.frames));
    f.gfx->AddControl(sw);
    for (double expected : c.sequence) {
      sw->MouseDown(1, 1, kLeft);
      EXPECT_NEAR(sw->GetValue(), expected, 1e-12) << c.frames << " frames";
    }
    EXPECT_EQ(SentValues(f.plug, kChannelSelector).size(), c.sequence.size());
  }
}

TEST(SwitchControlTest, DoubleClickAdvancesLikeAClick) {
  EditorFixture f;
  auto strip = MakeStrip(20, 20, 3);
  ISwitchControl sw(&f.plug, 0, 0, kDcBlock, editortest::Describe(strip.get(), 3));
  sw.MouseDown(1, 1, kLeft);
  EXPECT_DOUBLE_EQ(sw.GetValue(), 0.5);
  sw.MouseDoubleClick(1, 1, kLeft);  // the second click of a double click
  EXPECT_DOUBLE_EQ(sw.GetValue(), 1.0);
}

TEST(SwitchControlTest, RightClickWithPromptDisabledResendsTheValue) {
  EditorFixture f;
  auto strip = MakeStrip(20, 20, 2);
  auto* sw = new ISwitchControl(&f.plug, 0, 0, kMute, editortest::Describe(strip.get(), 2));
  f.gfx->AddControl(sw);
  sw->SetValue(1.0);
  sw->MouseDown(1, 1, kRight);
  EXPECT_DOUBLE_EQ(sw->GetValue(), 1.0);
  EXPECT_EQ(SentValues(f.plug, kMute), std::vector<double>{1.0});
  EXPECT_TRUE(f.gfx->ShownMenus().empty());
}

TEST(SwitchFramesControlTest, ClickRectanglesSelectTheirFrame) {
  EditorFixture f;
  // Four frames of 146 x 24: the 36-pixel click rectangles leave two pixels
  // on the right that belong to no frame.
  auto strip = MakeStrip(146, 24, 4);
  auto* sel = new ISwitchFramesControl(&f.plug, 100, 50, kChannelSelector,
                                       editortest::Describe(strip.get(), 4), true);
  f.gfx->AddControl(sel);
  ASSERT_EQ(sel->GetClickRects().size(), 4u);
  EXPECT_EQ(sel->GetClickRects()[1], IRect(136, 50, 172, 74));
  EXPECT_FALSE(sel->IsPromptDisabled());

  sel->MouseDown(100 + 2 * 36 + 3, 60, kLeft);
  EXPECT_DOUBLE_EQ(sel->GetValue(), 2.0 / 3);
  sel->MouseDown(100 + 145, 60, kRight);  // between rectangles: unchanged, sent again
  EXPECT_DOUBLE_EQ(sel->GetValue(), 2.0 / 3);
  EXPECT_EQ(SentValues(f.plug, kChannelSelector).size(), 2u);

  sel->MoveTo(0, 0);
  EXPECT_EQ(sel->GetClickRects()[3], IRect(108, 0, 144, 24));
  sel->MouseDoubleClick(1, 1, kLeft);
  EXPECT_DOUBLE_EQ(sel->GetValue(), 0.0);
}

TEST(SwitchFramesControlTest, StackedSplitDividesTheHeight) {
  auto strip = MakeStrip(30, 40, 2);
  ISwitchFramesControl sel(nullptr, 0, 0, -1, editortest::Describe(strip.get(), 2), false);
  ASSERT_EQ(sel.GetClickRects().size(), 2u);
  EXPECT_EQ(sel.GetClickRects()[1], IRect(0, 20, 30, 40));
}

class KnobTest : public ::testing::Test {
 protected:
  KnobTest() : strip(MakeStrip(64, 64, 201)) {
    knob = new IKnobMultiControl(&f.plug, 0, 0, kGainLevel, editortest::Describe(strip.get(), 201),
                                 IKnobControl::Vertical, 2.0);
    f.gfx->AddControl(knob);
    knob->SetValue(0.5);
  }
  EditorFixture f;
  std::unique_ptr<RAS_MemBitmap> strip;
  IKnobMultiControl* knob;
};

TEST_F(KnobTest, DragGearingAndModifiers) {
  knob->MouseDrag(0, 0, 0, -32, kLeft);  // 32 pixels up: 32 / 64 / 2
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.75);
  knob->MouseDrag(0, 0, 0, 32, kLeftShift);
  EXPECT_NEAR(knob->GetValue(), 0.725, 1e-12);
  knob->MouseDrag(0, 0, 0, 32, kLeftControl);
  EXPECT_NEAR(knob->GetValue(), 0.7, 1e-12);
  knob->MouseDrag(0, 0, 0, -1000, kLeft);  // clamped
  EXPECT_DOUBLE_EQ(knob->GetValue(), 1.0);
  EXPECT_DOUBLE_EQ(SentValues(f.plug, kGainLevel).back(), 1.0);
}

TEST_F(KnobTest, HorizontalDragUsesTheWidth) {
  IKnobMultiControl wide(nullptr, 0, 0, -1, editortest::Describe(strip.get(), 201),
                         IKnobControl::Horizontal, 1.0);
  wide.SetValue(0.0);
  wide.MouseDrag(0, 0, 16, -50, kLeft);
  EXPECT_DOUBLE_EQ(wide.GetValue(), 0.25);
}

TEST_F(KnobTest, WheelStepsAndClamps) {
  knob->SetValue(0.95);
  knob->MouseWheel(0, 0, IMouseMod(), 10);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 1.0);
  knob->MouseWheel(0, 0, IMouseMod(false, false, false, true), -10);
  EXPECT_NEAR(knob->GetValue(), 0.99, 1e-12);
  knob->MouseWheel(0, 0, IMouseMod(), -200);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.0);
}

TEST_F(KnobTest, DoubleClickRestoresTheFirstValueAndSendsIt) {
  knob->SetDefaultValue(-1.0);
  knob->TakeParamValue(0.5);  // the value at attachment becomes the default
  knob->TakeParamValue(0.8);
  EXPECT_DOUBLE_EQ(knob->GetDefaultValue(), 0.5);
  knob->MouseDoubleClick(0, 0, kLeft);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.5);
  EXPECT_EQ(SentValues(f.plug, kGainLevel), std::vector<double>{0.5});
}

TEST_F(KnobTest, FrameSelection) {
  const struct {
    double value;
    int frame;
  } cases[] = {{0.5, 101}, {0.0, 1}, {1.0, 201}, {-1.0, 1}, {1.5, 201}};
  for (const auto& c : cases) {
    knob->SetValue(c.value);
    EXPECT_EQ(knob->CurrentFrame(), c.frame) << c.value;
  }
}

TEST(ControlValueTest, FirstValueIsTheDefaultAndLaterChangesSurviveOneDrawing) {
  EditorFixture f;
  auto* c = new editortest::ProbeControl(&f.plug, IRect(0, 0, 10, 10), kPan);
  f.gfx->AddControl(c);
  EXPECT_TRUE(c->IsDirty());  // from construction
  c->TakeParamValue(0.5);
  EXPECT_DOUBLE_EQ(c->GetDefaultValue(), 0.5);
  EXPECT_FALSE(c->GetRedraw());
  c->MarkClean();
  EXPECT_FALSE(c->IsDirty());

  c->TakeParamValue(0.5);  // unchanged: nothing marked
  EXPECT_FALSE(c->IsDirty());
  c->TakeParamValue(0.6);
  EXPECT_TRUE(c->IsDirty());
  c->MarkClean();
  EXPECT_TRUE(c->IsDirty());  // the redraw flag keeps it for one more drawing
  c->MarkClean();
  EXPECT_FALSE(c->IsDirty());
  EXPECT_TRUE(f.plug.HostCalls().empty());  // pushing never calls back
}

TEST(ControlValueTest, MarkDirtyClampsSendsAndUpdatesDisplays) {
  EditorFixture f;
  ITextStyle style;
  auto* valueText = new ITextControl(&f.plug, IRect(0, 0, 50, 12), style, "");
  auto* nameText = new ITextControl(&f.plug, IRect(0, 20, 50, 32), style, "");
  auto* c = new editortest::ProbeControl(&f.plug, IRect(0, 40, 10, 50), kGainLevel);
  f.gfx->AddControl(valueText);
  f.gfx->AddControl(nameText);
  f.gfx->AddControl(c);
  c->SetValueDisplayControl(valueText);
  c->SetNameDisplayControl(nameText);

  c->SetValue(1.7);
  c->MarkDirty(true);
  EXPECT_DOUBLE_EQ(c->GetValue(), 1.0);
  EXPECT_EQ(SentValues(f.plug, kGainLevel), std::vector<double>{1.0});
  EXPECT_EQ(valueText->GetText(), "60.0");
  EXPECT_EQ(nameText->GetText(), "Gain Level");

  c->SetClamp(0.25, 0.75);
  c->SetValue(0.1);
  c->MarkDirty(false);  // clamps but sends nothing
  EXPECT_DOUBLE_EQ(c->GetValue(), 0.25);
  EXPECT_EQ(SentValues(f.plug, kGainLevel).size(), 1u);
}

TEST(ControlValueTest, EntryValueIsSentOnlyWhenItDiffers) {
  EditorFixture f;
  auto* c = new editortest::ProbeControl(&f.plug, IRect(0, 0, 10, 10), kPan);
  f.gfx->AddControl(c);
  c->SetValue(0.5);
  c->SetValueFromEntry(0.5);
  EXPECT_TRUE(f.plug.HostCalls().empty());
  c->SetValueFromEntry(0.75);
  EXPECT_EQ(SentValues(f.plug, kPan), std::vector<double>{0.75});
  EXPECT_TRUE(c->GetRedraw());
}

TEST(AuxParamTest, ControlBoundTwiceReceivesBothPushes) {
  EditorFixture f;
  auto* c = new editortest::ProbeControl(&f.plug, IRect(0, 0, 10, 10), kPan);
  f.gfx->AddControl(c);
  EXPECT_EQ(c->AddAuxParam(kStereoWidth), 0);
  EXPECT_EQ(c->AddAuxParam(kPan), 1);
  EXPECT_EQ(c->AuxParamIndex(kPan), 1);
  EXPECT_EQ(c->AuxParamIndex(kMute), -1);

  f.gfx->PushParamToControls(kPan, 100.0, false);  // plain: normalised to 1
  EXPECT_DOUBLE_EQ(c->GetValue(), 1.0);
  EXPECT_DOUBLE_EQ(c->GetAuxParamValue(1), 1.0);
  f.gfx->PushParamToControls(kStereoWidth, 0.25, true);
  EXPECT_DOUBLE_EQ(c->GetAuxParamValue(0), 0.25);
  EXPECT_DOUBLE_EQ(c->GetValue(), 1.0);
}

TEST(AuxParamDeathTest, BadIndexStopsTheProcess) {
  editortest::ProbeControl c(nullptr, IRect(0, 0, 1, 1));
  c.AddAuxParam(3);
  EXPECT_DEATH(c.TakeAuxParamValue(1, 0.5), "idx > -1 && idx < mAuxParams.GetSize\\(\\)");
  EXPECT_DEATH(c.TakeAuxParamValue(-1, 0.5), "idx > -1 && idx < mAuxParams.GetSize\\(\\)");
}

TEST(ControlStateTest, GreyAndHideSetTheBlendWeight) {
  editortest::ProbeControl c(nullptr, IRect(0, 0, 1, 1));
  c.MarkClean();
  c.GreyOut(true);
  EXPECT_TRUE(c.IsGreyed());
  EXPECT_FLOAT_EQ(c.GetBlend().weight, 0.25f);
  EXPECT_TRUE(c.IsDirty());
  c.GreyOut(false);
  EXPECT_FLOAT_EQ(c.GetBlend().weight, 1.0f);
  c.Hide(true);
  EXPECT_FLOAT_EQ(c.GetBlend().weight, 0.0f);
  EXPECT_TRUE(c.GetRedraw());
  c.Hide(false);
  EXPECT_FLOAT_EQ(c.GetBlend().weight, 1.0f);
}

TEST(ControlStateTest, MoveToKeepsTheSizeAndResetsTheTarget) {
  editortest::ProbeControl c(nullptr, IRect(10, 10, 30, 20));
  c.SetTargetRect(IRect(0, 0, 100, 100));
  c.MoveTo(50, 60);
  EXPECT_EQ(c.GetRect(), IRect(50, 60, 70, 70));
  EXPECT_EQ(c.GetTargetRect(), c.GetRect());
}

TEST(TextControlTest, ShowTextMarksOnlyRealChanges) {
  ITextControl t(nullptr, IRect(0, 0, 40, 12), ITextStyle(), "-inf");
  t.MarkClean();
  t.ShowText("-inf");
  EXPECT_FALSE(t.IsDirty());
  t.ShowText("-3.50");
  EXPECT_TRUE(t.IsDirty());
  EXPECT_EQ(t.GetText(), "-3.50");
  EXPECT_EQ(t.ParamIdx(), -1);
}

TEST(CaptionControlTest, TextIsTheDisplayValueWithOptionalLabel) {
  TestPlugin plug;
  ITextStyle style;
  ICaptionControl gain(&plug, IRect(0, 0, 60, 12), kGainLevel, style, true);
  ICaptionControl group(&plug, IRect(0, 0, 60, 12), kGroup, style, true);
  ICaptionControl release(&plug, IRect(0, 0, 60, 12), kLimiterReleaseSync, style, false);
  EXPECT_EQ(gain.CaptionText(), "0.0 dB");
  EXPECT_EQ(group.CaptionText(), "No group ");  // named value: empty label, trailing space
  EXPECT_EQ(release.CaptionText(), "1 Bar");
}

}  // namespace

// A change another thread makes while the interface thread draws: it lands
// between the control's Draw and its MarkClean, and must still be drawn at
// the next tick.
class ChangedWhileDrawnControl : public editortest::ProbeControl {
 public:
  using ProbeControl::ProbeControl;
  bool Draw(IGraphics& graphics) override {
    if (change) {
      change(*this);
      change = nullptr;
    }
    return ProbeControl::Draw(graphics);
  }
  void (*change)(IControl&) = nullptr;
};

TEST(ControlStateTest, ChangesDuringADrawingSurviveItsMarkClean) {
  struct Case {
    const char* name;
    void (*change)(IControl&);
  };
  const Case cases[] = {
      {"grey out", [](IControl& c) { c.GreyOut(true); }},
      {"value push", [](IControl& c) { c.TakeParamValue(0.75); }},
      {"hide", [](IControl& c) { c.Hide(true); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EditorFixture f;
    auto* control = new ChangedWhileDrawnControl(&f.plug, IRect(10, 10, 40, 40), kGainLevel);
    f.gfx->AddControl(control);
    f.Attach();
    f.gfx->DrawAll();  // the first drawing after attaching
    EXPECT_FALSE(control->IsDirty());
    control->change = c.change;
    control->MarkDirty(false);
    f.gfx->DrawAll();  // the change lands inside this drawing
    EXPECT_TRUE(control->IsDirty());
    f.gfx->DrawAll();
    EXPECT_FALSE(control->IsDirty());
  }
}
