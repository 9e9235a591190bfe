#include "grouplink/GroupLink.h"

#include <cmath>

#include "core/IFxBase.h"
#include "grouplink/SegmentLayout.h"
#include "platform/SharedMemory.h"
#include "platform/RecursiveLock.h"

using namespace segment_layout;

namespace {

// Fills a new segment: no group has news, every slot is free and in no group,
// every value is "not shared"; then the creator claims slot 0. Runs before
// any other instance can attach.
void InitialiseGroupData(platform::SharedMemory& memory, uint8_t* data, uint64_t, void* claimed) {
  for (int g = 0; g < kGroupFlagCount; ++g) StoreU8(data, kGroupFlagsOffset + g, 0);
  for (int k = 0; k < kSlotCount; ++k) {
    StoreI32(data, SlotOffset(k) + kSlotIdOffset, kFreeSlot);
    StoreU8(data, SlotOffset(k) + kSlotPendingOffset, 0);
    StoreI32(data, SlotOffset(k) + kSlotGroupOffset, kNoGroup);
  }
  for (int g = 0; g < kGroupFlagCount; ++g) {
    for (int p = 0; p < kValueColumns; ++p) StoreF64(data, ValueOffset(g, p), kNotShared);
  }
  if (memory.TryTakeMark(0)) {
    StoreI32(data, SlotOffset(0) + kSlotIdOffset, 0);
    *static_cast<bool*>(claimed) = true;
  }
}

size_t PendingOffset(int slot) { return SlotOffset(slot) + kSlotPendingOffset; }
size_t GroupOffset(int slot) { return SlotOffset(slot) + kSlotGroupOffset; }
size_t IdOffset(int slot) { return SlotOffset(slot) + kSlotIdOffset; }

}  // namespace

GroupLink::GroupLink(IFxBase& effect, const char* name) : mEffect(effect) {
  platform::LockGuard guard(mEffect.GetLock());
  bool claimedFirstSlot = false;
  mSegment = OpenSegment(name != nullptr ? name : "", kGroupDataSize, InitialiseGroupData, &claimedFirstSlot);
  if (mSegment != nullptr) {
    mData = SegmentData(mSegment.get());
    if (claimedFirstSlot) {
      mSlot = 0;  // claimed while the segment was being initialised
    } else {
      // A slot belongs to whoever holds its ownership mark. The mark dies with
      // its holder, so a slot whose id is set but whose mark is free was left
      // by an instance that crashed, and is taken over like a free one.
      for (int k = 0; k < kSlotCount && mSlot < 0; ++k) {
        if (!mSegment->memory->TryTakeMark(k)) continue;  // a live instance has it
        // Whatever the last owner left: out of any group, nothing pending.
        StoreI32(mData, GroupOffset(k), kNoGroup);
        StoreU8(mData, PendingOffset(k), 0);
        StoreI32(mData, IdOffset(k), k, __ATOMIC_RELEASE);
        mSlot = k;
      }
    }
  }
  mReady = true;
}

GroupLink::~GroupLink() {
  platform::LockGuard guard(mEffect.GetLock());
  if (IsLinked()) {
    // Out of the group first, so that nobody marks or waits for a slot that
    // a new owner may take as soon as its id reads free.
    StoreI32(mData, GroupOffset(mSlot), kNoGroup);
    StoreU8(mData, PendingOffset(mSlot), 0);
    StoreI32(mData, IdOffset(mSlot), kFreeSlot, __ATOMIC_RELEASE);
    mSegment->memory->ReleaseMark(mSlot);
  }
  mData = nullptr;
  mReady = false;
  CloseSegment(std::move(mSegment));
}

void GroupLink::JoinGroup(int group) {
  if (group < 0 || group >= kGroupCount) {
    LeaveGroup();
    return;
  }
  if (IsLinked()) {
    StoreI32(mData, GroupOffset(mSlot), group);
    StoreU8(mData, PendingOffset(mSlot), 1, __ATOMIC_SEQ_CST);
  }
  mGroup = group;
  mNotInGroup = false;
}

void GroupLink::LeaveGroup() {
  if (IsLinked()) StoreI32(mData, GroupOffset(mSlot), kNoGroup);
  mNotInGroup = true;
}

void GroupLink::SetShareFlags(const bool* flags, int count) {
  if (count < 0) count = 0;
  if (count > kMaxShareFlags) count = kMaxShareFlags;
  for (int p = 0; p < count; ++p) mShareFlags[p] = flags[p];
  mShareCount = count;
}

void GroupLink::PublishShared() {
  platform::LockGuard guard(mEffect.GetLock());
  if (!CanShare() || mBusy != kIdle) return;
  mBusy = kPublishing;
  const int g = mGroup;

  // The row goes in before anyone is told, so that a member that sees its
  // mark (and clears it) is sure to read at least this row.
  const int params = mEffect.NumParams() < kValueColumns ? mEffect.NumParams() : kValueColumns;
  for (int p = 0; p < params; ++p) {
    const bool shared = p < mShareCount && mShareFlags[p];
    StoreF64(mData, ValueOffset(g, p), shared ? mEffect.GetParam(p)->Value() : kNotShared);
  }
  for (int k = 0; k < kSlotCount; ++k) {
    if (k != mSlot && LoadI32(mData, GroupOffset(k)) == g) {
      StoreU8(mData, PendingOffset(k), 1, __ATOMIC_SEQ_CST);
    }
  }
  StoreU8(mData, kGroupFlagsOffset + g, 1, __ATOMIC_SEQ_CST);
  mBusy = kIdle;
}

bool GroupLink::AnyMemberPending(int group) const {
  for (int k = 0; k < kSlotCount; ++k) {
    if (LoadI32(mData, GroupOffset(k)) == group && LoadU8(mData, PendingOffset(k), __ATOMIC_SEQ_CST) == 1) {
      return true;
    }
  }
  return false;
}

void GroupLink::ApplyShared() {
  platform::LockGuard guard(mEffect.GetLock());
  if (!CanShare() || mBusy != kIdle) return;
  const int g = mGroup;
  if (LoadU8(mData, kGroupFlagsOffset + g) != 1 || LoadU8(mData, PendingOffset(mSlot)) != 1) return;
  // Clear the mark before reading: a publish that lands while we read marks
  // us again, and we apply once more at the next block.
  if (ExchangeU8(mData, PendingOffset(mSlot), 0, __ATOMIC_SEQ_CST) != 1) return;
  mBusy = kApplying;

  const int params = mEffect.NumParams() < kValueColumns ? mEffect.NumParams() : kValueColumns;
  for (int p = 0; p < params; ++p) {
    const double shared = LoadF64(mData, ValueOffset(g, p));
    if (shared == kNotShared || std::isnan(shared)) continue;
    IFxParam* param = mEffect.GetParam(p);
    const double value = param->ClampToRange(shared);
    if (value == param->Value()) continue;
    param->SetValue(value);
    mEffect.ParamChanged(p, SourceInternal);  // its PublishShared does nothing while applying
    mEffect.InformHostOfParamChange(p, param->ValueToNormalized(value));
  }

  if (!AnyMemberPending(g)) {
    StoreU8(mData, kGroupFlagsOffset + g, 0, __ATOMIC_SEQ_CST);
    // A publish between the scan and the clear would have its flag wiped:
    // look again and put it back.
    if (AnyMemberPending(g)) StoreU8(mData, kGroupFlagsOffset + g, 1, __ATOMIC_SEQ_CST);
  }
  mBusy = kIdle;
}
