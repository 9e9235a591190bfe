// The group link between processes: helper processes host instances, this
// process hosts others or inspects the segment.
#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "grouplink/SegmentLayout.h"
#include "grouplink/SharedSegment.h"
#include "tests/grouplink/HelperProcess.h"
#include "testsupport/LinkedInstance.h"

namespace {

using namespace segment_layout;

std::string UniqueName() {
  static int counter = 0;
  return "StratumProcessTest-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
}

std::string Command(const std::string& verb, int instance, int param, double value) {
  return verb + " " + std::to_string(instance) + " " + std::to_string(param) + " " + std::to_string(value);
}

TEST(GroupLinkProcesses, ChangesTravelBothWaysAtTheNextBlock) {
  std::string name = UniqueName();
  HelperProcess other;
  ASSERT_EQ(other.Ask("open " + name), "slot 0");
  ASSERT_EQ(other.Ask(Command("set", 0, kGroup, 3)), "ok");

  LinkedInstance here(name);
  EXPECT_EQ(here.link->Slot(), 1);
  here.HostSets(kGroup, 3);

  ASSERT_EQ(other.Ask(Command("set", 0, kGainLevel, -7.5)), "ok");
  here.RunBlock();
  EXPECT_EQ(here.Value(kGainLevel), -7.5);
  EXPECT_EQ(here.plugin.HostCallsOf(IFxRecordingAdapter::HostCallKind::ParamChange).size(), 1u);

  here.HostSets(kPan, -25);
  EXPECT_EQ(other.Ask("get 0 9"), "0") << "not before the other's block";
  ASSERT_EQ(other.Ask("block 0"), "ok");
  EXPECT_EQ(other.Ask("get 0 9"), "-25");
}

TEST(GroupLinkProcesses, SegmentStartsFreshOnceEveryHolderHasGone) {
  std::string name = UniqueName();
  {
    HelperProcess first;
    ASSERT_EQ(first.Ask("open " + name), "slot 0");
    ASSERT_EQ(first.Ask(Command("set", 0, kGroup, 1)), "ok");
    ASSERT_EQ(first.Ask(Command("set", 0, kGainLevel, 11)), "ok");
    std::unique_ptr<SharedSegment> live = OpenSegment(name.c_str(), kGroupDataSize);
    ASSERT_NE(live, nullptr);
    EXPECT_FALSE(SegmentCreated(live.get()));
    EXPECT_EQ(LoadF64(SegmentData(live.get()), ValueOffset(0, kGainLevel)), 11.0);
    first.Send("quit");
    EXPECT_EQ(first.Wait(), 0);
    // Still held here: the contents survive.
    EXPECT_EQ(LoadF64(SegmentData(live.get()), ValueOffset(0, kGainLevel)), 11.0);
  }
  std::unique_ptr<SharedSegment> fresh = OpenSegment(name.c_str(), kGroupDataSize);
  ASSERT_NE(fresh, nullptr);
  EXPECT_TRUE(SegmentCreated(fresh.get()));
}

TEST(GroupLinkProcesses, KilledHolderLeavesNothingBehind) {
  std::string name = UniqueName();
  HelperProcess victim;
  ASSERT_EQ(victim.Ask("open " + name), "slot 0");
  ASSERT_EQ(victim.Ask("open " + name), "slot 1");
  ASSERT_EQ(victim.Ask(Command("set", 1, kGroup, 1)), "ok");
  ASSERT_EQ(victim.Ask(Command("set", 1, kStereoWidth, 180)), "ok");
  victim.Kill();

  LinkedInstance next(name);
  EXPECT_EQ(next.link->Slot(), 0) << "the next instance creates the segment anew";
  LinkedInstance second(name);
  EXPECT_EQ(second.link->Slot(), 1) << "no stale claims";
  next.HostSets(kGroup, 1);
  second.HostSets(kGroup, 1);
  next.RunBlock();
  second.RunBlock();
  EXPECT_EQ(next.Value(kStereoWidth), 100.0) << "no stale values";
}

TEST(GroupLinkProcesses, SlotOfAKilledInstanceIsTakenOverWhileOthersLive) {
  std::string name = UniqueName();
  LinkedInstance keeper(name);  // keeps the segment alive throughout
  keeper.HostSets(kGroup, 2);
  HelperProcess victim;
  ASSERT_EQ(victim.Ask("open " + name), "slot 1");
  ASSERT_EQ(victim.Ask("open " + name), "slot 2");
  ASSERT_EQ(victim.Ask(Command("set", 0, kGroup, 2)), "ok");
  victim.Kill();

  std::unique_ptr<SharedSegment> peek = OpenSegment(name.c_str(), kGroupDataSize);
  ASSERT_NE(peek, nullptr);
  const uint8_t* data = SegmentData(peek.get());
  ASSERT_EQ(LoadI32(data, SlotOffset(1) + kSlotIdOffset), 1) << "the dead instance never freed its slot";

  LinkedInstance next(name);
  EXPECT_EQ(next.link->Slot(), 1) << "its slot is taken over";
  EXPECT_EQ(LoadI32(data, SlotOffset(1) + kSlotGroupOffset), -1) << "without the dead member's group";
  LinkedInstance after(name);
  EXPECT_EQ(after.link->Slot(), 2);


  next.HostSets(kGroup, 2);
  keeper.HostSets(kGainLevel, 2);
  next.RunBlock();
  EXPECT_EQ(next.Value(kGainLevel), 2.0);
}

TEST(GroupLinkProcesses, ForeignObjectHeldElsewhereIsRefused) {
  struct Case {
    const char* magic;
    int storedSize;
    const char* message;
  };
  const Case cases[] = {
      {"XMEM", 34336, "failed: invalid header\n"},
      {"SMEM", 1000, "failed: size mismatch (found 1000)\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.magic);
    std::string name = UniqueName();
    HelperProcess holder;
    ASSERT_EQ(holder.Ask("foreign " + name + " " + c.magic + " " + std::to_string(c.storedSize)), "held");
    testing::internal::CaptureStderr();
    EXPECT_EQ(OpenSegment(name.c_str(), kGroupDataSize), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "shmem(\"" + name + "\", 34336) " + c.message);
  }
}

TEST(GroupLinkProcesses, InstancesStartingAtOnceShareOneSegment) {
  std::string name = UniqueName();
  constexpr int kHelpers = 8;
  std::vector<std::unique_ptr<HelperProcess>> helpers;
  for (int h = 0; h < kHelpers; ++h) helpers.emplace_back(new HelperProcess);
  for (auto& helper : helpers) helper->Send("open " + name);  // all at once
  std::set<std::string> slots;
  for (auto& helper : helpers) slots.insert(helper->Answer());
  EXPECT_EQ(slots.size(), static_cast<size_t>(kHelpers)) << "one creator, every slot different";
  EXPECT_EQ(slots.count("slot 0"), 1u);
  EXPECT_EQ(slots.count("slot -1"), 0u);

  // They really met in one segment: a change in the first reaches the last.
  for (int h = 0; h < kHelpers; ++h) ASSERT_EQ(helpers[h]->Ask(Command("set", 0, kGroup, 5)), "ok");
  ASSERT_EQ(helpers[0]->Ask(Command("set", 0, kRmsWindowSize, 200)), "ok");
  ASSERT_EQ(helpers[kHelpers - 1]->Ask("block 0"), "ok");
  EXPECT_EQ(helpers[kHelpers - 1]->Ask("get 0 14"), "200");
}

}  // namespace
