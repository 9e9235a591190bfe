// ResetProcessing and the per-block signal chain.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/IFxParam.h"
#include "editor/IControl.h"
#include "editor/IGraphics.h"
#include "effect/VelmarStratum.h"
#include "effect/dsp/Decibels.h"
#include "effect/dsp/ScopedDenormalFlush.h"
#include "effect/layout/IReadOutControl.h"
#include "grouplink/GroupLink.h"
#include "platform/RecursiveLock.h"

void VelmarStratum::ResetProcessing() {
  platform::LockGuard lock(GetLock());
  const double rate = GetSampleRate();
  mSampleRate = rate > 0.0 && rate < 2147483647.0 ? static_cast<int>(rate) : 0;

  for (DCBlocker& blocker : mDcBlockers) {
    blocker.SetSampleRate(mSampleRate);
  }
  for (PeakLimiter& limiter : mLimiters) {
    limiter.SetSampleRate(mSampleRate);
    limiter.SetEnvelope(0.0);
  }
  for (AutoGainMeter& meter : mAutoGainMeters) {
    meter.SetGateDb(AutoGainMeter::kDefaultGateDb);
    meter.SetSampleRate(mSampleRate);
  }
  mWidener.SetSampleRate(mSampleRate);
  mMeter.SetSampleRate(mSampleRate);
  // The windows are sized for the new rate without a parameter notice: a
  // reset changes no value, and a notice would publish this instance's row
  // over a change another member of its group published and this one has
  // not applied yet.
  UpdateRmsWindows();

  // Blocks of the announced size (or of the last size seen) run without
  // allocating. The limiter's coefficients depend on the rate, so the release
  // is set again for it (the tempo is unchanged).
  SizeWorkingBuffers(std::max(GetBlockSize(), mLastBlockSize));
  UpdateLimiterRelease();

  // Greyed while the arrangement has one input channel.
  GreyStereoOnlyControls(ArrangedInputChannels() < 2);
}

void VelmarStratum::GreyStereoOnlyControls(bool mono) {
  if (!mGraphics || mStereoControlsGreyed == (mono ? 1 : 0)) return;
  mStereoControlsGreyed = mono ? 1 : 0;
  for (int p : {kPan, kStereoWidth, kPhaseRevR, kChannelSelector}) {
    mGraphics->GreyOutParam(p, mono);
  }
}

void VelmarStratum::SizeWorkingBuffers(int frames) {
  const size_t n = static_cast<size_t>(std::max(frames, 1));
  for (std::vector<double>* buffer : {&mInL, &mInR, &mL, &mR, &mMid, &mSide}) {
    if (buffer->size() < n) {
      buffer->assign(n, 0.0);
    }
  }
}

void VelmarStratum::UpdateBlockCoefficients(int frames, bool restartSmoothers) {
  const int blocksPerSecond = mSampleRate / frames;
  const double coefficient = std::exp(-1.0 / (static_cast<double>(blocksPerSecond) * 0.005));
  for (ParamSmoother& smoother : mSmoothers) {
    if (restartSmoothers) {
      smoother.Restart(coefficient);
    } else {
      smoother.SetCoefficient(coefficient);
    }
  }
  mMeter.SetBlockSize(mSampleRate, frames);
  mLastBlockSize = frames;
  mBlockCoefficientsRate = mSampleRate;
}

void VelmarStratum::ProcessAudio(double** inputs, double** outputs, int frames) {
  platform::LockGuard lock(GetLock());
  ScopedDenormalFlush flushDenormals;

  if (mFirstBlock && GetHostFormat() == HostFormatAax) {
    ResetProcessing();
    mFirstBlock = false;
  }
  if (mGroupLink) {
    mGroupLink->ApplyShared();
  }
  GetTransportInfo(&mTransport);
  if (mTransport.running && !mTransportWasRunning) {
    mTransportWasRunning = true;
  } else if (!mTransport.running && mTransportWasRunning) {
    // A stopped transport ends auto gain. The host is told as well, so that
    // its view of the parameter (and a state it saves) does not keep "on".
    mTransportWasRunning = false;
    IFxParam* autoGainSwitch = GetParam(kAutoGainOnOff);
    const bool wasOn = autoGainSwitch->Value() != 0.0;
    autoGainSwitch->SetValueClamped(0.0);
    ParamChanged(kAutoGainOnOff, SourceInternal);
    if (wasOn) {
      InformHostOfParamChange(kAutoGainOnOff, autoGainSwitch->ValueToNormalized(0.0));
    }
    if (mGraphics) {
      mGraphics->PushParamToControls(kAutoGainOnOff, 0.0, false);
    }
  }
  if (frames < 1) {
    return;
  }
  const int n = frames;
  // The per-block coefficients count blocks per second, so they follow the
  // rate as well as the block size. Only a new block size restarts the
  // smoothers; a new rate keeps their values.
  if (n != mLastBlockSize) {
    UpdateBlockCoefficients(n, true);
  } else if (mSampleRate != mBlockCoefficientsRate) {
    UpdateBlockCoefficients(n, false);
  }
  if (mInL.size() < static_cast<size_t>(n)) {
    // The host sent more frames than it announced. Growing here allocates
    // on the audio thread, but only once per such size.
    SizeWorkingBuffers(n);
  }
  const double tempo = GetTempoBpm();
  // (A host that reports no number as its tempo counts as unchanged.)
  if (tempo != mLastTempo && !(std::isnan(tempo) && std::isnan(mLastTempo))) {
    mLastTempo = tempo;
    ParamChanged(kLimiterReleaseSync, SourceInternal);
  }

  // The host's input buffers are never written: when DC block or mute change
  // the inputs, they work on copies. With one input channel both sides read
  // the same buffer.
  const bool stereoInput = IsInputConnected(1);
  // The stereo controls follow the host's arrangement where the adapter
  // states one (a block whose second buffer is missing is no mono track),
  // else what the block connects.
  GreyStereoOnlyControls(ArrangedInputChannels() < 2);
  const size_t bytes = sizeof(double) * static_cast<size_t>(n);
  const double* inL = inputs[0];
  const double* inR = stereoInput ? inputs[1] : inL;
  const bool dcBlock = IsOn(kDcBlock);
  const bool mute = IsOn(kMute);
  if (dcBlock || mute) {
    double* copyL = mInL.data();
    double* copyR = stereoInput ? mInR.data() : copyL;
    std::memcpy(copyL, inL, bytes);
    if (stereoInput) {
      std::memcpy(copyR, inR, bytes);
    }
    if (dcBlock) {
      DCBlocker::ProcessPair(mDcBlockers[0], copyL, mDcBlockers[1], copyR, n);
    }
    if (mute) {
      std::memset(copyL, 0, bytes);
      std::memset(copyR, 0, bytes);
    }
    inL = copyL;
    inR = copyR;
  }

  double* L = mL.data();
  double* R = mR.data();
  const double* sourceL = inL;
  const double* sourceR = inR;
  switch (static_cast<int>(Value(kChannelSelector))) {
    case 1: sourceR = inL; break;
    case 2: sourceL = inR; break;
    case 3: sourceL = inR; sourceR = inL; break;
    default: break;
  }
  std::memcpy(L, sourceL, bytes);
  std::memcpy(R, sourceR, bytes);

  if (IsOn(kPhaseRevL)) {
    for (int i = 0; i < n; ++i) L[i] *= -1.0;
  }
  if (IsOn(kPhaseRevR)) {
    for (int i = 0; i < n; ++i) R[i] *= -1.0;
  }

  if (mAutoGainEnabled) {
    ApplyAutoGain(n);
  }
  ApplyGainAndPan(n);
  ApplyStereoWidth(std::memcmp(inL, inR, bytes) == 0, n);
  ApplyClipAndLimit(n);

  mMeter.Measure(L, R, n);
  std::memcpy(outputs[0], L, bytes);
  std::memcpy(outputs[1], R, bytes);
  UpdateMeterDisplay();
}

void VelmarStratum::ApplyAutoGain(int n) {
  IFxParam* gain = GetParam(kGainLevel);
  if (gain->Value() == 0.0) {
    // A gain of exactly 0 dB means nothing was measured since switching on.
    for (AutoGainMeter& meter : mAutoGainMeters) {
      meter.Clear();
    }
  }
  double gainL = 0.0, gainR = 0.0;
  AutoGainMeter::MeasurePair(mAutoGainMeters[0], mL.data(), mAutoGainMeters[1], mR.data(), n,
                             &gainL, &gainR);
  const double g = gainL <= gainR ? gainL : gainR;  // the louder channel decides
  const double db = LinearToDb(std::fabs(g));
  // Written straight to the parameter: not quantised, not published, the
  // host not told.
  gain->SetValueClamped(db);
  mSmoothers[kGainLevel].SetTarget(gain->Value());
  if (mGraphics) {
    mGraphics->PushParamToControls(kGainLevel, db, false);
  }
}

void VelmarStratum::ApplyGainAndPan(int n) {
  double* L = mL.data();
  double* R = mR.data();
  const double factor = DbToLinear(mSmoothers[kGainLevel].Step());
  for (int i = 0; i < n; ++i) {
    L[i] *= factor;
    R[i] *= factor;
  }

  const double p = mSmoothers[kPan].Step() / 100.0;
  if (p != 0.0) {
    const double factorL = p > 0.0 ? 1.0 - p : 1.0 + std::fabs(p);
    const double factorR = p > 0.0 ? 1.0 + p : 1.0 - std::fabs(p);
    for (int i = 0; i < n; ++i) {
      L[i] *= factorL;
      R[i] *= factorR;
    }
  }
}

void VelmarStratum::ApplyStereoWidth(bool inputsIdentical, int n) {
  double* L = mL.data();
  double* R = mR.data();
  ParamSmoother& width = mSmoothers[kStereoWidth];
  if (!inputsIdentical) {
    double* M = mMid.data();
    double* S = mSide.data();
    for (int i = 0; i < n; ++i) {
      M[i] = (L[i] + R[i]) * 0.5;
      S[i] = (L[i] - R[i]) * 0.5;
    }
    const double W = width.Step();
    if (W > 100.0) {
      const double midFactor = 100.0 / W;
      const double sideFactor = W / 100.0;
      for (int i = 0; i < n; ++i) {
        M[i] *= midFactor;
        S[i] *= sideFactor;
      }
    } else {
      const double sideFactor = W / 100.0;
      for (int i = 0; i < n; ++i) S[i] *= sideFactor;
    }
    for (int i = 0; i < n; ++i) {
      L[i] = M[i] + S[i];
      R[i] = M[i] - S[i];
    }
    return;
  }

  // Identical inputs: widen by delaying the left channel.
  const double W = width.Step();
  if (W <= 100.0) {
    return;
  }
  if (!width.AtTarget()) {
    const double next = width.Step();
    mWidener.SetDelayMs(static_cast<int>((next - 100.0) * 10.0 / 100.0));
  }
  mWidener.Process(L, n);
}

void VelmarStratum::ApplyClipAndLimit(int n) {
  double* L = mL.data();
  double* R = mR.data();
  if (IsOn(kClip)) {
    for (int i = 0; i < n; ++i) {
      if (L[i] > 1.0) L[i] = 1.0;
      if (L[i] < -1.0) L[i] = -1.0;
      if (R[i] > 1.0) R[i] = 1.0;
      if (R[i] < -1.0) R[i] = -1.0;
    }
  }
  if (IsOn(kLimit)) {
    PeakLimiter::ProcessPair(mLimiters[0], L, mLimiters[1], R, n);
  }
}

void VelmarStratum::UpdateMeterDisplay() {
  mMeter.AdvanceHoldPeriod();
  if (mPeakReadOut && mPeakReadOut->TakeClicked()) {
    mMeter.ResetPeakHolds();
  }
  if (mRmsReadOut && mRmsReadOut->TakeClicked()) {
    mMeter.ResetRmsHolds();
  }
  mMeter.UpdateHolds();
  // While no editor is shown nobody sees the controls: no texts are
  // formatted and nothing is marked. Opening the editor shows the current
  // state at once (EditorOpened).
  if (mEditorShown) {
    ShowMeterDisplay();
  }
}

void VelmarStratum::ShowMeterDisplay() {
  if (!mGraphics) {
    return;
  }
  mMeter.FillDisplay(mDisplay);
  if (mPeakReadOut && mDisplay.peakTextChanged) mPeakReadOut->ShowText(mDisplay.peakText);
  if (mRmsReadOut && mDisplay.rmsTextChanged) mRmsReadOut->ShowText(mDisplay.rmsText);
  for (int i = 0; i < 8; ++i) {
    if (IControl* control = mGraphics->GetControl(mMeterControls[i])) {
      control->TakeParamValue(mDisplay.meterValues[i]);
    }
  }
  mGraphics->MarkAllControlsDirty();
}

void VelmarStratum::EditorOpened() {
  platform::LockGuard lock(GetLock());
  mEditorShown = true;
  ShowMeterDisplay();
}

void VelmarStratum::EditorClosed() {
  platform::LockGuard lock(GetLock());
  mEditorShown = false;
}
