// The host's own pieces that a plug-in relies on: parameter queues handed to
// process(), the component handler, and the state file container.
#include <gtest/gtest.h>

#include <thread>

#include "tools/vst3host/HostComponentHandler.h"
#include "tools/vst3host/HostParameterChanges.h"
#include "tools/vst3host/PluginState.h"
#include "tools/vst3host/TextConvert.h"

namespace vst3host {
namespace {

using Steinberg::int32;
using Steinberg::kResultTrue;

TEST(HostParameterChangesTest, QueuesKeepOffsetOrderAndOneQueuePerParameter) {
  HostParameterChanges changes(2, 3);
  int32 index = -1;
  Steinberg::Vst::IParamValueQueue* queue = changes.addParameterData(7, index);
  ASSERT_NE(queue, nullptr);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(changes.addParameterData(7, index), queue);  // same ID, same queue
  ASSERT_EQ(queue->addPoint(100, 0.5, index), kResultTrue);
  ASSERT_EQ(queue->addPoint(10, 0.1, index), kResultTrue);
  EXPECT_EQ(index, 0);
  ASSERT_EQ(queue->addPoint(100, 0.7, index), kResultTrue);  // same offset replaces
  ASSERT_EQ(queue->getPointCount(), 2);
  int32 offset = 0;
  double value = 0.0;
  ASSERT_EQ(queue->getPoint(1, offset, value), kResultTrue);
  EXPECT_EQ(offset, 100);
  EXPECT_EQ(value, 0.7);
  EXPECT_NE(queue->getPoint(2, offset, value), kResultTrue);

  ASSERT_EQ(queue->addPoint(200, 0.9, index), kResultTrue);
  EXPECT_NE(queue->addPoint(300, 1.0, index), kResultTrue);  // capacity reached
  ASSERT_NE(changes.addParameterData(8, index), nullptr);
  EXPECT_EQ(changes.addParameterData(9, index), nullptr);  // no third queue
  EXPECT_EQ(changes.getParameterCount(), 2);

  changes.Clear();
  EXPECT_EQ(changes.getParameterCount(), 0);
  EXPECT_EQ(changes.getParameterData(0), nullptr);
  ASSERT_TRUE(changes.Add(9, 0, 0.25));
  EXPECT_EQ(changes.getParameterData(0)->getParameterId(), 9u);
  EXPECT_EQ(changes.getParameterData(0)->getPointCount(), 1);
}

// The host takes edits and restart flags between blocks, while the record
// keeps every call in order with its thread, bounded however long a run is.
TEST(HostComponentHandlerTest, TakesEditsAndKeepsABoundedRecordOfEveryCall) {
  HostComponentHandler handler;
  handler.beginEdit(3);
  handler.performEdit(3, 0.25);
  std::thread other([&] {
    handler.endEdit(3);
    handler.restartComponent(Steinberg::Vst::kLatencyChanged);
  });
  other.join();
  handler.restartComponent(Steinberg::Vst::kParamValuesChanged);

  std::vector<HostComponentHandler::Edit> edits;
  handler.TakeEdits(&edits);
  ASSERT_EQ(edits.size(), 1u);
  EXPECT_EQ(edits[0].id, 3u);
  EXPECT_EQ(edits[0].value, 0.25);
  EXPECT_EQ(handler.TakeRestartFlags(), Steinberg::Vst::kLatencyChanged | Steinberg::Vst::kParamValuesChanged);
  EXPECT_EQ(handler.TakeRestartFlags(), 0);

  const std::vector<HostComponentHandler::Call> calls = handler.Calls();
  ASSERT_EQ(calls.size(), 5u);  // taking edits and flags leaves the record alone
  const HostComponentHandler::Kind kinds[] = {HostComponentHandler::kBegin, HostComponentHandler::kPerform,
                                              HostComponentHandler::kEnd, HostComponentHandler::kRestart,
                                              HostComponentHandler::kRestart};
  for (size_t i = 0; i < calls.size(); ++i) EXPECT_EQ(calls[i].kind, kinds[i]) << i;
  EXPECT_EQ(calls[1].value, 0.25);
  EXPECT_EQ(calls[3].flags, Steinberg::Vst::kLatencyChanged);
  EXPECT_EQ(calls[0].thread, std::this_thread::get_id());
  EXPECT_NE(calls[2].thread, std::this_thread::get_id());

  for (size_t i = calls.size(); i < HostComponentHandler::kMaxRecordedCalls + 2; ++i) handler.performEdit(1, 0.5);
  EXPECT_EQ(handler.Calls().size(), HostComponentHandler::kMaxRecordedCalls);
  EXPECT_EQ(handler.UnrecordedCalls(), 2u);
  handler.TakeEdits(&edits);
  EXPECT_EQ(edits.size(), HostComponentHandler::kMaxRecordedCalls + 2 - 5);  // edits are never dropped
}

TEST(PluginStateFileTest, RoundTripAndDamagedFiles) {
  PluginState state;
  for (int i = 0; i < 16; ++i) state.classId[i] = static_cast<char>(i * 7);
  state.hasComponent = true;
  state.component = {1, 2, 3};
  state.hasController = true;  // an empty controller stream is still a stream
  const std::vector<uint8_t> bytes = EncodeStateFile(state);
  // magic, version 1, class ID, then "COMP" with a little-endian 8-byte length
  ASSERT_EQ(bytes.size(), 24u + 12 + 3 + 12);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "SHST");
  EXPECT_EQ(bytes[4], 1);
  EXPECT_EQ(std::string(bytes.begin() + 24, bytes.begin() + 28), "COMP");
  EXPECT_EQ(bytes[28], 3);

  PluginState decoded;
  std::string error;
  ASSERT_TRUE(DecodeStateFile(bytes, &decoded, &error)) << error;
  EXPECT_EQ(std::memcmp(decoded.classId, state.classId, 16), 0);
  EXPECT_TRUE(decoded.hasComponent);
  EXPECT_EQ(decoded.component, state.component);
  EXPECT_TRUE(decoded.hasController);
  EXPECT_TRUE(decoded.controller.empty());

  std::vector<uint8_t> unknownSection = bytes;
  for (char c : std::string("XTRA")) unknownSection.push_back(static_cast<uint8_t>(c));
  for (int i = 0; i < 8; ++i) unknownSection.push_back(i == 0 ? 1 : 0);
  unknownSection.push_back(0xEE);
  EXPECT_TRUE(DecodeStateFile(unknownSection, &decoded, &error)) << error;

  std::vector<uint8_t> truncated(bytes.begin(), bytes.end() - 1);
  std::vector<uint8_t> hugeLength = bytes;
  hugeLength[28 + 7] = 0x80;  // a length beyond any file
  std::vector<uint8_t> badVersion = bytes;
  badVersion[4] = 2;
  for (const auto& damaged : {truncated, hugeLength, badVersion, std::vector<uint8_t>(bytes.begin(), bytes.begin() + 10)}) {
    error.clear();
    EXPECT_FALSE(DecodeStateFile(damaged, &decoded, &error));
    EXPECT_FALSE(error.empty());
  }
}

TEST(TextConvertTest, Utf16AndUtf8RoundTrip) {
  const std::string text = "Gain \xC2\xB5 \xE2\x82\xAC \xF0\x9F\x8E\xB5";  // µ, euro sign, a note outside the BMP
  std::u16string wide = Utf8ToUtf16(text);
  EXPECT_EQ(wide.size(), 11u);  // the note takes a surrogate pair
  wide.push_back(0);
  EXPECT_EQ(Utf16ToUtf8(reinterpret_cast<const Steinberg::char16*>(wide.data())), text);
  // A broken sequence becomes the replacement character instead of garbage.
  EXPECT_EQ(Utf8ToUtf16("a\xC3"), std::u16string(u"a\uFFFD"));
}

TEST(TextConvertTest, NumbersAreWholeDecimalTexts) {
  double value = 0.0;
  EXPECT_TRUE(ParseNumber("-6", &value));
  EXPECT_EQ(value, -6.0);
  EXPECT_TRUE(ParseNumber("1.5e2", &value));
  EXPECT_EQ(value, 150.0);
  for (const char* text : {"", "6 dB", " 6", "nan", "inf", "0x10", "1e999"}) {
    EXPECT_FALSE(ParseNumber(text, &value)) << text;
  }
}

}  // namespace
}  // namespace vst3host
