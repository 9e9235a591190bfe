#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "adapters/vst3/SingleComponentEffect.h"
#include "core/IFxBase.h"
#include "pluginterfaces/vst/ivstmidicontrollers.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/ivstunits.h"

class IFxVST3View;

// The VST3 adapter: one object is the effect, this adapter, the plug-in base
// and the VST3 component (processor and controller in one). It maps host
// parameter IDs, state streams, bus arrangements, processing calls and the
// view protocol onto the base, and tells the host about parameter changes.
//
// Host parameter IDs: the effect's parameters use their index; the preset
// (program change) and bypass parameters use the IDs below; with MIDI, the
// 128 controller parameters follow the effect's parameters.
//
// Threads: the VST3 rules allow component-handler calls only from the host's
// user-interface thread. Notices that arise while process() runs (group
// values applied during a block, automatic gain, the transport-stop switch)
// therefore reach the host as output parameter changes of that process call;
// begin/end edits are dropped there and a latency restart waits for the next
// call on another thread.
class IFxVST3 : public IFxBase,
                public SingleComponentEffect,
                public Steinberg::Vst::IMidiMapping {
 public:
  static constexpr Steinberg::Vst::ParamID kPresetParamId = 0x70727374;  // 'prst'
  static constexpr Steinberg::Vst::ParamID kBypassParamId = 0x62706173;  // 'bpas'
  static constexpr int kNumMidiControllers = 128;
  // The processing set-ups accepted. Beyond them the buffers would not be
  // allocatable (a host asking for a rate of 1e9 or blocks of 2^31 - 1
  // frames): 768 kHz is the highest rate in use, and 2^20 frames (about 22 s
  // at 48 kHz, some 80 MB of buffers) covers the longest offline blocks.
  static constexpr double kMinSampleRate = 1000.0;
  static constexpr double kMaxSampleRate = 768000.0;
  static constexpr int kMaxBlockFrames = 1 << 20;

  IFxVST3(int numParams, const char* channelIO, int numPresets, const char* effectName,
          const char* productName, const char* makerName, int version, uint32_t uniqueCode,
          uint32_t makerCode, int latency, bool doesMidi, bool doesChunks, bool isInstrument,
          int sideChainChannels);
  ~IFxVST3() override;

  // The SDK's speaker arrangement for a channel count (empty for unusual counts).
  static Steinberg::Vst::SpeakerArrangement ArrangementForChannels(int channels);

  // --- IPluginBase ---------------------------------------------------------
  Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* context) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API terminate() SMTG_OVERRIDE;

  // --- IComponent ----------------------------------------------------------
  Steinberg::tresult PLUGIN_API setActive(Steinberg::TBool state) SMTG_OVERRIDE;
  // The whole state travels through getState/setState below.
  Steinberg::tresult PLUGIN_API setComponentState(Steinberg::IBStream* state) SMTG_OVERRIDE;

  // --- State stream: the effect's state chunk, then the 4-byte bypass flag.
  Steinberg::tresult PLUGIN_API getState(Steinberg::IBStream* state) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API setState(Steinberg::IBStream* state) SMTG_OVERRIDE;

  // --- IAudioProcessor -----------------------------------------------------
  Steinberg::tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs,
                                                   Steinberg::int32 numIns,
                                                   Steinberg::Vst::SpeakerArrangement* outputs,
                                                   Steinberg::int32 numOuts) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API canProcessSampleSize(Steinberg::int32 symbolicSampleSize)
      SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) SMTG_OVERRIDE;
  Steinberg::uint32 PLUGIN_API getLatencySamples() SMTG_OVERRIDE;
  Steinberg::uint32 PLUGIN_API getTailSamples() SMTG_OVERRIDE;

  // --- IEditController -----------------------------------------------------
  // Every call accepts any value: indices out of range are refused, and
  // normalised values are taken into 0..1 before they reach a parameter.
  Steinberg::tresult PLUGIN_API getParameterInfo(Steinberg::int32 paramIndex,
                                                 Steinberg::Vst::ParameterInfo& info) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getParamValueByString(Steinberg::Vst::ParamID id,
                                                      Steinberg::Vst::TChar* text,
                                                      Steinberg::Vst::ParamValue& normalized)
      SMTG_OVERRIDE;
  Steinberg::Vst::ParamValue PLUGIN_API normalizedParamToPlain(
      Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue normalized) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getParamStringByValue(Steinberg::Vst::ParamID id,
                                                      Steinberg::Vst::ParamValue normalized,
                                                      Steinberg::Vst::String128 text) SMTG_OVERRIDE;
  Steinberg::Vst::ParamValue PLUGIN_API plainParamToNormalized(
      Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue plain) SMTG_OVERRIDE;
  Steinberg::Vst::ParamValue PLUGIN_API getParamNormalized(Steinberg::Vst::ParamID id)
      SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API setParamNormalized(Steinberg::Vst::ParamID id,
                                                   Steinberg::Vst::ParamValue value) SMTG_OVERRIDE;
  Steinberg::IPlugView* PLUGIN_API createView(Steinberg::FIDString name) SMTG_OVERRIDE;

  // --- IMidiMapping --------------------------------------------------------
  Steinberg::tresult PLUGIN_API getMidiControllerAssignment(
      Steinberg::int32 busIndex, Steinberg::int16 channel,
      Steinberg::Vst::CtrlNumber midiControllerNumber,
      Steinberg::Vst::ParamID& id) SMTG_OVERRIDE;

  // --- IUnitInfo -----------------------------------------------------------
  Steinberg::int32 PLUGIN_API getUnitCount() SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getUnitInfo(Steinberg::int32 unitIndex,
                                            Steinberg::Vst::UnitInfo& info) SMTG_OVERRIDE;
  Steinberg::int32 PLUGIN_API getProgramListCount() SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getProgramListInfo(Steinberg::int32 listIndex,
                                                   Steinberg::Vst::ProgramListInfo& info)
      SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getProgramName(Steinberg::Vst::ProgramListID listId,
                                               Steinberg::int32 programIndex,
                                               Steinberg::Vst::String128 name) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getProgramInfo(Steinberg::Vst::ProgramListID listId,
                                               Steinberg::int32 programIndex,
                                               Steinberg::Vst::CString attributeId,
                                               Steinberg::Vst::String128 attributeValue)
      SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API hasProgramPitchNames(Steinberg::Vst::ProgramListID listId,
                                                     Steinberg::int32 programIndex) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getProgramPitchName(Steinberg::Vst::ProgramListID listId,
                                                    Steinberg::int32 programIndex,
                                                    Steinberg::int16 midiPitch,
                                                    Steinberg::Vst::String128 name) SMTG_OVERRIDE;
  Steinberg::Vst::UnitID PLUGIN_API getSelectedUnit() SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API selectUnit(Steinberg::Vst::UnitID unitId) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getUnitByBus(Steinberg::Vst::MediaType type,
                                             Steinberg::Vst::BusDirection dir,
                                             Steinberg::int32 busIndex, Steinberg::int32 channel,
                                             Steinberg::Vst::UnitID& unitId) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API setUnitProgramData(Steinberg::int32 listOrUnitId,
                                                   Steinberg::int32 programIndex,
                                                   Steinberg::IBStream* data) SMTG_OVERRIDE;

  // --- Base operations realised for VST3 -------------------------------------
  void BeginInformHostOfParamChange(int paramIdx) override;
  void InformHostOfParamChange(int paramIdx, double normalized) override;
  void EndInformHostOfParamChange(int paramIdx) override;
  void InformHostOfPresetChange() override {}
  void InitForHost() override {}
  bool IsOfflineRender() override;
  int64_t GetSamplePosition() override;
  double GetTempoBpm() override;
  void GetTimeSignature(int* numerator, int* denominator) override;
  void GetTransportInfo(TransportInfo* info) override;
  void ChangeLatency(int samples) override;
  void ResizeEditorWindow(int width, int height) override;
  void ShowHostContextMenu(int paramIdx, int x, int y) override;
  bool SendMidiMessage(const MidiMessage& message) override;
  bool SendSysExMessage(const SysExMessage& message) override;

  // --- Views (used by IFxVST3View) -------------------------------------------
  void RemoveView(IFxVST3View* view);
  int NumViews() const { return static_cast<int>(mViews.size()); }

  OBJ_METHODS(IFxVST3, SingleComponentEffect)
  DEFINE_INTERFACES
    DEF_INTERFACE(Steinberg::Vst::IMidiMapping)
    DEF_INTERFACE(Steinberg::Vst::IUnitInfo)
  END_DEFINE_INTERFACES(SingleComponentEffect)
  REFCOUNT_METHODS(SingleComponentEffect)

 private:
  // True on the thread that is inside process() for this instance.
  bool OnProcessThread() const;
  // Delivers a latency restart that had to wait while processing.
  void DeliverDeferredRestart();
  void BuildBusesAndParameters();
  void ReplaceBusIfResized(Steinberg::Vst::BusList& buses, int index,
                           Steinberg::Vst::SpeakerArrangement arrangement, const char* name,
                           Steinberg::Vst::BusType type, Steinberg::int32 flags);
  void AddEffectParameter(int paramIdx);
  int UnitForCategory(const char* category);
  void ApplyInputParameterChanges(Steinberg::Vst::IParameterChanges* changes);
  void ApplyInputEvents(Steinberg::Vst::IEventList* events);
  void AttachHostInputs(int first, int count, float* const* buffers, int frames);
  void AttachHostInputs(int first, int count, double* const* buffers, int frames);
  template <typename Sample>
  Sample** PointerScratch();
  template <typename Sample>
  int AttachInputBus(const Steinberg::Vst::AudioBusBuffers& bus, int first, int count, int frames);
  template <typename Sample>
  void ProcessAudioBuses(Steinberg::Vst::ProcessData& data);
  void FlushOutputParameterChanges(Steinberg::Vst::IParameterChanges* changes);
  // The parameter ID is one of the MIDI controller parameters.
  bool IsMidiControllerId(Steinberg::Vst::ParamID id) const;

  int mSideChainChannels;
  bool mSideChainActive = false;
  Steinberg::Vst::ProcessContext mProcessContext;
  std::vector<IFxVST3View*> mViews;
  // Unit names made from parameter category texts; unit i + 1 has name i.
  std::vector<std::string> mUnitNames;

  // The thread currently inside process(); no thread when none is.
  std::atomic<std::thread::id> mProcessThread{};
  // Notices made while processing, one slot per effect parameter (the last
  // value wins), flushed into the process call's output parameter changes.
  // Sized at construction so processing never allocates.
  std::vector<double> mOutputValues;
  std::vector<bool> mOutputPending;
  std::vector<int> mOutputOrder;
  std::atomic<bool> mRestartLatencyPending{false};
  // The host's channel buffers that are not null, gathered per bus; sized
  // for every channel at construction.
  std::vector<float*> mFloatPointers;
  std::vector<double*> mDoublePointers;
  // What the "Preset" parameter reports: the last value set through the
  // controller or applied in processing.
  double mPresetValue = 0.0;
};
