// Named values through a chunk record and back, and records that do not
// parse whole are refused without leaving anything behind.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adapters/aax/support/AAX_CChunkDataParser.h"

namespace {

std::vector<unsigned char> Record(const AAX_CChunkDataParser& parser) {
  std::vector<unsigned char> bytes(kAAX_ChunkHeaderSize + parser.GetChunkDataSize() + 1, 0);
  EXPECT_TRUE(parser.GetChunkData(reinterpret_cast<AAX_SPlugInChunk*>(bytes.data())));
  return bytes;
}

AAX_SPlugInChunk* AsChunk(std::vector<unsigned char>& bytes) {
  return reinterpret_cast<AAX_SPlugInChunk*>(bytes.data());
}

TEST(AaxChunkDataParser, ValuesRoundTripByNameAndType) {
  AAX_CChunkDataParser writer;
  EXPECT_TRUE(writer.AddDouble("gain", -6.5));
  EXPECT_TRUE(writer.AddInt32("mode", 3));
  EXPECT_TRUE(writer.AddString("label", "vocal bus"));
  EXPECT_TRUE(writer.AddString("empty", nullptr));
  EXPECT_FALSE(writer.AddDouble(nullptr, 1.0));
  EXPECT_FALSE(writer.AddInt32(std::string(256, 'x').c_str(), 1));
  std::vector<unsigned char> record = Record(writer);
  EXPECT_EQ(AsChunk(record)->fVersion, AAX_CChunkDataParser::kVersion);

  AAX_CChunkDataParser reader;
  ASSERT_TRUE(reader.LoadChunk(AsChunk(record)));
  EXPECT_EQ(reader.NumEntries(), 4);
  double gain = 0.0;
  ASSERT_TRUE(reader.FindDouble("gain", &gain));
  EXPECT_EQ(gain, -6.5);
  int32_t mode = 0;
  ASSERT_TRUE(reader.FindInt32("mode", &mode));
  EXPECT_EQ(mode, 3);
  std::string text;
  ASSERT_TRUE(reader.FindString("label", &text));
  EXPECT_EQ(text, "vocal bus");
  ASSERT_TRUE(reader.FindString("empty", &text));
  EXPECT_EQ(text, "");
  // The type is part of the lookup.
  EXPECT_FALSE(reader.FindInt32("gain", &mode));
  EXPECT_FALSE(reader.FindDouble("missing", &gain));
}

TEST(AaxChunkDataParser, DamagedRecordsAreRefused) {
  AAX_CChunkDataParser writer;
  writer.AddDouble("gain", 1.0);
  writer.AddString("label", "abc");
  const std::vector<unsigned char> good = Record(writer);

  AAX_CChunkDataParser reader;
  EXPECT_FALSE(reader.LoadChunk(nullptr));
  // Every shortened size but the one between the entries cuts an entry
  // somewhere: each must be refused.
  constexpr int32_t kFirstEntryEnd = 2 + 4 + 8;
  for (int32_t size = 1; size < writer.GetChunkDataSize(); ++size) {
    if (size == kFirstEntryEnd) continue;
    std::vector<unsigned char> cut = good;
    AsChunk(cut)->fSize = size;
    EXPECT_FALSE(reader.LoadChunk(AsChunk(cut))) << size;
    EXPECT_EQ(reader.NumEntries(), 0) << size;
  }
  std::vector<unsigned char> damaged = good;
  AsChunk(damaged)->fSize = kFirstEntryEnd;
  ASSERT_TRUE(reader.LoadChunk(AsChunk(damaged)));
  EXPECT_EQ(reader.NumEntries(), 1);
  damaged = good;
  AsChunk(damaged)->fData[0] = 'x';  // an unknown type
  EXPECT_FALSE(reader.LoadChunk(AsChunk(damaged)));
  damaged = good;
  AsChunk(damaged)->fVersion = 2;
  EXPECT_FALSE(reader.LoadChunk(AsChunk(damaged)));
  damaged = good;
  AsChunk(damaged)->fSize = -4;
  EXPECT_FALSE(reader.LoadChunk(AsChunk(damaged)));
  // A text length running past the data.
  damaged = good;
  AsChunk(damaged)->fData[2 + 4 + 8 + 2 + 5] = 0x7F;
  EXPECT_FALSE(reader.LoadChunk(AsChunk(damaged)));
  // An empty record holds no entries and is fine.
  damaged = good;
  AsChunk(damaged)->fSize = 0;
  EXPECT_TRUE(reader.LoadChunk(AsChunk(damaged)));
  EXPECT_EQ(reader.NumEntries(), 0);
}

}  // namespace
