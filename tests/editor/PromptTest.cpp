#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "editor/ICaptionControl.h"
#include "editor/ISwitchControl.h"

using editortest::EditorFixture;
using editortest::ProbeControl;
using Kind = IFxRecordingAdapter::HostCallKind;

namespace {

const IMouseMod kLeft(true);

class PromptTest : public ::testing::Test {
 protected:
  PromptTest() {
    group = new ICaptionControl(&f.plug, IRect(279, 50, 369, 70), kGroup, ITextStyle(), false);
    gain = new ICaptionControl(&f.plug, IRect(0, 0, 61, 13), kGainLevel, ITextStyle(), false);
    pan = new ICaptionControl(&f.plug, IRect(100, 100, 140, 112), kPan, ITextStyle(), false);
    f.gfx->AddControl(group);
    f.gfx->AddControl(gain);
    f.gfx->AddControl(pan);
    f.Attach();
    f.plug.ClearHostCalls();
  }

  double Plain(int paramIdx) { return f.plug.GetParam(paramIdx)->Value(); }

  EditorFixture f;
  ICaptionControl* group;
  ICaptionControl* gain;
  ICaptionControl* pan;
};

TEST_F(PromptTest, NamedValuesArePromptedWithAMenuOverTheControl) {
  f.gfx->QueuePopupChoice(3);
  group->MouseDown(300, 60, kLeft);
  ASSERT_EQ(f.gfx->ShownMenus().size(), 1u);
  const auto& menu = f.gfx->ShownMenus()[0];
  ASSERT_EQ(menu.texts.size(), 17u);
  EXPECT_EQ(menu.texts[0], "No group");
  EXPECT_EQ(menu.texts[16], "Group 16");
  EXPECT_EQ(menu.flags[0], IPopupMenuItem::Ticked);  // the current value
  EXPECT_EQ(menu.flags[1], 0);
  EXPECT_EQ(menu.rect, group->GetRect());

  EXPECT_DOUBLE_EQ(group->GetValue(), 3.0 / 16);
  EXPECT_NEAR(Plain(kGroup), 3.0, 1e-9);
  EXPECT_EQ(group->CaptionText(), "Group 3");
  EXPECT_TRUE(group->GetRedraw());
}

TEST_F(PromptTest, DismissedOrUnchangedMenuSendsNothing) {
  group->MouseDown(300, 60, kLeft);  // nothing queued: dismissed
  f.gfx->QueuePopupChoice(0);       // the value it already has
  group->MouseDoubleClick(300, 60, kLeft);
  EXPECT_EQ(f.gfx->ShownMenus().size(), 2u);
  EXPECT_TRUE(f.plug.HostCallsOf(Kind::ParamChange).empty());
  EXPECT_DOUBLE_EQ(Plain(kGroup), 0.0);
}

TEST_F(PromptTest, SwitchWithPromptEnabledOffersItsNamedValues) {
  EditorFixture g;
  auto strip = editortest::MakeStrip(20, 20, 2);
  auto* sw = new ISwitchControl(&g.plug, 0, 0, kClip, editortest::Describe(strip.get(), 2));
  sw->DisablePrompt(false);
  g.gfx->AddControl(sw);
  g.Attach();
  g.gfx->QueuePopupChoice(1);
  sw->MouseDown(1, 1, IMouseMod(false, true));
  ASSERT_EQ(g.gfx->ShownMenus().size(), 1u);
  EXPECT_EQ(g.gfx->ShownMenus()[0].texts, (std::vector<std::string>{"off", "on"}));
  EXPECT_DOUBLE_EQ(sw->GetValue(), 1.0);
  EXPECT_TRUE(g.plug.GetParam(kClip)->IsOn());
}

TEST_F(PromptTest, NumbersAreTypedIntoAnEntryCentredOnTheControl) {
  f.gfx->QueueTextEntry("12.5");
  gain->MouseDown(5, 5, kLeft);
  ASSERT_EQ(f.gfx->TextEntryRequests().size(), 1u);
  const auto& request = f.gfx->TextEntryRequests()[0];
  EXPECT_EQ(request.text, "0.0");            // precision 1
  EXPECT_EQ(request.rect, IRect(0, 0, 60, 12));  // the odd-sized control loses a pixel
  EXPECT_EQ(request.param, f.plug.GetParam(kGainLevel));
  EXPECT_EQ(request.control, gain);

  EXPECT_FALSE(f.gfx->Tick());  // the tick that applies the entry draws nothing
  EXPECT_FALSE(f.gfx->IsTextEntryOpen());
  EXPECT_NEAR(Plain(kGainLevel), 12.5, 1e-9);
  EXPECT_NEAR(gain->GetValue(), 72.5 / 120.0, 1e-12);
}

TEST_F(PromptTest, IntegerDisplayTruncatesAndNegatedDisplayFlipsBothWays) {
  f.plug.SetParameterFromGUI(kPan, 0.3);  // -40
  f.plug.GetParam(kPan)->SetNegatedDisplay(true);
  f.gfx->QueueTextEntry("25");
  pan->MouseDown(110, 105, kLeft);
  EXPECT_EQ(f.gfx->TextEntryRequests()[0].text, "40");
  f.gfx->Tick();
  EXPECT_DOUBLE_EQ(Plain(kPan), -25.0);
}

TEST_F(PromptTest, TypedCharactersAreFilteredAndLimited) {
  gain->MouseDown(5, 5, kLeft);  // nothing queued: the entry stays open
  ASSERT_TRUE(f.gfx->IsTextEntryOpen());
  EXPECT_EQ(f.gfx->GetTextEntryText(), "0.0");
  f.gfx->TypeIntoTextEntry("\b\b\b-1x2.5dB999999");
  EXPECT_EQ(f.gfx->GetTextEntryText(), "-12.599");  // seven characters at most

  // A second prompt while one is open is ignored.
  pan->MouseDown(110, 105, kLeft);
  EXPECT_EQ(f.gfx->TextEntryRequests().size(), 1u);

  f.gfx->PressReturnInEntry();
  f.gfx->Tick();
  EXPECT_NEAR(Plain(kGainLevel), -12.599, 1e-9);

  const IFxParam* selector = f.plug.GetParam(kChannelSelector);
  const IFxParam* gainParam = f.plug.GetParam(kGainLevel);
  std::string kept, keptDouble;
  for (char ch : std::string("12.5")) {
    if (IGraphics::TextEntryAcceptsChar(selector, ch)) kept += ch;
    if (IGraphics::TextEntryAcceptsChar(gainParam, ch)) keptDouble += ch;
  }
  EXPECT_EQ(kept, "125");
  EXPECT_EQ(keptDouble, "12.5");
  EXPECT_TRUE(IGraphics::TextEntryAcceptsChar(nullptr, 'x'));
}

TEST_F(PromptTest, EscapeAndEndTextEntryDiscardTheText) {
  f.gfx->QueueTextEntry("30", false);
  gain->MouseDown(5, 5, kLeft);
  f.gfx->Tick();
  EXPECT_FALSE(f.gfx->IsTextEntryOpen());

  gain->MouseDown(5, 5, kLeft);
  f.gfx->TypeIntoTextEntry("7");
  f.gfx->EndTextEntry();
  f.gfx->Tick();
  EXPECT_FALSE(f.gfx->IsTextEntryOpen());
  EXPECT_DOUBLE_EQ(Plain(kGainLevel), 0.0);
  EXPECT_TRUE(f.plug.HostCallsOf(Kind::ParamChange).empty());
}

TEST_F(PromptTest, TextThatIsNoValueCountsAsZero) {
  f.plug.SetParameterFromGUI(kGainLevel, 1.0);
  f.gfx->PushParamToControls(kGainLevel, 1.0, true);
  IGraphics::CommitTextEntry(gain, f.plug.GetParam(kGainLevel), "dB");
  EXPECT_DOUBLE_EQ(Plain(kGainLevel), 0.0);
  IGraphics::CommitTextEntry(group, f.plug.GetParam(kGroup), "Group 4");
  EXPECT_NEAR(Plain(kGroup), 4.0, 1e-9);
  IGraphics::CommitTextEntry(group, f.plug.GetParam(kGroup), "group 5");  // case matters
  EXPECT_DOUBLE_EQ(Plain(kGroup), 0.0);

  auto* probe = new ProbeControl(&f.plug, IRect(0, 0, 1, 1));
  f.gfx->AddControl(probe);
  IGraphics::CommitTextEntry(probe, nullptr, "free text");
  EXPECT_EQ(probe->events, std::vector<std::string>{"text free text"});
}

TEST_F(PromptTest, DisabledPromptAndMissingPiecesDoNothing) {
  auto* probe = new ProbeControl(&f.plug, IRect(0, 0, 10, 10), kGainLevel);
  f.gfx->AddControl(probe);
  probe->PromptParamEntry();  // prompts are disabled by default
  f.gfx->PromptParamEntry(nullptr, f.plug.GetParam(kGainLevel), &probe->GetRect());
  f.gfx->PromptParamEntry(probe, nullptr, &probe->GetRect());
  f.gfx->PromptParamEntry(probe, f.plug.GetParam(kGainLevel), nullptr);
  EXPECT_TRUE(f.gfx->TextEntryRequests().empty());
  EXPECT_TRUE(f.gfx->ShownMenus().empty());
}

// Every value a user gesture changes reaches the host between one begin and
// one end: a text entry is committed after the click that opened it ended,
// so its value gets a gesture of its own.
TEST_F(PromptTest, ACommittedTextEntryIsFramedAsItsOwnGesture) {
  f.gfx->QueueTextEntry("-12");
  const IRect& rect = gain->GetRect();
  f.gfx->MouseDown(rect.L + 2, rect.T + 2, kLeft);
  f.gfx->MouseUp(rect.L + 2, rect.T + 2, kLeft);
  f.plug.ClearHostCalls();
  f.gfx->Tick();  // the entry commits
  const auto& calls = f.plug.HostCalls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].kind, Kind::BeginParamChange);
  EXPECT_EQ(calls[1].kind, Kind::ParamChange);
  EXPECT_EQ(calls[1].index, kGainLevel);
  EXPECT_EQ(calls[2].kind, Kind::EndParamChange);
  EXPECT_NEAR(Plain(kGainLevel), -12.0, 1e-9);
}

}  // namespace
