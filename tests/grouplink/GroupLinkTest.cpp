#include "grouplink/GroupLink.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "grouplink/SegmentLayout.h"
#include "grouplink/SharedSegment.h"
#include "platform/SharedMemory.h"
#include "testsupport/LinkedInstance.h"

namespace {

using Kind = IFxRecordingAdapter::HostCallKind;

std::string UniqueName() {
  static int counter = 0;
  return "StratumLinkTest-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
}

// Reads the segment the way another process would, without changing it.
struct SegmentPeek {
  explicit SegmentPeek(const std::string& name)
      : segment(OpenSegment(name.c_str(), segment_layout::kGroupDataSize)) {}
  const uint8_t* Data() const { return SegmentData(segment.get()); }
  int32_t SlotId(int k) const { return segment_layout::LoadI32(Data(), segment_layout::SlotOffset(k)); }
  int32_t SlotGroup(int k) const {
    return segment_layout::LoadI32(Data(), segment_layout::SlotOffset(k) + segment_layout::kSlotGroupOffset);
  }
  uint8_t SlotPending(int k) const {
    return segment_layout::LoadU8(Data(), segment_layout::SlotOffset(k) + segment_layout::kSlotPendingOffset);
  }
  double Value(int g, int p) const { return segment_layout::LoadF64(Data(), segment_layout::ValueOffset(g, p)); }
  std::unique_ptr<SharedSegment> segment;
};

// Parameter notices the plug-in got from the group link, and what its host was told.
std::vector<int> InternalChanges(const TestPlugin& plugin) {
  std::vector<int> indices;
  for (const TestPlugin::ParamChange& change : plugin.ParamChanges()) {
    if (change.source == SourceInternal) indices.push_back(change.index);
  }
  return indices;
}
std::vector<int> HostNotices(const TestPlugin& plugin) {
  std::vector<int> indices;
  for (const auto& call : plugin.HostCallsOf(Kind::ParamChange)) indices.push_back(call.index);
  return indices;
}

class GroupLinkTest : public testing::Test {
 protected:
  LinkedInstance& AddInstance(int selector = 0) {
    instances.emplace_back(new LinkedInstance(name));
    if (selector != 0) instances.back()->HostSets(kGroup, selector);
    return *instances.back();
  }
  void ClearRecordings() {
    for (auto& instance : instances) {
      instance->plugin.ClearParamChanges();
      instance->plugin.ClearHostCalls();
    }
  }
  void RunBlocks() {
    for (auto& instance : instances) instance->RunBlock();
  }

  std::string name = UniqueName();
  std::vector<std::unique_ptr<LinkedInstance>> instances;
};

TEST_F(GroupLinkTest, FreshSegmentMatchesTheLayoutByteForByte) {
  AddInstance();
  // Built from the layout table, independently of the code under test.
  std::vector<uint8_t> expected(34400, 0);
  std::memcpy(&expected[0], "SMEM", 4);
  expected[8] = 0x20;  // 34336 = 0x8620
  expected[9] = 0x86;
  const uint8_t minusOne[4] = {0xff, 0xff, 0xff, 0xff};
  const uint8_t minusOneDouble[8] = {0, 0, 0, 0, 0, 0, 0xf0, 0xbf};
  for (int k = 0; k < 128; ++k) {
    size_t slot = 64 + 32 + 12 * k;
    if (k != 0) std::memcpy(&expected[slot], minusOne, 4);  // slot 0 holds id 0: the creator
    std::memcpy(&expected[slot + 8], minusOne, 4);
  }
  for (int entry = 0; entry < 32 * 128; ++entry) {
    std::memcpy(&expected[64 + 1568 + 8 * entry], minusOneDouble, 8);
  }

  SegmentPeek peek(name);
  ASSERT_NE(peek.segment, nullptr);
  const uint8_t* segment = peek.Data() - 64;
  for (size_t i = 0; i < expected.size(); ++i) {
    ASSERT_EQ(segment[i], expected[i]) << "segment byte " << i;
  }
}

TEST_F(GroupLinkTest, InstancesClaimFreeSlotsAndFreeThemAgain) {
  LinkedInstance& first = AddInstance();
  LinkedInstance& second = AddInstance();
  AddInstance();
  EXPECT_EQ(first.link->Slot(), 0);
  EXPECT_EQ(second.link->Slot(), 1);
  EXPECT_EQ(instances[2]->link->Slot(), 2);

  second.HostSets(kGroup, 4);  // Group 4
  SegmentPeek peek(name);
  EXPECT_EQ(peek.SlotGroup(1), 3);
  instances.erase(instances.begin() + 1);
  EXPECT_EQ(peek.SlotId(1), -1);
  EXPECT_EQ(peek.SlotGroup(1), -1) << "a freed slot drops out of its group";

  LinkedInstance& reused = AddInstance();
  EXPECT_EQ(reused.link->Slot(), 1) << "the first free slot is taken";
  EXPECT_EQ(peek.SlotId(1), 1);
}

TEST_F(GroupLinkTest, ChangeReachesTheOtherMemberAtItsNextBlock) {
  LinkedInstance& a = AddInstance(1);
  LinkedInstance& b = AddInstance(1);
  RunBlocks();
  ClearRecordings();

  a.HostSets(kGainLevel, 12.5);
  EXPECT_EQ(b.Value(kGainLevel), 0.0) << "nothing changes before the block";
  b.RunBlock();
  EXPECT_EQ(b.Value(kGainLevel), 12.5);
  EXPECT_EQ(InternalChanges(b.plugin), std::vector<int>{kGainLevel}) << "unchanged values cause no notices";
  ASSERT_EQ(HostNotices(b.plugin), std::vector<int>{kGainLevel});
  EXPECT_DOUBLE_EQ(b.plugin.HostCallsOf(Kind::ParamChange)[0].value, (12.5 + 60.0) / 120.0);
  EXPECT_TRUE(b.plugin.HostCallsOf(Kind::BeginParamChange).empty());
  EXPECT_EQ(b.busyInParamChanged, GroupLink::kApplying) << "the effect sees the link applying";
  EXPECT_EQ(b.link->Busy(), GroupLink::kIdle);

  b.plugin.ClearParamChanges();
  b.RunBlock();
  EXPECT_TRUE(b.plugin.ParamChanges().empty()) << "a value is taken once";
  a.RunBlock();
  EXPECT_TRUE(InternalChanges(a.plugin).empty()) << "the publisher does not apply its own row";
}

TEST_F(GroupLinkTest, AppliedValuesAreClampedToTheRange) {
  LinkedInstance& a = AddInstance(1);
  LinkedInstance& b = AddInstance(1);
  // Another build could publish a value beyond our range; write it raw.
  a.HostSets(kPan, 10);
  std::unique_ptr<SharedSegment> raw = OpenSegment(name.c_str(), segment_layout::kGroupDataSize);
  segment_layout::StoreF64(SegmentData(raw.get()), segment_layout::ValueOffset(0, kPan), 250.0);
  b.RunBlock();
  EXPECT_EQ(b.Value(kPan), 100.0);
}

TEST_F(GroupLinkTest, SwitchesAreSharedAndDecideWhatFollows) {
  LinkedInstance& a = AddInstance(1);
  LinkedInstance& b = AddInstance(1);
  RunBlocks();

  a.HostSets(kGroupPan, 0);
  b.RunBlock();
  EXPECT_EQ(b.Value(kGroupPan), 0.0) << "the switch itself follows the group";

  SegmentPeek peek(name);
  a.HostSets(kPan, -40);
  EXPECT_EQ(peek.Value(0, kPan), -1.0);
  b.RunBlock();
  EXPECT_EQ(b.Value(kPan), 0.0);
  b.HostSets(kPan, 70);
  a.RunBlock();
  EXPECT_EQ(a.Value(kPan), -40.0) << "pans stay independent";

  b.HostSets(kMute, 1);  // still linked
  a.RunBlock();
  EXPECT_EQ(a.Value(kMute), 1.0);
}

TEST_F(GroupLinkTest, GroupSelectorIsNeverShared) {
  LinkedInstance& a = AddInstance(1);
  LinkedInstance& b = AddInstance();
  b.HostSets(kGroup, 0.5);  // shows "No group" yet joins Group 1
  EXPECT_TRUE(b.link->InGroup());
  EXPECT_EQ(b.link->Group(), 0);

  a.HostSets(kGainLevel, 3);
  SegmentPeek peek(name);
  EXPECT_EQ(peek.Value(0, kGroup), -1.0);
  b.RunBlock();
  EXPECT_EQ(b.Value(kGainLevel), 3.0);
  EXPECT_EQ(b.Value(kGroup), 0.5);
}

TEST_F(GroupLinkTest, JoiningPushesTheJoinersValues) {
  LinkedInstance& a = AddInstance(2);
  LinkedInstance& b = AddInstance(2);
  a.HostSets(kStereoWidth, 150);
  RunBlocks();
  ASSERT_EQ(b.Value(kStereoWidth), 150.0);

  LinkedInstance& joiner = AddInstance();
  joiner.HostSets(kStereoWidth, 20);
  joiner.HostSets(kGroup, 2);
  RunBlocks();
  EXPECT_EQ(joiner.Value(kStereoWidth), 20.0) << "the joiner keeps its own values";
  EXPECT_EQ(a.Value(kStereoWidth), 20.0);
  EXPECT_EQ(b.Value(kStereoWidth), 20.0);
}

TEST_F(GroupLinkTest, LeavingStopsPublishingAndApplying) {
  LinkedInstance& a = AddInstance(1);
  LinkedInstance& b = AddInstance(1);
  RunBlocks();
  b.HostSets(kGroup, 0);
  EXPECT_FALSE(b.link->InGroup());
  SegmentPeek peek(name);
  EXPECT_EQ(peek.SlotGroup(b.link->Slot()), -1);

  a.HostSets(kClip, 1);
  EXPECT_EQ(peek.SlotPending(b.link->Slot()), 0) << "publishers no longer mark the leaver";
  b.RunBlock();
  EXPECT_EQ(b.Value(kClip), 0.0);
  b.HostSets(kLimit, 1);
  a.RunBlock();
  EXPECT_EQ(a.Value(kLimit), 0.0);
}

TEST_F(GroupLinkTest, GroupsAreSeparate) {
  LinkedInstance& a = AddInstance(1);
  LinkedInstance& b = AddInstance(16);
  a.HostSets(kGainLevel, 9);
  b.RunBlock();
  EXPECT_EQ(b.Value(kGainLevel), 0.0);
}

TEST_F(GroupLinkTest, LastPublisherWins) {
  LinkedInstance& a = AddInstance(1);
  LinkedInstance& b = AddInstance(1);
  RunBlocks();
  a.HostSets(kPan, 30);
  b.HostSets(kMute, 1);  // before b's block: b publishes its own row, pan 0 included
  RunBlocks();
  EXPECT_EQ(a.Value(kPan), 0.0) << "a's change is undone";
  EXPECT_EQ(b.Value(kPan), 0.0);
  EXPECT_EQ(a.Value(kMute), 1.0);
}

TEST_F(GroupLinkTest, PublishLandingWhileApplyingIsNotLost) {
  LinkedInstance& a = AddInstance(1);
  LinkedInstance& b = AddInstance(1);
  RunBlocks();
  a.HostSets(kGainLevel, 1);
  // While b takes the gain, a (in another thread or process) publishes again,
  // changing a parameter b's pass has already gone by.
  bool once = true;
  b.alsoOnParamChanged = [&](int) {
    if (once) a.HostSets(kDcBlock, 1);
    once = false;
  };
  b.RunBlock();
  b.alsoOnParamChanged = nullptr;
  b.RunBlock();
  EXPECT_EQ(b.Value(kGainLevel), 1.0);
  EXPECT_EQ(b.Value(kDcBlock), 1.0) << "the second publish reaches b at its next block";
}

TEST_F(GroupLinkTest, WithoutAFreeSlotAnInstanceRunsUnlinked) {
  for (int k = 0; k < 128; ++k) AddInstance(1);
  LinkedInstance& extra = AddInstance();
  EXPECT_EQ(extra.link->Slot(), -1);
  EXPECT_FALSE(extra.link->IsLinked());

  SegmentPeek peek(name);
  std::vector<uint8_t> before(peek.Data(), peek.Data() + segment_layout::kGroupDataSize);
  extra.HostSets(kGroup, 1);
  extra.HostSets(kGainLevel, -20);
  extra.RunBlock();
  EXPECT_EQ(std::memcmp(before.data(), peek.Data(), before.size()), 0) << "it writes nothing";
  instances[0]->RunBlock();
  EXPECT_EQ(instances[0]->Value(kGainLevel), 0.0);

  instances[5]->HostSets(kGainLevel, 4);
  extra.RunBlock();
  EXPECT_EQ(extra.Value(kGainLevel), -20.0) << "and takes nothing";
  instances.pop_back();  // destroying it must not free a slot it never had
  for (int k = 0; k < 128; ++k) EXPECT_EQ(peek.SlotId(k), k);
}

TEST_F(GroupLinkTest, WithoutASegmentEveryGroupOperationDoesNothing) {
  // A foreign object under our name: the segment is refused.
  platform::SharedMemory::OpenResult result;
  auto foreign = platform::SharedMemory::Open(name.c_str(), 34400, result);
  ASSERT_EQ(result, platform::SharedMemory::OpenResult::kCreated);
  testing::internal::CaptureStderr();
  LinkedInstance& a = AddInstance(1);
  LinkedInstance& b = AddInstance(1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("invalid header"), std::string::npos);
  EXPECT_FALSE(a.link->IsLinked());

  a.HostSets(kGainLevel, 7);
  b.RunBlock();
  EXPECT_EQ(b.Value(kGainLevel), 0.0);
  EXPECT_TRUE(a.link->InGroup()) << "membership is still recorded";
  for (size_t i = 0; i < foreign->Size(); ++i) ASSERT_EQ(foreign->Address()[i], 0) << "byte " << i;
}

}  // namespace
