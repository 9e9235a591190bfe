// The window layer's pieces that need no display: key translation, double
// click detection, the text field's editing model and the message box's
// line breaking.

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <string>
#include <vector>

#include "editor/IKeys.h"
#include "editor/x11/X11ClickTracker.h"
#include "editor/x11/X11Keys.h"
#include "editor/x11/X11TextField.h"
#include "editor/x11/X11TextWrap.h"
#include "effect/ParamIds.h"
#include "testsupport/TestPlugin.h"

TEST(X11KeysTest, TranslatesSpaceArrowsDigitsAndLettersOnly) {
  struct Case {
    unsigned long keysym;
    int code;
  };
  const Case cases[] = {
      {XK_space, KEY_SPACE},     {XK_Up, KEY_UPARROW},      {XK_KP_Down, KEY_DOWNARROW},
      {XK_Left, KEY_LEFTARROW},  {XK_Right, KEY_RIGHTARROW}, {XK_0, KEY_DIGIT_0},
      {XK_9, KEY_DIGIT_9},       {XK_KP_7, KEY_DIGIT_0 + 7}, {XK_a, KEY_ALPHA_A},
      {XK_Z, KEY_ALPHA_Z},       {XK_m, KEY_ALPHA_A + 12},   {XK_Return, -1},
      {XK_Escape, -1},           {XK_F1, -1},               {XK_comma, -1},
      {XK_Shift_L, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(TranslateX11Key(c.keysym), c.code) << std::hex << c.keysym;
}

TEST(X11ClickTrackerTest, SecondPressNearAndSoonIsADoubleClick) {
  X11ClickTracker clicks;
  EXPECT_FALSE(clicks.Press(1, 10, 10, 1000));
  EXPECT_TRUE(clicks.Press(1, 13, 7, 1400));
  // The third press starts over.
  EXPECT_FALSE(clicks.Press(1, 13, 7, 1450));

  struct Case {
    const char* what;
    int button, x, y;
    unsigned long time;
  };
  const Case singles[] = {{"too late", 1, 10, 10, 1401},
                          {"too far", 1, 15, 10, 1100},
                          {"other button", 3, 10, 10, 1100}};
  for (const Case& c : singles) {
    X11ClickTracker fresh;
    fresh.Press(1, 10, 10, 1000);
    EXPECT_FALSE(fresh.Press(c.button, c.x, c.y, c.time)) << c.what;
  }
  // Server time wraps around.
  X11ClickTracker wrapping;
  wrapping.Press(1, 0, 0, 0xFFFFFF00ul);
  EXPECT_TRUE(wrapping.Press(1, 0, 0, 0x40ul));
}

class X11TextFieldTest : public ::testing::Test {
 protected:
  TestPlugin plug;
  X11TextField field;
};

TEST_F(X11TextFieldTest, OpensWithAllSelectedSoTypingReplaces) {
  field.Open("-6.0", 7, plug.GetParam(kGainLevel));
  EXPECT_EQ(field.SelectionStart(), 0);
  EXPECT_EQ(field.SelectionEnd(), 4);
  field.Insert("3");
  EXPECT_EQ(field.Text(), "3");
  EXPECT_FALSE(field.HasSelection());
}

TEST_F(X11TextFieldTest, FiltersCharactersByParameterKind) {
  struct Case {
    int param;  // -1: no parameter
    const char* typed;
    const char* kept;
  };
  const Case cases[] = {
      {kGroup, "12.5", "125"},        // enumeration: digits and signs
      {kDcBlock, "+1x", "+1"},        // switch
      {kGainLevel, "-1.5dB", "-1.5"}, // continuous: the point too
      {-1, "ab c", "ab c"},           // plain text: everything
  };
  for (const Case& c : cases) {
    field.Open("", 10, c.param >= 0 ? plug.GetParam(c.param) : nullptr);
    field.Insert(c.typed);
    EXPECT_EQ(field.Text(), c.kept) << c.typed;
  }
}

TEST_F(X11TextFieldTest, KeepsToTheLengthLimitAndOneLine) {
  field.Open("", 4, nullptr);
  field.Insert("abcdef");
  EXPECT_EQ(field.Text(), "abcd");
  field.Open("", 10, nullptr);
  field.Insert("one\ntwo");
  EXPECT_EQ(field.Text(), "one");
  // A multi-byte character counts once and is never split.
  field.Open("", 2, nullptr);
  field.Insert("\xC3\xA9\xC3\xA9\xC3\xA9");
  EXPECT_EQ(field.Text(), "\xC3\xA9\xC3\xA9");
  field.Backspace();
  EXPECT_EQ(field.Text(), "\xC3\xA9");
}

TEST_F(X11TextFieldTest, CaretMovesSelectsAndDeletes) {
  field.Open("1234", 10, nullptr);
  field.Home(false);
  EXPECT_EQ(field.Caret(), 0);
  field.Delete();
  EXPECT_EQ(field.Text(), "234");
  field.End(false);
  field.Backspace();
  EXPECT_EQ(field.Text(), "23");
  field.Left(false);
  field.Insert("x");
  EXPECT_EQ(field.Text(), "2x3");
  // Shift+Home selects back to the start; typing replaces the selection.
  field.Home(true);
  EXPECT_EQ(field.SelectionEnd() - field.SelectionStart(), 2);
  field.Insert("9");
  EXPECT_EQ(field.Text(), "93");
  // Right without shift collapses a selection to its end.
  field.SelectAll();
  field.Right(false);
  EXPECT_EQ(field.Caret(), 2);
  EXPECT_FALSE(field.HasSelection());
  // Edges stay put.
  field.Right(false);
  field.Delete();
  EXPECT_EQ(field.Text(), "93");
  field.Home(false);
  field.Backspace();
  EXPECT_EQ(field.Text(), "93");
}

TEST(X11TextWrapTest, BreaksAtSpacesInsideLongWordsAndAtLineBreaks) {
  // Every character is 10 wide, so a line holds 5.
  const auto measure = [](const std::string& text) {
    int characters = 0;
    for (char c : text) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return characters * 10;
  };
  struct Case {
    const char* text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"ab cd ef", {"ab cd", "ef"}},
      {"abcde", {"abcde"}},
      {"  ab   cd  ", {"ab cd"}},
      {"abcdefghijkl x", {"abcde", "fghij", "kl x"}},
      // A long word of two-byte characters splits between characters.
      {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9",
       {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", "\xC3\xA9"}},
      {"one\r\n\ntwo", {"one", "", "two"}},
      {"", {""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(WrapText(c.text, 50, measure), c.lines);
  }
  // A line narrower than one character still takes one.
  EXPECT_EQ(WrapText("abc", 5, measure), (std::vector<std::string>{"a", "b", "c"}));
}
