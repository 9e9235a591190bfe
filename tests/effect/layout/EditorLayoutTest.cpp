// The effect's editor as built: every control's class, place, binding and
// film strip, the text styles, what the effect keeps for metering, and which
// controls grey out.

#include <gtest/gtest.h>

#include <typeinfo>

#include "editor/IBitmapControl.h"
#include "editor/ICaptionControl.h"
#include "editor/IKnobMultiControl.h"
#include "editor/ISwitchControl.h"
#include "editor/ISwitchFramesControl.h"
#include "effect/ParamIds.h"
#include "effect/layout/EditorLayout.h"
#include "effect/layout/IKnobMultiControlText.h"
#include "effect/layout/IReadOutControl.h"
#include "tests/effect/layout/EditorFixture.h"

namespace {

enum class Kind { Bitmap, Switch, SwitchFrames, KnobText, Caption, ReadOut };

struct ExpectedControl {
  Kind kind;
  int param;  // -1: none
  IRect rect;
  int frames;  // film strip frame count; 0 for text controls
};

// The editor's control table, in the order the controls are added.
const ExpectedControl kTable[42] = {
    {Kind::Bitmap, -1, {0, 0, 410, 522}, 1},
    {Kind::Switch, 0, {156, 50, 176, 70}, 2},
    {Kind::Switch, 1, {227, 50, 247, 70}, 2},
    {Kind::SwitchFrames, 2, {104, 111, 248, 135}, 4},
    {Kind::Switch, 3, {144, 177, 164, 197}, 2},
    {Kind::Switch, 4, {227, 177, 247, 197}, 2},
    {Kind::SwitchFrames, 5, {104, 236, 248, 252}, 2},
    {Kind::Switch, 6, {143, 264, 163, 284}, 2},
    {Kind::KnobText, 7, {182, 264, 246, 328}, 201},
    {Kind::KnobText, 9, {105, 361, 169, 425}, 201},
    {Kind::KnobText, 10, {182, 361, 246, 425}, 101},
    {Kind::Switch, 11, {141, 458, 161, 478}, 2},
    {Kind::Switch, 12, {228, 458, 248, 478}, 2},
    {Kind::Caption, 8, {105, 302, 137, 314}, 0},
    {Kind::Caption, 14, {279, 462, 311, 474}, 0},
    {Kind::Caption, 15, {279, 50, 369, 70}, 0},
    {Kind::Caption, 13, {177, 492, 243, 512}, 0},
    {Kind::ReadOut, -1, {11, 476, 43, 488}, 0},
    {Kind::ReadOut, -1, {54, 476, 86, 488}, 0},
    {Kind::Switch, 16, {273, 115, 285, 127}, 2},
    {Kind::Switch, 17, {273, 135, 285, 147}, 2},
    {Kind::Switch, 18, {273, 156, 285, 168}, 2},
    {Kind::Switch, 19, {273, 176, 285, 188}, 2},
    {Kind::Switch, 20, {273, 197, 285, 209}, 2},
    {Kind::Switch, 21, {273, 217, 285, 229}, 2},
    {Kind::Switch, 22, {273, 238, 285, 250}, 2},
    {Kind::Switch, 23, {273, 259, 285, 271}, 2},
    {Kind::Switch, 24, {273, 279, 285, 291}, 2},
    {Kind::Switch, 25, {273, 300, 285, 312}, 2},
    {Kind::Switch, 26, {273, 320, 285, 332}, 2},
    {Kind::Switch, 27, {273, 341, 285, 353}, 2},
    {Kind::Switch, 28, {273, 361, 285, 373}, 2},
    {Kind::Switch, 29, {273, 382, 285, 394}, 2},
    {Kind::Switch, 30, {273, 403, 285, 415}, 2},
    {Kind::Bitmap, -1, {18, 39, 26, 463}, 48},
    {Kind::Bitmap, -1, {30, 39, 38, 463}, 48},
    {Kind::Bitmap, -1, {60, 39, 68, 463}, 48},
    {Kind::Bitmap, -1, {72, 39, 80, 463}, 48},
    {Kind::Bitmap, -1, {18, 39, 26, 463}, 48},
    {Kind::Bitmap, -1, {30, 39, 38, 463}, 48},
    {Kind::Bitmap, -1, {60, 39, 68, 463}, 48},
    {Kind::Bitmap, -1, {72, 39, 80, 463}, 48},
};

bool HasClass(IControl* control, Kind kind) {
  const std::type_info& type = typeid(*control);
  switch (kind) {
    case Kind::Bitmap: return type == typeid(IBitmapControl);
    case Kind::Switch: return type == typeid(ISwitchControl);
    case Kind::SwitchFrames: return type == typeid(ISwitchFramesControl);
    case Kind::KnobText: return type == typeid(IKnobMultiControlText);
    case Kind::Caption: return type == typeid(ICaptionControl);
    case Kind::ReadOut: return type == typeid(IReadOutControl);
  }
  return false;
}

int FrameCount(IControl* control) {
  if (auto* bitmap = dynamic_cast<IBitmapControl*>(control)) return bitmap->GetBitmap().N;
  if (auto* knob = dynamic_cast<IKnobMultiControl*>(control)) return knob->GetBitmap().N;
  return 0;
}

const IColor kAmber(255, 255, 210, 0);
const IColor kLightGrey(255, 220, 220, 220);

using EditorLayoutTest = EditorFixture;

TEST_F(EditorLayoutTest, ControlsMatchTheTableInOrder) {
  ASSERT_EQ(graphics->GetNControls(), 42);
  for (int i = 0; i < 42; ++i) {
    SCOPED_TRACE("control " + std::to_string(i));
    IControl* control = graphics->GetControl(i);
    const ExpectedControl& e = kTable[i];
    EXPECT_TRUE(HasClass(control, e.kind)) << typeid(*control).name();
    EXPECT_EQ(control->ParamIdx(), e.param);
    EXPECT_EQ(control->GetRect(), e.rect);
    EXPECT_EQ(control->GetTargetRect(), e.rect);
    EXPECT_EQ(FrameCount(control), e.frames);
    EXPECT_EQ(control->GetBlend().method, i == 0 ? IBlend::BlendOpaque : IBlend::BlendNormal);
  }
}

TEST_F(EditorLayoutTest, TextControlsUseTheValueAndReadOutStyles) {
  const int valueStyled[] = {8, 9, 10, 13, 14, 15, 16};
  const int readOutStyled[] = {17, 18};
  auto expectStyle = [&](int index, const IColor& colour) {
    SCOPED_TRACE("control " + std::to_string(index));
    const ITextStyle& style = graphics->GetControl(index)->GetTextStyle();
    EXPECT_STREQ(style.face, "Arial");
    EXPECT_EQ(style.size, 12);
    EXPECT_EQ(style.style, ITextStyle::StyleNormal);
    EXPECT_EQ(style.align, ITextStyle::AlignCenter);
    EXPECT_EQ(style.orientation, 0);
    EXPECT_EQ(style.quality, ITextStyle::QualityDefault);
    EXPECT_EQ(style.color, colour);
    EXPECT_EQ(style.entryBackColor, IColor(255, 255, 255, 255));
    EXPECT_EQ(style.entryTextColor, IColor(255, 0, 0, 0));
  };
  for (int index : valueStyled) expectStyle(index, kAmber);
  for (int index : readOutStyled) expectStyle(index, kLightGrey);
}

// The knobs drag vertically with gearing 4, and only the knob text and the
// multi-frame switches open a value prompt.
TEST_F(EditorLayoutTest, KnobsAndSelectorsAreSetUpForTheirGestures) {
  for (int index : {8, 9, 10}) {
    auto* knob = dynamic_cast<IKnobMultiControlText*>(graphics->GetControl(index));
    ASSERT_NE(knob, nullptr);
    EXPECT_EQ(knob->GetDirection(), IKnobControl::Vertical);
    EXPECT_EQ(knob->GetGearing(), 4.0);
    EXPECT_FALSE(knob->IsPromptDisabled());
    EXPECT_EQ(knob->GetKnobRect(), knob->GetRect());
  }
  auto* channels = dynamic_cast<ISwitchFramesControl*>(graphics->GetControl(3));
  ASSERT_NE(channels, nullptr);
  ASSERT_EQ(channels->GetClickRects().size(), 4u);
  EXPECT_EQ(channels->GetClickRects()[1], IRect(140, 111, 176, 135));
  auto* mode = dynamic_cast<ISwitchFramesControl*>(graphics->GetControl(6));
  ASSERT_NE(mode, nullptr);
  ASSERT_EQ(mode->GetClickRects().size(), 2u);
  EXPECT_EQ(mode->GetClickRects()[1], IRect(176, 236, 248, 252));
}

// The knob's text band before the first draw (the effect's editor has not
// been drawn yet): a line of text height across the knob's middle.
TEST_F(EditorLayoutTest, KnobTextBandsStartAcrossTheKnobMiddle) {
  const IRect expected[3] = {{182, 290, 246, 306}, {105, 387, 169, 403}, {182, 387, 246, 403}};
  for (int i = 0; i < 3; ++i) {
    auto* knob = dynamic_cast<IKnobMultiControlText*>(graphics->GetControl(8 + i));
    ASSERT_NE(knob, nullptr);
    EXPECT_EQ(knob->GetTextRect(), expected[i]);
  }
}

TEST_F(EditorLayoutTest, HandlesNameTheMeterControlsAndReadOuts) {
  IGraphicsOffscreen fresh(editor.Effect(), 410, 522);
  const EditorLayoutHandles handles = BuildEditorLayout(editor.Effect(), &fresh);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(handles.meterControls[i], 34 + i);
  EXPECT_EQ(handles.peakReadOut, fresh.GetControl(17));
  EXPECT_EQ(handles.rmsReadOut, fresh.GetControl(18));
}

std::vector<int> GreyedControls(IGraphics* graphics) {
  std::vector<int> greyed;
  for (int i = 0; i < graphics->GetNControls(); ++i) {
    if (graphics->GetControl(i)->IsGreyed()) greyed.push_back(i);
  }
  return greyed;
}

TEST_F(EditorLayoutTest, OneChannelInputGreysTheStereoControlsUntilTwoChannelsReturn) {
  EXPECT_TRUE(GreyedControls(graphics).empty());
  std::string error;
  ASSERT_TRUE(editor.Prepare(44100.0, 512, 1, &error)) << error;
  // Channel selector, phase R, pan, width.
  EXPECT_EQ(GreyedControls(graphics), (std::vector<int>{3, 5, 9, 10}));
  ASSERT_TRUE(editor.Prepare(44100.0, 512, 2, &error)) << error;
  EXPECT_TRUE(GreyedControls(graphics).empty());
}

TEST_F(EditorLayoutTest, AutoGainGreysTheGainKnobAndItsGroupSwitch) {
  Set("Auto Gain On/Off=on");
  EXPECT_EQ(GreyedControls(graphics), (std::vector<int>{8, 27}));
  Set("Auto Gain On/Off=off");
  EXPECT_TRUE(GreyedControls(graphics).empty());
}

}  // namespace
