// Construction, parameters, parameter-change handling and state.
#include "effect/VelmarStratum.h"

#include <cmath>
#include <cstdio>

#include "core/IFxParam.h"
#include "editor/IGraphics.h"
#include "effect/CreateEffectGraphics.h"
#include "effect/layout/EditorLayout.h"
#include "grouplink/GroupLink.h"
#include "platform/RecursiveLock.h"

VelmarStratum::VelmarStratum()
    : STRATUM_ADAPTER_CLASS(kNumParams, "1-1 2-2", 1, kEffectName, "", kMakerName, kVersion,
                            kUniqueCode, kMakerCode, 0, true, true, false, 0) {
  SetUpParams();
  BuildEditor();
  CreateDefaultPresets("-", 1);
  // Holds, maxima and the hold counter start as the meter is constructed
  // (-100 dB, 0); auto gain starts disabled.
  mAutoGainEnabled = false;
  mGroupLink = std::make_unique<GroupLink>(*this, kEffectName);
  UpdateLinkMask();
}

VelmarStratum::~VelmarStratum() {
  // The group link frees its slot in the shared segment before the base goes.
  platform::LockGuard lock(GetLock());
  mGroupLink.reset();
}

void VelmarStratum::SetUpParams() {
  GetParam(kDcBlock)->SetupBool("DC Block", false);
  GetParam(kMute)->SetupBool("Mute", false);
  IFxParam* selector = GetParam(kChannelSelector);
  selector->SetupEnum("Channel Selector", 0, 4);
  selector->AddNamedValue(0, "LR");
  selector->AddNamedValue(1, "L");
  selector->AddNamedValue(2, "R");
  selector->AddNamedValue(3, "RL");
  GetParam(kPhaseRevL)->SetupBool("Phase Rev. L", false);
  GetParam(kPhaseRevR)->SetupBool("Phase Rev. R", false);
  IFxParam* mode = GetParam(kAutoGainMode);
  mode->SetupEnum("Auto Gain Mode", 0, 2);
  mode->AddNamedValue(0, "Peak");
  mode->AddNamedValue(1, "RMS");
  GetParam(kAutoGainOnOff)->SetupBool("Auto Gain On/Off", false);
  GetParam(kGainLevel)->SetupDouble("Gain Level", 0.0, -60.0, 60.0, 0.1, "dB");
  GetParam(kAutoGainLevel)->SetupDouble("Auto Gain Level", -6.0, -60.0, 0.0, 1.0, "dB");
  GetParam(kPan)->SetupDouble("Pan", 0.0, -100.0, 100.0, 1.0, "");
  GetParam(kStereoWidth)->SetupDouble("Stereo Width", 100.0, 0.0, 200.0, 1.0, "%");
  GetParam(kClip)->SetupBool("Clip", false);
  GetParam(kLimit)->SetupBool("Limit", false);
  IFxParam* release = GetParam(kLimiterReleaseSync);
  release->SetupEnum("Limiter release sync", 1, 3);
  release->AddNamedValue(0, "1/2 Bar");
  release->AddNamedValue(1, "1 Bar");
  release->AddNamedValue(2, "2 Bars");
  GetParam(kRmsWindowSize)->SetupDouble("RMS wind. size", 600.0, 100.0, 1000.0, 100.0, "ms");
  IFxParam* group = GetParam(kGroup);
  group->SetupEnum("Group", 0, 17);
  group->AddNamedValue(0, "No group");
  for (int g = 1; g <= 16; ++g) {
    char name[IFxParam::kTextSize];
    std::snprintf(name, sizeof(name), "Group %d", g);
    group->AddNamedValue(g, name);
  }
  static const char* const kSwitchNames[kNumGroupSwitches] = {
      "Group DC Block",         "Group Mute",         "Group Chan. Sel.",
      "Group Phase Rev. L",     "Group Phase Rev. R", "Group Auto Gain Mode",
      "Group Auto Gain on/off", "Group Auto Gain Ref.", "Group Gain Level",
      "Group Pan",              "Group Stereo Width", "Group Clip on/off",
      "Group Limit on/off",     "Group Limit release time", "Group RMS wind. size"};
  for (int k = 0; k < kNumGroupSwitches; ++k) {
    GetParam(kGroupFirstSwitch + k)->SetupBool(kSwitchNames[k], true);
  }
}

void VelmarStratum::BuildEditor() {
  mGraphics = CreateEffectGraphics(this, kEditorWidth, kEditorHeight);
  const EditorLayoutHandles handles = BuildEditorLayout(this, mGraphics);
  for (int i = 0; i < 8; ++i) {
    mMeterControls[i] = handles.meterControls[i];
  }
  mPeakReadOut = handles.peakReadOut;
  mRmsReadOut = handles.rmsReadOut;
  AttachEditor(mGraphics);
}

bool VelmarStratum::IsOn(int paramIdx) const { return GetParam(paramIdx)->Value() >= 0.5; }

double VelmarStratum::Value(int paramIdx) const { return GetParam(paramIdx)->Value(); }

int VelmarStratum::ReleaseTimeMs(double tempoBpm, int releaseSync) {
  if (!(tempoBpm > 0.0) || !std::isfinite(tempoBpm)) {
    tempoBpm = kFallbackTempoBpm;
  }
  const int beats = releaseSync <= 0 ? 2 : (releaseSync == 1 ? 4 : 8);
  const double ms = 60000.0 / tempoBpm * beats;
  // A crawling tempo would give releases of days; ten minutes is plenty and
  // keeps the truncation inside an int. At least 1 ms keeps the
  // coefficients defined.
  if (ms >= 600000.0) return 600000;
  return ms < 1.0 ? 1 : static_cast<int>(ms);
}

void VelmarStratum::ParamChanged(int paramIdx, ParamChangeSource /*source*/) {
  platform::LockGuard lock(GetLock());
  IFxParam* param = GetParam(paramIdx);
  if (!param) {
    return;
  }
  mSmoothers[paramIdx].SetTarget(param->Value());

  switch (paramIdx) {
    case kAutoGainMode:
      for (AutoGainMeter& meter : mAutoGainMeters) {
        meter.SetMode(IsOn(kAutoGainMode) ? 1.0 : 0.0);
        meter.SetLevelMemoryDb(AutoGainMeter::kRestartLevelDb);
      }
      break;
    case kAutoGainOnOff:
      AutoGainSwitched(IsOn(kAutoGainOnOff));
      break;
    case kAutoGainLevel:
      for (AutoGainMeter& meter : mAutoGainMeters) {
        meter.SetReferenceDb(Value(kAutoGainLevel));
        meter.SetLevelMemoryDb(AutoGainMeter::kRestartLevelDb);
      }
      break;
    case kLimit:
      for (PeakLimiter& limiter : mLimiters) {
        limiter.SetEnvelope(0.0);
      }
      break;
    case kLimiterReleaseSync:
      UpdateLimiterRelease();
      break;
    case kRmsWindowSize: {
      const int ms = static_cast<int>(Value(kRmsWindowSize));
      mMeter.SetWindowMs(ms);
      for (AutoGainMeter& meter : mAutoGainMeters) {
        meter.SetWindowMs(ms);
      }
      break;
    }
    case kGroup:
      if (mGroupLink) {
        const double group = Value(kGroup);
        if (group != 0.0) {
          mGroupLink->JoinGroup(static_cast<int>(group - 1.0));
        } else {
          mGroupLink->LeaveGroup();
        }
      }
      break;
    default:
      if (paramIdx >= kGroupFirstSwitch) {
        UpdateLinkMask();
      }
      break;
  }

  if (mGroupLink) {
    mGroupLink->PublishShared();
  }
  if (mGraphics) {
    mGraphics->PushParamToControls(paramIdx, param->GetNormalized(), true);
  }
}

void VelmarStratum::AutoGainSwitched(bool on) {
  mAutoGainEnabled = on;
  for (AutoGainMeter& meter : mAutoGainMeters) {
    meter.Clear();
  }
  if (on) {
    // Auto gain owns the gain now: it must not follow the group. Written
    // straight to the parameter, so the host, the controls and the link mask
    // hear of it only later.
    GetParam(kGroupGainLevel)->SetValue(0.0);
  }
  if (mGraphics) {
    mGraphics->GreyOutParam(kGroupGainLevel, on);
    mGraphics->GreyOutParam(kGainLevel, on);
  }
}

void VelmarStratum::UpdateLimiterRelease() {
  const int ms = ReleaseTimeMs(mLastTempo, static_cast<int>(Value(kLimiterReleaseSync)));
  for (PeakLimiter& limiter : mLimiters) {
    limiter.SetRelease(ms);
  }
}

void VelmarStratum::UpdateLinkMask() {
  bool flags[kNumParams];
  const int count = GroupLink::ShareFlagsFromSwitches(*this, flags);
  for (int p = 0; p < kNumParams; ++p) {
    mLinkMask[p] = flags[p];
  }
  if (mGroupLink) {
    mGroupLink->SetShareFlags(flags, count);
  }
}

bool VelmarStratum::SaveState(StateChunk& chunk) {
  platform::LockGuard lock(GetLock());
  chunk.PutUInt32(mStateWord);
  return SerializeParams(chunk);
}

int VelmarStratum::LoadState(const StateChunk& chunk, int position) {
  platform::LockGuard lock(GetLock());
  uint32_t word = 0;
  position = position >= 0 ? chunk.GetUInt32(&word, position) : -1;
  if (position >= 0) {
    mStateWord = word;
  }
  if (mGroupLink && mGroupLink->Busy() != GroupLink::kIdle) {
    return UnserializeParams(chunk, position);
  }
  return IFxBase::UnserializeParams(chunk, position);
}

int VelmarStratum::UnserializeParams(const StateChunk& chunk, int position) {
  platform::LockGuard lock(GetLock());
  // Read into copies first, each value clamped to its parameter's range. A
  // value at which the data runs out reads as 0 (clamped); values after it
  // are not reached and keep the current ones.
  std::array<double, kNumParams> values{};
  for (int p = 0; p < kNumParams; ++p) {
    values[p] = Value(p);
  }
  for (int p = 0; p < kNumParams && position >= 0; ++p) {
    double v = 0.0;
    position = chunk.GetDouble(&v, position);
    if (position < 0) {
      v = 0.0;
    }
    values[p] = GetParam(p)->ClampToRange(v);
  }
  // Then apply: the group selector never, a linkable parameter only while its
  // group switch is on, the switches always.
  for (int p = 0; p < kNumParams; ++p) {
    IFxParam* param = GetParam(p);
    if (p == kGroup) continue;
    if (p < kGroup && !IsOn(kGroupFirstSwitch + p)) continue;
    param->SetValueClamped(values[p]);
  }
  NotifyAllParams(SourceInternal);
  return position;
}
