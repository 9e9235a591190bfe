#pragma once

#include <functional>
#include <memory>
#include <string>

#include "effect/EffectParameterTable.h"
#include "grouplink/GroupLink.h"
#include "testsupport/TestPlugin.h"

// A test instance wired to its group link the way the effect wires it: the
// group selector joins and leaves, a group switch hands over the rebuilt link
// mask, and every parameter change ends with PublishShared.
struct LinkedInstance {
  explicit LinkedInstance(const std::string& segmentName) {
    link.reset(new GroupLink(plugin, segmentName.c_str()));
    link->SetShareFlags(plugin.LinkMask().data(), kNumParams);
    plugin.SetParamChangedHook([this](int paramIdx, ParamChangeSource) { OnParamChanged(paramIdx); });
  }
  ~LinkedInstance() {
    plugin.SetParamChangedHook(nullptr);
    link.reset();
  }

  void OnParamChanged(int paramIdx) {
    busyInParamChanged = link->Busy();
    if (alsoOnParamChanged) alsoOnParamChanged(paramIdx);
    if (paramIdx == kGroup) {
      const double selector = plugin.GetParam(kGroup)->Value();
      if (selector != 0.0) {
        link->JoinGroup(static_cast<int>(selector - 1.0));
      } else {
        link->LeaveGroup();
      }
    } else if (IsGroupSwitch(paramIdx)) {
      link->SetShareFlags(plugin.LinkMask().data(), kNumParams);
    }
    link->PublishShared();
  }

  // A host automation change: the plain value, then the notice.
  void HostSets(int paramIdx, double plainValue) {
    platform::LockGuard guard(plugin.GetLock());
    plugin.GetParam(paramIdx)->SetValueClamped(plainValue);
    plugin.ParamChanged(paramIdx, SourceHost);
  }

  // The start of an audio block, under the lock as the adapters hold it.
  void RunBlock() {
    platform::LockGuard guard(plugin.GetLock());
    link->ApplyShared();
  }

  double Value(int paramIdx) {
    platform::LockGuard guard(plugin.GetLock());
    return plugin.GetParam(paramIdx)->Value();
  }

  TestPlugin plugin;
  std::unique_ptr<GroupLink> link;
  GroupLink::BusyState busyInParamChanged = GroupLink::kIdle;
  std::function<void(int paramIdx)> alsoOnParamChanged;  // a test's own step, first of all
};
