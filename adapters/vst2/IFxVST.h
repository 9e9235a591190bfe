#pragma once

#include <cstdint>

#include "adapters/vst2/Vst2IdleRunLoop.h"
#include "adapters/vst2/Vst2Interface.h"
#include "core/IFxBase.h"
#include "core/StateChunk.h"

// The VST2 adapter: one object is the effect, this adapter and the plug-in
// base. It owns the AEffect record the host holds, turns every host call
// into base operations (parameters, presets, state chunks, processing,
// editor) and realises the base's host-facing operations through the host
// callback.
//
// Every entry the host calls through the record holds the instance lock for
// its whole duration (effEditIdle and effIdle excepted, which take none);
// effClose releases it before deleting the instance. No exception leaves an
// entry: a failure answers 0.
class IFxVST : public IFxBase {
 public:
  // Capability texts by which one well-known host announces its extension
  // interface and its "view as configuration" feature; effCanDo records them
  // in the host extension bits.
  static constexpr const char* kHostExtensionsCanDo = "hasCockosExtensions";
  static constexpr const char* kHostViewAsConfigCanDo = "hasCockosViewAsConfig";
  // Largest block size and state chunk a host may hand in; larger ones are
  // refused before anything is allocated.
  static constexpr int kMaxBlockSize = 1 << 20;
  static constexpr int kMaxChunkBytes = 16 << 20;

  IFxVST(int numParams, const char* channelIO, int numPresets, const char* effectName,
         const char* productName, const char* makerName, int version, uint32_t uniqueCode,
         uint32_t makerCode, int latency, bool doesMidi, bool doesChunks, bool isInstrument,
         int sideChainChannels);
  ~IFxVST() override;

  // The module entry hands over the host's callback right after creation,
  // before the record reaches the host (null: a host that offers none).
  void SetHostCallback(audioMasterCallback callback) { mHostCallback = callback; }
  // The record whose address the host receives.
  AEffect* GetAEffect() { return &mRecord.effect; }
  // Bit 0: the host asked for the extension capability; bit 1: for "view as
  // configuration".
  int HostExtensionBits() const { return mHostExtensionBits; }

  // --- Base operations realised for VST2 -----------------------------------
  void BeginInformHostOfParamChange(int paramIdx) override;
  void InformHostOfParamChange(int paramIdx, double normalized) override;
  void EndInformHostOfParamChange(int paramIdx) override;
  void InformHostOfPresetChange() override;
  bool IsOfflineRender() override;
  int64_t GetSamplePosition() override;
  double GetTempoBpm() override;
  void GetTimeSignature(int* numerator, int* denominator) override;
  void GetTransportInfo(TransportInfo* info) override;
  int GetHostId() override;
  void InitForHost() override;
  void AttachEditor(IFxEditorLink* editor) override;
  void ResizeEditorWindow(int width, int height) override;
  void ChangeLatency(int samples) override;
  bool SendMidiMessage(const MidiMessage& message) override;
  bool SendSysExMessage(const SysExMessage& message) override;

 private:
  // The record's entries.
  static VstIntPtr VSTDispatcher(AEffect* effect, int opcode, int index, VstIntPtr value,
                                 void* ptr, float opt);
  static void VSTSetParameter(AEffect* effect, int index, float value);
  static float VSTGetParameter(AEffect* effect, int index);
  static void VSTProcess(AEffect* effect, float** inputs, float** outputs, int frames);
  static void VSTProcessReplacing(AEffect* effect, float** inputs, float** outputs, int frames);
  static void VSTProcessDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                        int frames);
  // The instance behind a record, or null when the record holds none.
  static IFxVST* FromRecord(AEffect* effect);

  // The dispatcher's opcodes, called with the instance lock held
  // (IFxVSTDispatcher.cpp).
  VstIntPtr Dispatch(int opcode, int index, VstIntPtr value, void* ptr, float opt);
  VstIntPtr GetChunk(int index, void* ptr);
  VstIntPtr SetChunk(int index, VstIntPtr size, const void* data);
  VstIntPtr ProcessEvents(const VstEvents* events);
  VstIntPtr String2Parameter(int index, const char* text);
  VstIntPtr VendorSpecific(int index, VstIntPtr value, void* ptr, float opt);
  VstIntPtr CanDo(const char* text);
  VstIntPtr GetPinProperties(bool input, int index, void* ptr);
  VstIntPtr SetSpeakerArrangement(VstIntPtr inputs, void* outputs);
  VstIntPtr EditOpen(void* parent);
  VstIntPtr EditClose();

  // Processing entries' common part (IFxVSTProcess.cpp): true when the host's
  // pointers can be attached and processing may run.
  template <typename Sample>
  bool HostBuffersUsable(Sample* const* inputs, Sample* const* outputs, int frames) const;
  bool AttachHostBuffers(float** inputs, float** outputs, int frames);
  bool AttachHostBuffers(double** inputs, double** outputs, int frames);
  void SetHostParameter(int index, float value);
  float GetHostParameter(int index);

  VstIntPtr CallHost(int opcode, int index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  // The host's time record for the given request flags, or null.
  const VstTimeInfo* HostTimeInfo(VstIntPtr requestFlags);
  // A valid effect parameter index.
  bool IsParamIndex(int index) const { return index >= 0 && index < NumParams(); }
  void SetEditRectFromEditor();
  static void FillArrangement(vst2::SpeakerArrangement& arrangement, int channels);

  audioMasterCallback mHostCallback = nullptr;
  bool mHostSpecificInitDone = false;
  int mHostExtensionBits = 0;
  StateChunk mProgramChunk;
  StateChunk mBankChunk;
  vst2::EffectRecord mRecord;
  ERect mEditRect = {0, 0, 0, 0};
  vst2::SpeakerArrangement mInputArrangement;
  vst2::SpeakerArrangement mOutputArrangement;
  // Drives the editor window's timer and input from the host's idle calls.
  Vst2IdleRunLoop mIdleRunLoop;
};
