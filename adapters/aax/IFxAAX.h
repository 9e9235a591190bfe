#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "adapters/aax/AAX_CIFxParameters.h"
#include "adapters/aax/support/AAX_CParameter.h"
#include "core/IFxBase.h"

class AAX_ITransport;
class AAX_IViewContainer;

// The AAX adapter: one object is the effect, this adapter, the plug-in base
// and the host's effect-parameters object. Host parameters are the master
// bypass followed by one per effect parameter, whose ID texts are "1", "2",
// ... (parameter index + 1). The state travels as one chunk with the
// plug-in's code as its ID.
//
// Threads: RenderAudio and the effect part of UpdateParameterNormalizedValue
// hold the instance lock; chunk, description and view calls run on the
// host's threads without it (the effect's state calls take it themselves).
class IFxAAX : public IFxBase, public AAX_CIFxParameters {
 public:
  // The block size the base's channel buffers hold; longer host blocks are
  // rendered in pieces of this size.
  static constexpr int kBlockSize = 1024;
  // Largest state chunk a host may hand in.
  static constexpr int32_t kMaxChunkBytes = 16 << 20;
  // Most channels a stem brings to the render.
  static constexpr int kMaxRenderChannels = 8;

  IFxAAX(int numParams, const char* channelIO, int numPresets, const char* effectName,
         const char* productName, const char* makerName, int version, uint32_t uniqueCode,
         uint32_t makerCode, int latency, bool doesMidi, bool doesChunks, bool isInstrument,
         int sideChainChannels);
  ~IFxAAX() override;

  // The creation procedure the description hands the host: a new effect
  // under the process-wide creation lock, or null.
  static AAX_IEffectParameters* Create();

  // The ID text of effect parameter i, or null for an index out of range.
  const char* ParamIdText(int paramIdx) const;
  int32_t ChangeCount() const { return mChangeCount; }
  // The view's container while the editor shows (for size requests), else null.
  void SetViewContainer(AAX_IViewContainer* container) { mViewContainer = container; }

  // --- Effect-parameters operations -------------------------------------
  AAX_Result UpdateParameterNormalizedValue(const char* identifier, double value,
                                            AAX_EUpdateSource source) override;
  AAX_Result GetNumberOfChanges(int32_t* changes) const override;
  AAX_Result GetChunkIDFromIndex(int32_t index, AAX_CTypeID* chunkID) const override;
  AAX_Result GetChunkSize(AAX_CTypeID chunkID, uint32_t* size) override;
  AAX_Result GetChunk(AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk) override;
  AAX_Result SetChunk(AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk) override;
  AAX_Result CompareActiveChunk(const AAX_SPlugInChunk* chunk, bool* isEqual) override;
  void RenderAudio(IFxAAXRenderContext* context) override;

  // --- Base operations realised for AAX ------------------------------------
  void BeginInformHostOfParamChange(int paramIdx) override;
  void InformHostOfParamChange(int paramIdx, double normalized) override;
  void EndInformHostOfParamChange(int paramIdx) override;
  void InformHostOfPresetChange() override {}
  int64_t GetSamplePosition() override;
  double GetTempoBpm() override;
  void GetTimeSignature(int* numerator, int* denominator) override;
  void GetTransportInfo(TransportInfo* info) override;
  void ResizeEditorWindow(int width, int height) override;
  void ChangeLatency(int samples) override;
  void MarkStateDirty() override { ++mChangeCount; }
  bool SendMidiMessage(const MidiMessage& /*message*/) override { return false; }
  bool SendSysExMessage(const SysExMessage& /*message*/) override { return false; }

 protected:
  AAX_Result EffectInit() override;

 private:
  // Makes the host parameter of effect parameter i.
  AAX_IParameter* MakeHostParameter(int paramIdx) const;
  // The byte offset of the parameter block inside a state the effect saves.
  int ParameterBlockOffset();
  // Renders frames (at most the block size) from the given sample offset.
  void RenderPiece(float* const* inputs, int inputChannels, float* const* outputs,
                   int outputChannels, int offset, int frames, bool bypassed);

  AAX_CParameter<bool>* mBypassParam = nullptr;  // owned by the parameter manager
  AAX_ITransport* mTransport = nullptr;
  std::vector<std::string> mParamIdTexts;
  int32_t mChangeCount = 0;
  AAX_IViewContainer* mViewContainer = nullptr;
};
