// What the knobs, captions and read-outs print, and how a click on a knob
// tells the value text (value entry) from the rest of the knob (drag).

#include <gtest/gtest.h>

#include <string>

#include "core/IFxParam.h"
#include "editor/ICaptionControl.h"
#include "effect/ParamIds.h"
#include "effect/layout/IKnobMultiControlText.h"
#include "effect/layout/IReadOutControl.h"
#include "tests/effect/layout/EditorFixture.h"

namespace {

using HostCallKind = IFxRecordingAdapter::HostCallKind;

constexpr int kGainKnobControl = 8;
constexpr int kPeakReadOutControl = 17;

class KnobTextTest : public EditorFixture {
 protected:
  IKnobMultiControlText* Knob(int index) {
    return dynamic_cast<IKnobMultiControlText*>(graphics->GetControl(index));
  }

  double GainLevel() { return editor.Effect()->GetParam(kGainLevel)->Value(); }
};

TEST_F(KnobTextTest, KnobsPrintValueSpaceAndLabel) {
  struct Case {
    const char* assignment;
    int control;
    const char* text;
  };
  const Case cases[] = {
      {"Pan=0", 9, "0 "},  // no unit: the space stays
      {"Stereo Width=100", 10, "100 %"},
      {"Gain Level=-6", 8, "-6.0 dB"},
      {"Pan=-37", 9, "-37 "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.assignment);
    Set(c.assignment);
    graphics->DrawAll();
    ASSERT_NE(Knob(c.control), nullptr);
    EXPECT_STREQ(Knob(c.control)->GetText(), c.text);
  }
}

TEST_F(KnobTextTest, CaptionsPrintTheValueWithoutUnit) {
  struct Case {
    const char* assignment;
    int control;
    const char* text;
  };
  const Case cases[] = {
      {"Auto Gain Level=-6", 13, "-6"},
      {"RMS wind. size=600", 14, "600"},
      {"Group=0", 15, "No group"},
      {"Group=Group 3", 15, "Group 3"},
      {"Group=16", 15, "Group 16"},
      {"Limiter release sync=0", 16, "1/2 Bar"},
      {"Limiter release sync=1 Bar", 16, "1 Bar"},
      {"Limiter release sync=2", 16, "2 Bars"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.assignment);
    Set(c.assignment);
    graphics->DrawAll();
    auto* caption = dynamic_cast<ICaptionControl*>(graphics->GetControl(c.control));
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->GetText(), c.text);
  }
}

// After drawing, the click area for the value entry is the measured text:
// centred in the knob, as tall as a text line, narrower than the knob.
TEST_F(KnobTextTest, TextRectangleFollowsTheMeasuredText) {
  Set("Gain Level=-6");
  graphics->DrawAll();
  const IRect wide = Knob(kGainKnobControl)->GetTextRect();
  EXPECT_EQ(wide.T, 290);
  EXPECT_EQ(wide.B, 306);
  EXPECT_GT(wide.L, 182);
  EXPECT_LT(wide.R, 246);
  EXPECT_NEAR((wide.L + wide.R) / 2.0, 214.0, 1.0);

  Set("Gain Level=0");  // "0.0 dB" is shorter than "-6.0 dB"
  graphics->DrawAll();
  const IRect narrow = Knob(kGainKnobControl)->GetTextRect();
  EXPECT_LT(narrow.W(), wide.W());
  EXPECT_NEAR((narrow.L + narrow.R) / 2.0, 214.0, 1.0);
}

TEST_F(KnobTextTest, ClickOnTheValueTextOpensTheValueEntry) {
  Set("Gain Level=-6");
  graphics->DrawAll();
  const IRect text = Knob(kGainKnobControl)->GetTextRect();
  graphics->QueueTextEntry("-12");
  Click((text.L + text.R) / 2, (text.T + text.B) / 2);

  ASSERT_EQ(graphics->TextEntryRequests().size(), 1u);
  const IGraphicsScripted::EntryRequest& request = graphics->TextEntryRequests()[0];
  EXPECT_EQ(request.control, graphics->GetControl(kGainKnobControl));
  ASSERT_NE(request.param, nullptr);
  EXPECT_STREQ(request.param->Name(), "Gain Level");
  EXPECT_EQ(request.rect, text);
  EXPECT_EQ(request.text, "-6.0");

  graphics->Tick();  // the scripted entry commits
  EXPECT_DOUBLE_EQ(GainLevel(), -12.0);
}

TEST_F(KnobTextTest, ClickOnTheKnobOutsideTheTextStartsADrag) {
  Set("Gain Level=0");
  graphics->DrawAll();
  editor.Effect()->ClearHostCalls();
  const IRect text = Knob(kGainKnobControl)->GetTextRect();
  // Inside the first-draw band, but left of the measured text: a drag.
  const int points[][2] = {{214, 270}, {text.L - 2, 298}, {214, text.B}};
  for (const auto& p : points) {
    SCOPED_TRACE(std::to_string(p[0]) + "," + std::to_string(p[1]));
    graphics->MouseDown(p[0], p[1], IMouseMod(true));
    graphics->MouseDrag(p[0], p[1] - 16, IMouseMod(true));  // 16 px up
    graphics->MouseUp(p[0], p[1] - 16, IMouseMod(true));
  }
  EXPECT_TRUE(graphics->TextEntryRequests().empty());
  // Each drag of 16 px over a 64 px knob at gearing 4 moves 1/16 of the
  // range (7.5 dB of 120); three of them 22.5 dB.
  EXPECT_NEAR(GainLevel(), 22.5, 1e-6);
  EXPECT_EQ(editor.Effect()->HostCallsOf(HostCallKind::BeginParamChange).size(), 3u);
  EXPECT_EQ(editor.Effect()->HostCallsOf(HostCallKind::EndParamChange).size(), 3u);
}

TEST_F(KnobTextTest, ReadOutClickIsTakenOnceByTheMetering) {
  auto* peak = dynamic_cast<IReadOutControl*>(graphics->GetControl(kPeakReadOutControl));
  auto* rms = dynamic_cast<IReadOutControl*>(graphics->GetControl(kPeakReadOutControl + 1));
  ASSERT_NE(peak, nullptr);
  ASSERT_NE(rms, nullptr);
  editor.Process(snapshot::Signal::kSine, 20);
  EXPECT_NE(peak->GetText(), "");
  EXPECT_NE(peak->GetText(), "-inf");

  Click(27, 482);
  EXPECT_TRUE(peak->IsClicked());
  EXPECT_FALSE(rms->IsClicked());
  // A click is no parameter gesture.
  EXPECT_TRUE(editor.Effect()->HostCallsOf(HostCallKind::BeginParamChange).empty());

  editor.Process(snapshot::Signal::kSilence, 1);
  EXPECT_FALSE(peak->IsClicked());
  EXPECT_TRUE(peak->TakeClicked() == false);
}

}  // namespace
