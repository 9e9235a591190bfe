#include "core/StateChunk.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

TEST(StateChunk, ValuesRoundTripInLittleEndianLayout) {
  StateChunk chunk;
  chunk.PutInt32(-2);
  chunk.PutUInt32(0x70666674);
  chunk.PutDouble(1.0);
  chunk.PutBool(true);
  chunk.PutText("ab");
  ASSERT_EQ(chunk.Size(), 4 + 4 + 8 + 1 + 4 + 2);

  const uint8_t expected[] = {0xFE, 0xFF, 0xFF, 0xFF, 0x74, 0x66, 0x66, 0x70,
                              0,    0,    0,    0,    0,    0,    0xF0, 0x3F,
                              1,    2,    0,    0,    0,    'a',  'b'};
  EXPECT_EQ(memcmp(chunk.Data(), expected, sizeof(expected)), 0);

  int32_t i = 0;
  uint32_t u = 0;
  double d = 0;
  bool b = false;
  std::string text;
  int pos = chunk.GetInt32(&i, 0);
  pos = chunk.GetUInt32(&u, pos);
  pos = chunk.GetDouble(&d, pos);
  pos = chunk.GetBool(&b, pos);
  pos = chunk.GetText(&text, pos);
  EXPECT_EQ(pos, chunk.Size());
  EXPECT_EQ(i, -2);
  EXPECT_EQ(u, 0x70666674u);
  EXPECT_EQ(d, 1.0);
  EXPECT_TRUE(b);
  EXPECT_EQ(text, "ab");
}

TEST(StateChunk, SpecialDoublesKeepTheirBits) {
  const double values[] = {-0.0, std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::denorm_min(), -123.456};
  StateChunk chunk;
  for (double v : values) chunk.PutDouble(v);
  int pos = 0;
  for (double v : values) {
    double read = 0;
    pos = chunk.GetDouble(&read, pos);
    EXPECT_EQ(memcmp(&read, &v, 8), 0);
  }
}

TEST(StateChunk, FailedReadsAnswerMinusOneAndLeaveTheDestination) {
  StateChunk chunk;
  chunk.PutInt32(7);
  int32_t value = 99;
  double d = 5.0;
  uint8_t byte = 3;
  EXPECT_EQ(chunk.GetInt32(&value, 1), -1);
  EXPECT_EQ(chunk.GetInt32(&value, -1), -1);
  EXPECT_EQ(chunk.GetDouble(&d, 0), -1);
  EXPECT_EQ(chunk.GetByte(&byte, 4), -1);
  EXPECT_EQ(chunk.GetInt32(&value, std::numeric_limits<int>::max()), -1);
  EXPECT_EQ(value, 99);
  EXPECT_EQ(d, 5.0);
  EXPECT_EQ(byte, 3);
  EXPECT_EQ(chunk.GetInt32(&value, 0), 4);
  EXPECT_EQ(value, 7);
}

TEST(StateChunk, HostileTextLengthsFailWithoutAllocating) {
  const int32_t lengths[] = {std::numeric_limits<int32_t>::max(), -1, 5};
  for (int32_t length : lengths) {
    StateChunk chunk;
    chunk.PutInt32(length);
    chunk.PutBytes("abcd", 4);  // one byte short of 5
    std::string text = "unchanged";
    EXPECT_EQ(chunk.GetText(&text, 0), -1) << length;
    EXPECT_EQ(text, "unchanged");
  }
}

TEST(StateChunk, ResizeAndClear) {
  StateChunk chunk;
  chunk.Resize(3);
  EXPECT_EQ(chunk.Size(), 3);
  EXPECT_EQ(chunk.Data()[2], 0);
  chunk.Resize(-4);
  EXPECT_TRUE(chunk.Empty());
  chunk.PutByte(1);
  chunk.Clear();
  EXPECT_EQ(chunk.Size(), 0);
}

}  // namespace
