#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EditorTestSupport.h"

using editortest::EditorFixture;
using editortest::ProbeControl;
using Kind = IFxRecordingAdapter::HostCallKind;

namespace {

const IMouseMod kLeft(true);
const IMouseMod kRight(false, true);

// Two overlapping parameter controls over the background and one without a
// parameter.
class MouseRoutingTest : public ::testing::TestWithParam<HostFormat> {
 protected:
  MouseRoutingTest() : f(GetParam()) {
    lower = new ProbeControl(&f.plug, IRect(10, 10, 50, 50), kGainLevel);
    upper = new ProbeControl(&f.plug, IRect(40, 40, 80, 80), kPan);
    plain = new ProbeControl(&f.plug, IRect(100, 100, 120, 120));
    f.gfx->AddControl(lower);
    f.gfx->AddControl(upper);
    f.gfx->AddControl(plain);
  }

  std::vector<IFxRecordingAdapter::HostCall> Gestures() const {
    std::vector<IFxRecordingAdapter::HostCall> out;
    for (const auto& c : f.plug.HostCalls())
      if (c.kind == Kind::BeginParamChange || c.kind == Kind::EndParamChange) out.push_back(c);
    return out;
  }

  EditorFixture f;
  ProbeControl* lower;
  ProbeControl* upper;
  ProbeControl* plain;
};

TEST_P(MouseRoutingTest, TopmostControlIsCapturedAndFramedByGestureCalls) {
  EXPECT_TRUE(f.gfx->MouseDown(45, 45, kLeft));  // both overlap here: the later one wins
  EXPECT_EQ(f.gfx->GetMouseCapture(), 2);
  f.gfx->MouseDrag(45, 45, kLeft);  // same position: nothing
  f.gfx->MouseDrag(200, 30, kLeft);  // captured: drags leave the control
  f.gfx->MouseUp(200, 30, kLeft);
  EXPECT_EQ(f.gfx->GetMouseCapture(), -1);
  EXPECT_EQ(upper->events, (std::vector<std::string>{"down 45,45", "drag 200,30 d155,-15", "up 200,30"}));
  EXPECT_TRUE(lower->events.empty());

  const auto gestures = Gestures();
  ASSERT_EQ(gestures.size(), 2u);
  EXPECT_EQ(gestures[0].kind, Kind::BeginParamChange);
  EXPECT_EQ(gestures[0].index, kPan);
  EXPECT_EQ(gestures[1].kind, Kind::EndParamChange);
  EXPECT_EQ(gestures[1].index, kPan);
}

TEST_P(MouseRoutingTest, EmptyAreaHitsTheBackgroundWithoutGesture) {
  EXPECT_EQ(f.gfx->FindControlAt(300, 300), 0);
  f.gfx->MouseDown(300, 300, kLeft);
  EXPECT_EQ(f.gfx->GetMouseCapture(), 0);
  f.gfx->MouseUp(300, 300, kLeft);
  EXPECT_TRUE(Gestures().empty());
  EXPECT_EQ(f.gfx->FindControlAt(-1, 5), -1);  // outside the editor
}

TEST_P(MouseRoutingTest, RightButtonOnParameterControl) {
  f.gfx->MouseDown(20, 20, kRight);
  if (GetParam() == HostFormatVst3) {
    // The host's context menu replaces the control's right click.
    EXPECT_TRUE(lower->events.empty());
    EXPECT_EQ(f.gfx->GetMouseCapture(), -1);
    EXPECT_TRUE(Gestures().empty());
    ASSERT_EQ(f.plug.contextMenus.size(), 1u);
    EXPECT_EQ(f.plug.contextMenus[0].paramIdx, kGainLevel);
    EXPECT_EQ(f.plug.contextMenus[0].x, 20);
  } else {
    EXPECT_TRUE(f.plug.contextMenus.empty());
    EXPECT_EQ(lower->events, std::vector<std::string>{"down 20,20 R"});
    EXPECT_EQ(f.gfx->GetMouseCapture(), 1);
    ASSERT_EQ(Gestures().size(), 1u);
  }
  // A control without a parameter gets the right click in every format.
  f.gfx->MouseDown(110, 110, kRight);
  EXPECT_EQ(plain->events, std::vector<std::string>{"down 110,110 R"});
}

TEST_P(MouseRoutingTest, MouseUpWithoutCaptureGoesToTheControlUnderThePointer) {
  f.gfx->MouseUp(20, 20, kLeft);
  EXPECT_EQ(lower->events, std::vector<std::string>{"up 20,20"});
  // No press began a gesture, so the release ends none.
  EXPECT_TRUE(Gestures().empty());
  f.gfx->MouseDrag(30, 30, kLeft);  // nothing captured: no drag
  EXPECT_EQ(lower->events.size(), 1u);
}

TEST_P(MouseRoutingTest, DoubleClicks) {
  EXPECT_FALSE(f.gfx->MouseDoubleClick(20, 20, kLeft));
  EXPECT_EQ(lower->events, std::vector<std::string>{"dbl"});
  EXPECT_EQ(f.gfx->GetMouseCapture(), -1);
  // The double click is a gesture of its own; the release after it ends nothing.
  f.gfx->MouseUp(20, 20, kLeft);
  ASSERT_EQ(Gestures().size(), 2u);
  EXPECT_EQ(Gestures()[0].kind, Kind::BeginParamChange);
  EXPECT_EQ(Gestures()[1].kind, Kind::EndParamChange);

  lower->SetDblAsSingleClick(true);
  EXPECT_TRUE(f.gfx->MouseDoubleClick(20, 20, kLeft));
  EXPECT_EQ(lower->events.back(), "down 20,20");
  EXPECT_EQ(f.gfx->GetMouseCapture(), 1);
  f.gfx->MouseUp(20, 20, kLeft);
  const auto gestures = Gestures();
  ASSERT_EQ(gestures.size(), 4u);  // begin and end stay paired
  EXPECT_EQ(gestures[2].kind, Kind::BeginParamChange);
  EXPECT_EQ(gestures[3].kind, Kind::EndParamChange);

  EXPECT_FALSE(f.gfx->MouseDoubleClick(-5, -5, kLeft));
}

TEST_P(MouseRoutingTest, WheelGoesToTheCapturedControlElseTheOneUnderThePointer) {
  f.gfx->MouseWheel(20, 20, IMouseMod(), 3);
  EXPECT_EQ(lower->events, std::vector<std::string>{"wheel 3"});
  f.gfx->MouseDown(70, 70, kLeft);
  f.gfx->MouseWheel(20, 20, IMouseMod(), -1);
  EXPECT_EQ(upper->events.back(), "wheel -1");
  EXPECT_EQ(lower->events.size(), 1u);
  f.gfx->MouseUp(70, 70, kLeft);
  EXPECT_TRUE(f.plug.HostCallsOf(Kind::ParamChange).empty());
}

TEST_P(MouseRoutingTest, GreyedAndHiddenControlsAreSkipped) {
  f.gfx->GreyOutParam(kPan, true);
  EXPECT_EQ(f.gfx->FindControlAt(45, 45), 1);
  EXPECT_EQ(f.gfx->FindControlAt(70, 70), 0);
  lower->Hide(true);
  EXPECT_EQ(f.gfx->FindControlAt(45, 45), 0);
}

TEST_P(MouseRoutingTest, KeysGoToTheControlOrTheKeyCatcher) {
  EXPECT_FALSE(f.gfx->KeyDown(300, 300, KEY_SPACE));  // background, no catcher
  EXPECT_TRUE(f.gfx->KeyDown(20, 20, KEY_DIGIT_0));
  EXPECT_EQ(lower->events, std::vector<std::string>{"key 5"});

  auto* catcher = new ProbeControl(nullptr, IRect());
  f.gfx->SetKeyCatcher(catcher);
  EXPECT_TRUE(f.gfx->KeyDown(300, 300, KEY_ALPHA_A));
  EXPECT_TRUE(f.gfx->KeyDown(-10, -10, KEY_UPARROW));
  EXPECT_EQ(catcher->events, (std::vector<std::string>{"key 15", "key 1"}));
  lower->takesKeys = false;
  EXPECT_FALSE(f.gfx->KeyDown(20, 20, KEY_LEFTARROW));  // a control's refusal is final
  EXPECT_EQ(catcher->events.size(), 2u);
}

TEST_P(MouseRoutingTest, MouseOverOnlyWhenEnabled) {
  EXPECT_FALSE(f.gfx->MouseOver(20, 20, IMouseMod()));
  EXPECT_EQ(f.gfx->GetMouseOver(), -1);
  f.gfx->HandleMouseOver(true);
  EXPECT_TRUE(f.gfx->MouseOver(20, 20, IMouseMod()));
  EXPECT_EQ(f.gfx->GetMouseOver(), 1);
  f.gfx->MouseOver(70, 70, IMouseMod());
  EXPECT_EQ(f.gfx->GetMouseOver(), 2);
  f.gfx->MouseOut();
  EXPECT_EQ(f.gfx->GetMouseOver(), -1);
}

INSTANTIATE_TEST_SUITE_P(HostFormats, MouseRoutingTest,
                         ::testing::Values(HostFormatVst3, HostFormatVst2, HostFormatAax),
                         [](const ::testing::TestParamInfo<HostFormat>& info) {
                           switch (info.param) {
                             case HostFormatVst3: return std::string("Vst3");
                             case HostFormatVst2: return std::string("Vst2");
                             default: return std::string("Aax");
                           }
                         });

}  // namespace
