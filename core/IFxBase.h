#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/BypassDelayLine.h"
#include "core/ChannelIOPair.h"
#include "core/HostFormat.h"
#include "core/HostTable.h"
#include "core/IFxEditorLink.h"
#include "core/IFxParam.h"
#include "core/MidiMessage.h"
#include "core/ParamChangeSource.h"
#include "core/PresetSlot.h"
#include "core/StateChunk.h"
#include "core/TransportInfo.h"
#include "platform/RecursiveLock.h"

// The host-neutral plug-in object. The effect derives from one host adapter,
// and every adapter derives from IFxBase, so one object is the effect, the
// adapter and the base. The base owns the parameters, presets, channel I/O
// description and channel buffers, the instance lock and the attached editor.
//
// Threads: the host's audio thread runs the Attach*/Run* entries and
// ProcessAudio; the editor's thread runs SetParameterFromGUI; both meet only
// under the instance lock, which adapters hold around every processing, state,
// preset and host parameter call. The lock is recursive.
class IFxBase {
 public:
  // The plug-in's name texts are fixed 128-byte buffers (127 characters).
  static constexpr int kNameSize = 128;
  // Framework chunk header written at the front of VST2 chunks.
  static constexpr uint32_t kChunkMagic = 0x70666674;
  static constexpr int32_t kFrameworkVersion = 0x00010000;

  // channelIO lists the supported channel pairs, such as "1-1 2-2"; a
  // malformed description is a programming error and stops the process at
  // the assertion "channelIOStrValid".
  IFxBase(int numParams, const char* channelIO, int numPresets, const char* effectName,
          const char* productName, const char* makerName, int version, uint32_t uniqueCode,
          uint32_t makerCode, int latency, bool doesMidi, bool doesChunks, bool isInstrument,
          HostFormat hostFormat);
  IFxBase(const IFxBase&) = delete;
  IFxBase& operator=(const IFxBase&) = delete;

  // --- Virtual operations, in slot order. -------------------------------

  // 0: deletes the attached editor first (it refers to the parameters).
  virtual ~IFxBase();
  // 1: sample rate or block size changed, or activation. Base: lock only.
  virtual void ResetProcessing();
  // 2: a parameter's value changed. Base: lock only.
  virtual void ParamChanged(int paramIdx, ParamChangeSource source);
  // 3: base: copies input i to output i while i is below the input count and
  // fills the other outputs with zeros.
  virtual void ProcessAudio(double** inputs, double** outputs, int frames);
  virtual void EditorOpened() {}                 // 4
  virtual void EditorClosed() {}                 // 5
  virtual void IdleNotice() {}                   // 6
  virtual void ActivationChanged(bool active);   // 7: base: lock only
  virtual void HandleMidiMessage(const MidiMessage& message);  // 8: base: SendMidiMessage
  virtual void HandleSysEx(const SysExMessage& /*message*/) {}  // 9
  // 10: base writes the empty text and answers false.
  virtual bool GetMidiNoteText(int note, char* text, size_t textSize);
  // 11/12: base: SerializeParams / UnserializeParams.
  virtual bool SaveState(StateChunk& chunk);
  virtual int LoadState(const StateChunk& chunk, int position);
  // 13: the bytes hold doubles from startIndex doubles in; true when every
  // parameter's value equals its stored double to within 0.00001 in single
  // precision. False when the data is too short to hold every parameter.
  virtual bool StateMatches(const uint8_t* data, int dataSize, int startIndex);
  virtual void EditorResized() {}                // 14
  virtual bool SpareQuery() { return false; }    // 15
  virtual void HostIdentified() {}               // 16
  virtual void ShowHostContextMenu(int /*paramIdx*/, int /*x*/, int /*y*/) {}  // 17
  // 18: under the lock: SetFromNormalized, InformHostOfParamChange with the
  // value as received, ParamChanged (SourceEditor).
  virtual void SetParameterFromGUI(int paramIdx, double normalized);
  virtual void BeginInformHostOfParamChange(int paramIdx) = 0;                   // 19
  virtual void InformHostOfParamChange(int paramIdx, double normalized) = 0;     // 20
  virtual void EndInformHostOfParamChange(int paramIdx) = 0;                     // 21
  virtual void InformHostOfPresetChange() = 0;                                   // 22
  virtual bool IsOfflineRender() { return false; }                               // 23
  virtual int64_t GetSamplePosition() = 0;                                       // 24
  virtual double GetTempoBpm() = 0;                                              // 25
  virtual void GetTimeSignature(int* numerator, int* denominator) = 0;           // 26
  virtual void GetTransportInfo(TransportInfo* info) = 0;                        // 27
  virtual int GetHostId() { return mHostId; }                                    // 28
  virtual HostFormat GetHostFormat() { return mHostFormat; }                     // 29
  virtual void ResizeEditorWindow(int width, int height) = 0;                    // 30
  virtual void InitForHost() {}                                                  // 31
  // 32: under the lock, pushes every parameter's normalised value into the
  // editor's controls, lets it prepare its back buffer, then owns it.
  virtual void AttachEditor(IFxEditorLink* editor);
  // 33: latency = samples; a delay line takes the new delay and is cleared.
  virtual void ChangeLatency(int samples);
  virtual bool SendMidiMessage(const MidiMessage& message) = 0;                  // 34
  virtual bool SendSysExMessage(const SysExMessage& /*message*/) { return false; }  // 35
  // 36: appends one double per parameter; true when the chunk is not empty.
  virtual bool SerializeParams(StateChunk& chunk);
  // 37: reads one double per parameter from position, clamped to each range;
  // the parameter where the data ends takes 0 (clamped) and the position
  // becomes -1; then ParamChanged (SourceRecall) for every parameter.
  virtual int UnserializeParams(const StateChunk& chunk, int position);
  // 38: with an editor, pushes every parameter's plain value to its controls.
  virtual void RefreshParamControls();
  virtual void MarkStateDirty() {}               // 39
  virtual void HostChangedPresets() {}           // 40
  // 41: resizes and zeroes every channel buffer unless the size is unchanged.
  virtual void ChangeBlockSize(int frames);

  // --- Instance lock. ----------------------------------------------------
  void Lock() { mLock.Lock(); }
  void Unlock() { mLock.Unlock(); }
  platform::RecursiveLock& GetLock() { return mLock; }

  // --- Parameters. -------------------------------------------------------
  int NumParams() const { return static_cast<int>(mParams.size()); }
  // Null for an index out of range.
  IFxParam* GetParam(int paramIdx);
  const IFxParam* GetParam(int paramIdx) const;
  // ParamChanged (i, source) for every parameter in index order.
  void NotifyAllParams(ParamChangeSource source);

  // --- Identity and host. -------------------------------------------------
  const char* GetEffectName() const { return mEffectName; }
  const char* GetProductName() const { return mProductName; }
  const char* GetMakerName() const { return mMakerName; }
  uint32_t GetUniqueCode() const { return mUniqueCode; }
  uint32_t GetMakerCode() const { return mMakerCode; }
  // The packed version, or with decimal major * 10000 + minor * 100 + patch.
  int EffectVersion(bool decimal) const;
  // Looks the name up in the host table and stores the id and version.
  void SetHost(const char* hostName, int hostVersion);
  int GetHostVersion() const { return mHostVersion; }
  bool DoesMidi() const { return mDoesMidi; }
  bool DoesStateChunks() const { return mDoesStateChunks; }
  bool IsInstrument() const { return mIsInstrument; }

  // --- Channels. -----------------------------------------------------------
  int NumChannelIOPairs() const { return static_cast<int>(mChannelIOPairs.size()); }
  const ChannelIOPair& GetChannelIOPair(int index) const { return mChannelIOPairs[index]; }
  // True when some pair matches; -1 on either side matches any count.
  bool LegalIO(int numInputs, int numOutputs) const;
  // Inputs from 2 up are disconnected; with more than two outputs, outputs
  // from 2 up are connected.
  void RestrictToStereo();
  int NumInputChannels() const { return static_cast<int>(mInputChannels.size()); }
  int NumOutputChannels() const { return static_cast<int>(mOutputChannels.size()); }
  bool IsInputConnected(int channel) const;
  bool IsOutputConnected(int channel) const;
  // Channel indices first .. min(first + count, channel count) - 1. A channel
  // that becomes not connected reads (or writes) its own buffer.
  void ConnectInputs(int first, int count, bool connected);
  void ConnectOutputs(int first, int count, bool connected);
  // Each connected input in the range takes the next host pointer in turn;
  // not-connected channels consume none.
  void AttachInputs(int first, int count, double* const* hostBuffers);
  // Each connected input in the range converts the next host buffer (frames
  // samples) into its own double buffer.
  void AttachInputs(int first, int count, const float* const* hostBuffers, int frames);
  // Each connected output in the range writes straight into the next host buffer.
  void AttachOutputs(int first, int count, double* const* hostBuffers);
  // Each connected output in the range writes into its own buffer, converted
  // into the next host buffer after processing.
  void AttachOutputs(int first, int count, float* const* hostBuffers);
  // ProcessAudio over the attached buffers; the float forms then convert the
  // connected outputs into their host buffers (Adding: added to their contents).
  void RunProcessingDouble(int frames);
  void RunProcessingFloat(int frames);
  void RunProcessingAdding(int frames);
  // With a latency and a delay line, the delay line's output; otherwise the
  // base's own pass-through (never the effect's processing).
  void RunBypassDouble(int frames);
  void RunBypassFloat(int frames);
  // A block without frames: ProcessAudio with 0 frames, so the effect's
  // per-block housekeeping runs; no buffer is touched.
  void RunEmptyBlock();
  // Zeroes the first frames samples of every input channel that is not
  // connected, so that it reads silence rather than an earlier block.
  void SilenceUnconnectedInputs(int frames);
  // The input channels the host's current bus arrangement carries, as an
  // adapter whose host states arrangements sets it; until one does, the
  // number of connected inputs. Unlike the connections, which follow the
  // buffers of single blocks, it changes only with the arrangement.
  int ArrangedInputChannels() const;
  void SetArrangedInputChannels(int channels) { mArrangedInputs = channels; }
  // Zeroes every channel buffer.
  void ClearChannelBuffers();
  const char* GetInputLabel(int channel) const;
  const char* GetOutputLabel(int channel) const;
  void SetInputLabel(int channel, const char* label);
  void SetOutputLabel(int channel, const char* label);

  // Bus names. Inputs: only indices 0 and 1. Setting an index beyond the
  // current list fills the gap with empty names.
  void SetInputBusName(int index, const char* name);
  void SetOutputBusName(int index, const char* name);
  int NumInputBusNames() const { return static_cast<int>(mInputBusNames.size()); }
  int NumOutputBusNames() const { return static_cast<int>(mOutputBusNames.size()); }
  // Null when no name is set at that index.
  const char* GetInputBusName(int index) const;
  const char* GetOutputBusName(int index) const;

  // --- Timing, latency, bypass. ---------------------------------------------
  double GetSampleRate() const { return mSampleRate; }
  // Adapters follow it with ResetProcessing.
  void ChangeSampleRate(double sampleRate) { mSampleRate = sampleRate; }
  int GetBlockSize() const { return mBlockSize; }
  int GetLatency() const { return mLatency; }
  int GetTailSize() const { return mTailSize; }
  bool IsBypassed() const { return mBypassed; }
  void SetBypassed(bool bypassed) { mBypassed = bypassed; }
  // Creates (or recreates) the bypass delay line for the channel counts, with
  // the current latency as its delay.
  void CreateBypassDelayLine();
  BypassDelayLine* GetBypassDelayLine() { return mDelayLine.get(); }

  // --- Editor. ---------------------------------------------------------------
  IFxEditorLink* GetEditor() { return mEditor.get(); }

  // --- Presets. --------------------------------------------------------------
  int NumPresets() const { return static_cast<int>(mPresets.size()); }
  int GetCurrentPresetIndex() const { return mCurrentPreset; }
  // Null for an index out of range.
  const PresetSlot* GetPreset(int index) const;
  // count times: the first free preset takes the name ("Empty" when none is
  // given) and the current state.
  void CreateDefaultPresets(const char* name, int count);
  // Restores an initialised preset or captures the current state into a free
  // one (named "user preset N"); on success the preset becomes current, the
  // host is told and the editor refreshed. Answers whether that happened.
  bool SelectPreset(int index);
  // The preset's name, or "" for an index out of range.
  const char* PresetName(int index) const;
  // Re-saves the current state into the current preset and, when name is
  // given and not empty, renames it.
  void ModifyCurrentPreset(const char* name);
  // Appends every preset: name (length-prefixed), initialised byte, state.
  bool SerializePresets(StateChunk& chunk);
  // Reads a bank written by SerializePresets; answers the final position.
  int UnserializePresets(const StateChunk& chunk, int position);
  // CreateDefaultPresets ("Empty", number of presets).
  void FillEmptyPresets();
  // Empties the chunk and writes the magic and the framework version.
  void WriteChunkHeader(StateChunk& chunk);
  // The framework version when the magic and version are at position (which
  // moves past them), else 0: position unchanged without the magic, -1 when
  // the version is missing after it.
  int ReadChunkHeader(const StateChunk& chunk, int& position);

 private:
  struct InputChannel {
    bool connected = false;
    std::vector<double> buffer;
    std::string label;
  };
  struct OutputChannel {
    bool connected = false;
    float* floatDestination = nullptr;
    std::vector<double> buffer;
    std::string label;
  };

  void ParseChannelIO(const char* channelIO);
  // Grows every channel buffer to at least frames samples (keeping their
  // contents) and re-points the slots that used them; protects against
  // hosts that send more frames than the block size they announced.
  void EnsureBufferCapacity(int frames);
  // Converts the connected outputs' buffers into their float destinations.
  void ConvertOutputsToFloat(int frames, bool adding);

  std::vector<ChannelIOPair> mChannelIOPairs;
  platform::RecursiveLock mLock;
  char mEffectName[kNameSize] = {};
  char mProductName[kNameSize] = {};
  char mMakerName[kNameSize] = {};
  uint32_t mUniqueCode = 0;
  uint32_t mMakerCode = 0;
  int mVersion = 0;
  HostFormat mHostFormat = HostFormatVst2;
  int mHostId = HostNotIdentified;
  int mHostVersion = 0;
  bool mDoesStateChunks = false;
  bool mIsInstrument = false;
  bool mDoesMidi = false;
  bool mBypassed = false;
  int mCurrentPreset = 0;
  double mSampleRate = 44100.0;
  int mBlockSize = 0;
  int mLatency = 0;
  int mTailSize = 0;
  int mArrangedInputs = -1;  // -1: not stated by the adapter
  std::unique_ptr<BypassDelayLine> mDelayLine;
  std::unique_ptr<IFxEditorLink> mEditor;
  std::vector<std::unique_ptr<IFxParam>> mParams;
  std::vector<std::unique_ptr<PresetSlot>> mPresets;
  // Channel i reads mInputPointers[i] and writes mOutputPointers[i].
  std::vector<double*> mInputPointers;
  std::vector<double*> mOutputPointers;
  std::vector<InputChannel> mInputChannels;
  std::vector<OutputChannel> mOutputChannels;
  std::vector<std::string> mInputBusNames;
  std::vector<std::string> mOutputBusNames;
};
