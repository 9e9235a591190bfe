#pragma once

#include <cstdint>
#include <memory>

#include "grouplink/SharedSegment.h"

class IFxBase;

// Keeps chosen parameters equal between instances of the effect in any
// process of one login. Each instance owns one GroupLink; it claims a slot in
// the shared segment, and while it is in one of the 16 groups every
// parameter change of the instance publishes its linked values into the
// group's row, and the start of every audio block applies the values other
// members published. The last publisher wins; members converge.
//
// Every operation runs under the owning effect's instance lock (the
// constructor, destructor, PublishShared and ApplyShared take it; the others
// are called from ParamChanged, which holds it).
//
// A slot is owned through an ownership mark of the segment, which dies with
// its holder: the slot of an instance whose process crashed is taken over by
// the next instance that looks for one.
//
// An instance that gets no segment, or finds all 128 slots taken, runs
// without grouping: it never writes to the segment, JoinGroup and LeaveGroup
// only record the membership, and publishing and applying do nothing.
class GroupLink {
 public:
  static constexpr int kGroupCount = 16;
  static constexpr int kMaxShareFlags = 128;

  // What the link is doing; the effect's state loader asks (Busy()).
  enum BusyState { kIdle = 0, kApplying = 1, kPublishing = 2 };

  // Opens (or creates) the segment `name` (none or "" is the empty name) and
  // claims a slot. Nothing is shared until the owner hands over its share
  // flags (SetShareFlags).
  GroupLink(IFxBase& effect, const char* name);
  // Frees the slot and closes this instance's mapping.
  ~GroupLink();
  GroupLink(const GroupLink&) = delete;
  GroupLink& operator=(const GroupLink&) = delete;

  // Enters group g (0 to 15) and marks this member pending. Any other g leaves.
  void JoinGroup(int group);
  void LeaveGroup();

  // flags[p] true: parameter p is published. Counts beyond 128 are cut. The
  // link does not know the effect's table: the effect says which of its
  // parameters follow the group (effect/EffectParameterTable.h).
  void SetShareFlags(const bool* flags, int count);

  // Writes this member's row into its group and marks the other members
  // pending. Does nothing while applying or publishing, or outside a group.
  void PublishShared();

  // At the start of a block: when this member is pending, takes every shared
  // value that differs from its own, notifies the effect (SourceInternal) and
  // the host. Costs two byte reads when nothing is pending.
  void ApplyShared();

  BusyState Busy() const { return mBusy; }
  bool InGroup() const { return !mNotInGroup; }
  int Group() const { return mGroup; }       // meaningful only while InGroup()
  int Slot() const { return mSlot; }         // -1 when no slot could be claimed
  bool IsLinked() const { return mData != nullptr && mSlot >= 0; }  // segment and slot

 private:
  bool CanShare() const { return mReady && IsLinked() && !mNotInGroup; }
  bool AnyMemberPending(int group) const;

  IFxBase& mEffect;
  BusyState mBusy = kIdle;
  int mGroup = 0;
  bool mNotInGroup = true;
  bool mReady = false;
  int mSlot = -1;
  int mShareCount = 0;
  std::unique_ptr<SharedSegment> mSegment;
  uint8_t* mData = nullptr;  // the segment's data area while linked
  bool mShareFlags[kMaxShareFlags] = {};
};
