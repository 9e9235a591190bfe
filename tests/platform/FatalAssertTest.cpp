#include "platform/FatalAssert.h"

#include <gtest/gtest.h>

namespace {

TEST(FatalAssertDeathTest, PrintsTheExpressionTextAndAborts) {
  EXPECT_DEATH(FX_ASSERT(1 + 1 == 3, "channelIOStrValid"), "channelIOStrValid");
}

TEST(FatalAssert, PassingCheckDoesNothing) {
  int evaluated = 0;
  FX_ASSERT(++evaluated == 1, "evaluatedOnce");
  EXPECT_EQ(evaluated, 1);
}

}  // namespace
