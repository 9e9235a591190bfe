#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "editor/IColor.h"
#include "editor/IPopupMenu.h"
#include "editor/IRect.h"
#include "editor/SharedText.h"

namespace {

TEST(IRectTest, IntersectionIncludesTheOtherRectanglesLeftAndTopEdgeOnly) {
  const IRect a(10, 10, 20, 20);
  struct Case {
    IRect b;
    bool expected;
  } cases[] = {
      {IRect(15, 15, 25, 25), true},
      {IRect(20, 10, 30, 20), true},   // a.R == b.L counts
      {IRect(10, 20, 20, 30), true},   // a.B == b.T counts
      {IRect(0, 10, 10, 20), false},   // a.L == b.R does not
      {IRect(10, 0, 20, 10), false},   // a.T == b.B does not
      {IRect(21, 10, 30, 20), false},
      {IRect(0, 0, 0, 0), false},      // empty never intersects
  };
  for (const Case& c : cases) {
    EXPECT_EQ(a.Intersects(c.b), c.expected) << c.b.L << "," << c.b.T << "," << c.b.R << "," << c.b.B;
  }
  EXPECT_FALSE(IRect().Intersects(a));
}

TEST(IRectTest, UnionWithEmptyYieldsTheOtherOperand) {
  const IRect a(5, 6, 7, 8);
  EXPECT_EQ(IRect().Union(a), a);
  EXPECT_EQ(a.Union(IRect()), a);
  EXPECT_EQ(a.Union(IRect(1, 10, 6, 20)), IRect(1, 6, 7, 20));
  // A rectangle at the origin with zero size is empty, but (0, 0, 1, 1) is not.
  EXPECT_EQ(IRect(0, 0, 1, 1).Union(IRect(4, 4, 5, 5)), IRect(0, 0, 5, 5));
}

TEST(IRectTest, ContainsExcludesRightAndBottom) {
  const IRect r(0, 0, 10, 10);
  EXPECT_TRUE(r.Contains(0, 0));
  EXPECT_TRUE(r.Contains(9, 9));
  EXPECT_FALSE(r.Contains(10, 5));
  EXPECT_FALSE(r.Contains(5, 10));
  EXPECT_FALSE(IRect().Contains(0, 0));
}

TEST(IColorTest, WordTakesEachChannelModulo256) {
  EXPECT_EQ(IColor(255, 1, 2, 3).Word(), 0xFF010203u);
  EXPECT_EQ(IColor(256 + 16, 257, -1, 0).Word(), 0x1001FF00u);
}

TEST(IPopupMenuTest, NumberingStylesPrefixOneBasedNumbers) {
  const struct {
    int numbering;
    const char* expected;
  } cases[] = {{IPopupMenu::NumberingNone, "Beta"},
               {IPopupMenu::Numbering1, "2: Beta"},
               {IPopupMenu::Numbering2, "02: Beta"},
               {IPopupMenu::Numbering3, "002: Beta"}};
  for (const auto& c : cases) {
    IPopupMenu menu(c.numbering);
    menu.AddItem("Alpha");
    menu.AddItem("Beta", IPopupMenuItem::Ticked);
    EXPECT_EQ(menu.ItemDisplayText(1), c.expected);
  }
  IPopupMenu menu;
  EXPECT_EQ(menu.GetChosenItemIdx(), -1);
  EXPECT_EQ(menu.GetItem(0), nullptr);
}

TEST(IPopupMenuTest, ItemsOwnTheirSubMenus) {
  IPopupMenu menu;
  auto* sub = new IPopupMenu();
  sub->AddItem("Inner");
  menu.AddItem("Outer", 0, sub);
  ASSERT_EQ(menu.GetItem(0)->GetSubMenu(), sub);
  EXPECT_EQ(sub->ItemDisplayText(0), "Inner");
  // Destroying the menu destroys the sub-menu (checked by the sanitizers).
}

TEST(SharedTextTest, ReportsChangesAndCutsLongTextsAtCharacterStarts) {
  SharedText text("abc");
  EXPECT_EQ(text.Get(), "abc");
  EXPECT_FALSE(text.Set("abc"));
  EXPECT_TRUE(text.Set(""));
  EXPECT_TRUE(text.IsEmpty());

  // 254 ASCII bytes then a two-byte character: it would need 256 bytes plus
  // the terminator, so the whole character goes.
  std::string longText(254, 'x');
  longText += "\xC3\xA9";
  EXPECT_TRUE(text.Set(longText.c_str()));
  EXPECT_EQ(text.Get(), std::string(254, 'x'));

  char small[4];
  text.Set("\xC3\xA9\xC3\xA9");
  text.Get(small, sizeof(small));
  EXPECT_STREQ(small, "\xC3\xA9");
}

}  // namespace
