#pragma once

// The effect derives from the host adapter its build chose; the build names
// the adapter's header and class (see stratum_add_effect in CMakeLists.txt).
#include STRATUM_ADAPTER_HEADER

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/ParamChangeSource.h"
#include "core/StateChunk.h"
#include "core/TransportInfo.h"
#include "effect/ParamIds.h"
#include "effect/dsp/AutoGainMeter.h"
#include "effect/dsp/DCBlocker.h"
#include "effect/dsp/MonoWidener.h"
#include "effect/dsp/OutputMeter.h"
#include "effect/dsp/ParamSmoother.h"
#include "effect/dsp/PeakLimiter.h"

class GroupLink;
class IGraphics;
class IReadOutControl;

// The channel-strip effect: one object per inserted instance. It owns its
// signal chain, metering, editor and group link; the adapter and base below
// it talk to the host.
//
// Threads: every override runs under the instance lock (the adapters hold it
// around processing and host calls; the overrides take it again, it is
// recursive). ProcessAudio never allocates: working buffers are sized by
// ResetProcessing.
class VelmarStratum : public STRATUM_ADAPTER_CLASS {
 public:
  // Identity handed to the adapter and base: effect/EffectIdentity.h.
  static constexpr int kEditorWidth = 410;
  static constexpr int kEditorHeight = 522;
  // Release times are computed from this tempo while the host reports none
  // (a tempo of 0, negative or not a number).
  static constexpr double kFallbackTempoBpm = 120.0;

  VelmarStratum();
  ~VelmarStratum() override;

  // --- IFxBase overrides.
  void ResetProcessing() override;
  void ParamChanged(int paramIdx, ParamChangeSource source) override;
  void ProcessAudio(double** inputs, double** outputs, int frames) override;
  // The host shows or hides the editor: meters and read-outs are brought up
  // to date only while it is shown.
  void EditorOpened() override;
  void EditorClosed() override;
  bool SaveState(StateChunk& chunk) override;
  int LoadState(const StateChunk& chunk, int position) override;
  // The effect's own loader: parameters whose group switch is off, and the
  // group selector, keep their values.
  int UnserializeParams(const StateChunk& chunk, int position) override;

  // --- Inspection, for tools and tests.
  IGraphics* Graphics() const { return mGraphics; }
  GroupLink* GetGroupLink() const { return mGroupLink.get(); }
  int IntegerSampleRate() const { return mSampleRate; }
  int LastBlockSize() const { return mLastBlockSize; }
  double LastTempo() const { return mLastTempo; }
  bool AutoGainEnabled() const { return mAutoGainEnabled; }
  uint32_t StateWord() const { return mStateWord; }
  const std::array<bool, kNumParams>& LinkMask() const { return mLinkMask; }
  const ParamSmoother& Smoother(int paramIdx) const { return mSmoothers[paramIdx]; }
  const PeakLimiter& Limiter(int channel) const { return mLimiters[channel]; }
  const AutoGainMeter& AutoGain(int channel) const { return mAutoGainMeters[channel]; }
  const DCBlocker& DcBlocker(int channel) const { return mDcBlockers[channel]; }
  const MonoWidener& Widener() const { return mWidener; }
  const OutputMeter& Meter() const { return mMeter; }
  int MeterControlIndex(int i) const { return mMeterControls[i]; }
  IReadOutControl* PeakReadOut() const { return mPeakReadOut; }
  IReadOutControl* RmsReadOut() const { return mRmsReadOut; }
  bool EditorShown() const { return mEditorShown; }
  // Set only in the format whose host needs a reset before the first block.
  bool FirstBlockResetPending() const { return mFirstBlock; }

  // Release time in ms for a tempo and a "Limiter release sync" value.
  static int ReleaseTimeMs(double tempoBpm, int releaseSync);

 private:
  void BuildEditor();
  bool IsOn(int paramIdx) const;
  double Value(int paramIdx) const;

  // ParamChanged actions.
  void AutoGainSwitched(bool on, ParamChangeSource source);
  void TurnGroupGainOff();
  void UpdateLimiterRelease();
  // Sets the output meter's and the auto-gain meters' RMS windows from "RMS wind. size".
  void UpdateRmsWindows();
  void UpdateLinkMask();

  // Working buffers for blocks of up to frames samples; allocates.
  void SizeWorkingBuffers(int frames);
  // Smoother and meter coefficients for blocks of frames at the current rate;
  // the smoothers start again from 0 only when asked (a new block size).
  void UpdateBlockCoefficients(int frames, bool restartSmoothers);
  // The chain's steps, on n samples of the working buffers.
  void ApplyAutoGain(int n);
  void ApplyGainAndPan(int n);
  void ApplyStereoWidth(bool inputsIdentical, int n);
  void ApplyClipAndLimit(int n);
  void UpdateMeterDisplay();
  // Greys the controls that only act on a stereo input while the input is
  // mono; only writes control flags when that changes.
  void GreyStereoOnlyControls(bool mono);
  // Meter controls and read-out texts from the meter's current state.
  void ShowMeterDisplay();

  int mSampleRate = 0;
  int mLastBlockSize = 0;
  int mBlockCoefficientsRate = 0;  // the rate the per-block coefficients are for
  double mLastTempo = 0.0;
  bool mFirstBlock = true;
  DCBlocker mDcBlockers[2];
  PeakLimiter mLimiters[2];
  ParamSmoother mSmoothers[kNumParams];
  AutoGainMeter mAutoGainMeters[2];
  bool mAutoGainEnabled = false;
  MonoWidener mWidener;
  OutputMeter mMeter;
  MeterDisplay mDisplay{};
  bool mEditorShown = false;  // between EditorOpened and EditorClosed
  int mMeterControls[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
  IReadOutControl* mPeakReadOut = nullptr;
  IReadOutControl* mRmsReadOut = nullptr;
  TransportInfo mTransport;
  bool mTransportWasRunning = false;
  int mStereoControlsGreyed = -1;  // 1 greyed, 0 not, -1 not set yet
  uint32_t mStateWord = 0;
  bool mRestoringState = false;  // inside LoadState
  std::array<bool, kNumParams> mLinkMask{};
  IGraphics* mGraphics = nullptr;  // owned by the base once attached
  std::unique_ptr<GroupLink> mGroupLink;

  // Working buffers: copies of the two inputs (the host's buffers are never
  // written), the left and right chain buffers and mid and side.
  std::vector<double> mInL, mInR, mL, mR, mMid, mSide;
};
