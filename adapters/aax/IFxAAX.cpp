#include "adapters/aax/IFxAAX.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "adapters/aax/AAX_CIFxTaperDelegate.h"
#include "adapters/aax/AaxModuleHooks.h"
#include "adapters/aax/support/AAX_CBinaryDisplayDelegate.h"
#include "adapters/aax/support/AAX_CBinaryTaperDelegate.h"
#include "adapters/aax/support/AAX_CLinearTaperDelegate.h"
#include "adapters/aax/support/AAX_CNumberDisplayDelegate.h"
#include "adapters/aax/support/AAX_CStringDisplayDelegate.h"
#include "adapters/aax/support/AAX_CUnitDisplayDelegateDecorator.h"
#include "adapters/aax/support/AAX_IController.h"
#include "adapters/aax/support/AAX_ITransport.h"
#include "adapters/aax/support/AAX_IViewContainer.h"
#include "core/IFxEditorLink.h"
#include "platform/RecursiveLock.h"

namespace {

// Serialises the creation of effect instances in this process.
platform::RecursiveLock& CreationLock() {
  static platform::RecursiveLock lock;
  return lock;
}

}  // namespace

IFxAAX::IFxAAX(int numParams, const char* channelIO, int numPresets, const char* effectName,
               const char* productName, const char* makerName, int version, uint32_t uniqueCode,
               uint32_t makerCode, int latency, bool doesMidi, bool doesChunks, bool isInstrument,
               int /*sideChainChannels*/)
    : IFxBase(numParams, channelIO, numPresets, effectName, productName, makerName, version,
              uniqueCode, makerCode, latency, doesMidi, doesChunks, isInstrument, HostFormatAax) {
  ConnectInputs(0, NumInputChannels(), true);
  ConnectOutputs(0, NumOutputChannels(), true);
  if (NumInputChannels() > 0) CreateBypassDelayLine();
  ChangeBlockSize(kBlockSize);
  SetHost("ProTools", EffectVersion(false));
}

IFxAAX::~IFxAAX() = default;

AAX_IEffectParameters* IFxAAX::Create() {
  try {
    platform::LockGuard guard(CreationLock());
    return MakeEffectInstance();
  } catch (...) {
    return nullptr;
  }
}

const char* IFxAAX::ParamIdText(int paramIdx) const {
  if (paramIdx < 0 || paramIdx >= static_cast<int>(mParamIdTexts.size())) return nullptr;
  return mParamIdTexts[paramIdx].c_str();
}

AAX_IParameter* IFxAAX::MakeHostParameter(int paramIdx) const {
  const IFxParam& param = *GetParam(paramIdx);
  const char* id = mParamIdTexts[paramIdx].c_str();
  switch (param.Kind()) {
    case ParamKindDouble: {
      auto* host = new AAX_CParameter<double>(
          id, param.Name(), param.Default(),
          AAX_CIFxTaperDelegate<double>(param.Min(), param.Max(), param.Shape()),
          AAX_CUnitDisplayDelegateDecorator<double>(AAX_CNumberDisplayDelegate<double, 2>(),
                                                    param.DisplayLabel()),
          param.CanAutomate());
      host->SetNumberOfSteps(128);
      host->SetType(AAX_eParameterType_Continuous);
      return host;
    }
    case ParamKindInt: {
      auto* host = new AAX_CParameter<int32_t>(
          id, param.Name(), static_cast<int32_t>(param.Default()),
          AAX_CLinearTaperDelegate<int32_t>(static_cast<int32_t>(param.Min()),
                                            static_cast<int32_t>(param.Max())),
          AAX_CUnitDisplayDelegateDecorator<int32_t>(AAX_CNumberDisplayDelegate<int32_t>(),
                                                     param.DisplayLabel()),
          param.CanAutomate());
      host->SetNumberOfSteps(128);
      host->SetType(AAX_eParameterType_Continuous);
      return host;
    }
    default: {  // switches and enumerations: their named values
      AAX_CStringDisplayDelegate<int32_t>::Entries entries;
      for (int n = 0; n < param.NamedValueCount(); ++n) {
        const IFxParam::NamedValue* named = param.NamedValueAt(n);
        entries.emplace_back(named->value, AAX_CString(named->text));
      }
      auto* host = new AAX_CParameter<int32_t>(
          id, param.Name(), static_cast<int32_t>(param.Default()),
          AAX_CLinearTaperDelegate<int32_t>(static_cast<int32_t>(param.Min()),
                                            static_cast<int32_t>(param.Max())),
          AAX_CStringDisplayDelegate<int32_t>(std::move(entries)), param.CanAutomate());
      host->SetNumberOfSteps(static_cast<uint32_t>(param.NamedValueCount()));
      host->SetType(AAX_eParameterType_Discrete);
      return host;
    }
  }
}

AAX_Result IFxAAX::EffectInit() {
  // A host that initialises twice gets the same parameters again.
  mParameterManager.RemoveAllParameters();
  mParamIdTexts.clear();

  AAX_CString bypassId;
  GetMasterBypassParameter(&bypassId);
  mBypassParam = new AAX_CParameter<bool>(bypassId.Get(), "Master Bypass", false,
                                          AAX_CBinaryTaperDelegate<bool>(),
                                          AAX_CBinaryDisplayDelegate<bool>("bypass", "on"), true);
  mBypassParam->SetNumberOfSteps(2);
  mBypassParam->SetType(AAX_eParameterType_Discrete);
  mParameterManager.AddParameter(mBypassParam);

  for (int i = 0; i < NumParams(); ++i) {
    char idText[32];
    std::snprintf(idText, sizeof(idText), "%i", i + 1);
    mParamIdTexts.emplace_back(idText);
    mParameterManager.AddParameter(MakeHostParameter(i));
  }

  // Every parameter's notice, as the other formats give one when the host
  // opens an instance: without it the effect would process with settings it
  // was never told of (its width, gain and pan targets still at zero).
  {
    platform::LockGuard guard(GetLock());
    NotifyAllParams(SourceReset);
  }

  double sampleRate = 0.0;
  if (Controller()->GetSampleRate(&sampleRate) == AAX_SUCCESS && sampleRate > 0.0 &&
      sampleRate < 1.0e7) {
    ChangeSampleRate(sampleRate);
  }
  ResetProcessing();
  return AAX_SUCCESS;
}

AAX_Result IFxAAX::UpdateParameterNormalizedValue(const char* identifier, double value,
                                                  AAX_EUpdateSource /*source*/) {
  AAX_IParameter* host = mParameterManager.GetParameterByID(identifier);
  if (host == nullptr) return AAX_ERROR_INVALID_PARAMETER_ID;
  host->SetNormalizedValue(value);
  // The host parameter holds the value limited to 0..1 (NaN: 0); the effect
  // takes the same.
  const double normalized = host->GetNormalizedValue();

  // The bypass ID reads as 0 and so names no effect parameter.
  const int paramIdx = static_cast<int>(std::strtol(identifier, nullptr, 10)) - 1;
  if (paramIdx >= 0 && paramIdx < NumParams()) {
    platform::LockGuard guard(GetLock());
    GetParam(paramIdx)->SetFromNormalized(normalized);
    if (IFxEditorLink* editor = GetEditor()) {
      editor->PushParamToControls(paramIdx, normalized, true);
    }
    ParamChanged(paramIdx, SourceHost);
  }
  const AAX_Result result = mPacketDispatcher.SetDirty(identifier);
  ++mChangeCount;
  return result;
}

AAX_Result IFxAAX::GetNumberOfChanges(int32_t* changes) const {
  if (changes == nullptr) return AAX_ERROR_NULL_OBJECT;
  *changes = mChangeCount;
  return AAX_SUCCESS;
}

void IFxAAX::BeginInformHostOfParamChange(int paramIdx) {
  if (const char* id = ParamIdText(paramIdx)) TouchParameter(id);
}

void IFxAAX::InformHostOfParamChange(int paramIdx, double normalized) {
  if (const char* id = ParamIdText(paramIdx)) SetParameterNormalizedValue(id, normalized);
}

void IFxAAX::EndInformHostOfParamChange(int paramIdx) {
  if (const char* id = ParamIdText(paramIdx)) ReleaseParameter(id);
}

int64_t IFxAAX::GetSamplePosition() {
  int64_t location = 0;
  if (mTransport == nullptr) return 0;
  // The whole 64-bit location: a 32-bit one would wrap after some hours.
  mTransport->GetCurrentNativeSampleLocation(&location);
  return location;
}

double IFxAAX::GetTempoBpm() {
  double tempo = 0.0;
  if (mTransport != nullptr) mTransport->GetCurrentTempo(&tempo);
  return tempo;
}

void IFxAAX::GetTimeSignature(int* numerator, int* denominator) {
  int32_t top = 0;
  int32_t bottom = 0;
  if (mTransport != nullptr) mTransport->GetCurrentMeter(&top, &bottom);
  if (numerator != nullptr) *numerator = top;
  if (denominator != nullptr) *denominator = bottom;
}

void IFxAAX::GetTransportInfo(TransportInfo* info) {
  if (info == nullptr || mTransport == nullptr) return;
  double tempo = info->tempo;
  mTransport->GetCurrentTempo(&tempo);
  info->tempo = tempo;
  bool playing = info->running;
  mTransport->IsTransportPlaying(&playing);
  info->running = playing;
  int32_t numerator = info->numerator;
  int32_t denominator = info->denominator;
  mTransport->GetCurrentMeter(&numerator, &denominator);
  info->numerator = numerator;
  info->denominator = denominator;
  int64_t ticks = 0;
  if (mTransport->GetCurrentTickPosition(&ticks) == AAX_SUCCESS) {
    info->ppqPosition = static_cast<double>(ticks) / AAX_ITransport::kTicksPerQuarter;
  }
  int64_t location = 0;
  if (mTransport->GetCurrentNativeSampleLocation(&location) == AAX_SUCCESS) {
    info->samplePosition = static_cast<double>(location);
  }
  bool looping = false;
  int64_t loopStart = 0;
  int64_t loopEnd = 0;
  if (mTransport->GetCurrentLoopPosition(&looping, &loopStart, &loopEnd) == AAX_SUCCESS) {
    info->looping = looping;
    info->cycleStart = static_cast<double>(loopStart) / AAX_ITransport::kTicksPerQuarter;
    info->cycleEnd = static_cast<double>(loopEnd) / AAX_ITransport::kTicksPerQuarter;
  }
}

void IFxAAX::ResizeEditorWindow(int width, int height) {
  if (mViewContainer == nullptr) return;
  AAX_Point size;
  size.horz = static_cast<float>(width);
  size.vert = static_cast<float>(height);
  mViewContainer->SetViewSize(size);
  EditorResized();
}

void IFxAAX::ChangeLatency(int samples) {
  if (Controller() != nullptr) Controller()->SetSignalLatency(samples);
  IFxBase::ChangeLatency(samples);
}
