// Construction, parameters, parameter-change handling and state.
#include "effect/VelmarStratum.h"

#include <cmath>

#include "core/IFxParam.h"
#include "editor/IGraphics.h"
#include "effect/CreateEffectGraphics.h"
#include "effect/EffectIdentity.h"
#include "effect/EffectParameterTable.h"
#include "effect/layout/EditorLayout.h"
#include "grouplink/GroupLink.h"
#include "platform/RecursiveLock.h"

using namespace effect_identity;

VelmarStratum::VelmarStratum()
    : STRATUM_ADAPTER_CLASS(kNumParams, kChannelIO, kNumPresets, kEffectName, kProductName,
                            kMakerName, kVersion, kUniqueCode, kMakerCode, kLatency, kDoesMidi,
                            kDoesChunks, kIsInstrument, kSideChainChannels) {
  SetUpEffectParameters(*this);
  BuildEditor();
  CreateDefaultPresets(kDefaultPresetName, 1);
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

void VelmarStratum::ParamChanged(int paramIdx, ParamChangeSource source) {
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
      AutoGainSwitched(IsOn(kAutoGainOnOff), source);
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
    case kRmsWindowSize:
      UpdateRmsWindows();
      break;
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
      if (IsGroupSwitch(paramIdx)) {
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

void VelmarStratum::UpdateRmsWindows() {
  const int ms = static_cast<int>(Value(kRmsWindowSize));
  mMeter.SetWindowMs(ms);
  for (AutoGainMeter& meter : mAutoGainMeters) {
    meter.SetWindowMs(ms);
  }
}

void VelmarStratum::AutoGainSwitched(bool on, ParamChangeSource source) {
  // Only a change from off to on by a user, the host or a group member
  // switches auto gain on; a restore gives back the values it holds, and a
  // value sent again is no switch.
  const bool switchedOn = on && !mAutoGainEnabled && source != SourceRecall &&
                          source != SourceReset && !mRestoringState;
  mAutoGainEnabled = on;
  for (AutoGainMeter& meter : mAutoGainMeters) {
    meter.Clear();
  }
  if (switchedOn) {
    TurnGroupGainOff();
  }
  if (mGraphics) {
    mGraphics->GreyOutParam(kGroupGainLevel, on);
    mGraphics->GreyOutParam(kGainLevel, on);
  }
}

void VelmarStratum::TurnGroupGainOff() {
  // Auto gain owns the gain now: it must not follow the group. The switch
  // and the host learn of it at once (from inside processing the host hears
  // it through the block's output changes); the link mask follows with the
  // next change of a group switch.
  IFxParam* groupGain = GetParam(kGroupGainLevel);
  if (groupGain->Value() == 0.0) {
    return;
  }
  groupGain->SetValue(0.0);
  const double normalized = groupGain->GetNormalized();
  if (mGraphics) {
    mGraphics->PushParamToControls(kGroupGainLevel, normalized, true);
  }
  BeginInformHostOfParamChange(kGroupGainLevel);
  InformHostOfParamChange(kGroupGainLevel, normalized);
  EndInformHostOfParamChange(kGroupGainLevel);
}

void VelmarStratum::UpdateLimiterRelease() {
  const int ms = ReleaseTimeMs(mLastTempo, static_cast<int>(Value(kLimiterReleaseSync)));
  for (PeakLimiter& limiter : mLimiters) {
    limiter.SetRelease(ms);
  }
}

void VelmarStratum::UpdateLinkMask() {
  mLinkMask = EffectLinkMask(*this);
  if (mGroupLink) {
    mGroupLink->SetShareFlags(mLinkMask.data(), kNumParams);
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
  // The notices of a restore must not act like user changes (auto gain
  // switching "Group Gain Level" off): the state comes back as saved.
  const bool wasRestoring = mRestoringState;
  mRestoringState = true;
  if (mGroupLink && mGroupLink->Busy() != GroupLink::kIdle) {
    position = UnserializeParams(chunk, position);
  } else {
    position = IFxBase::UnserializeParams(chunk, position);
  }
  mRestoringState = wasRestoring;
  return position;
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
  // Then apply what follows the group (the link mask as the switches stand
  // before the load): the group selector never, a linkable parameter only
  // while its group switch is on, the switches always.
  const std::array<bool, kNumParams> linked = EffectLinkMask(*this);
  for (int p = 0; p < kNumParams; ++p) {
    if (linked[p]) GetParam(p)->SetValueClamped(values[p]);
  }
  NotifyAllParams(SourceInternal);
  return position;
}
