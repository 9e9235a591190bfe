#include "tools/aaxhost/AaxInstance.h"

#include <algorithm>

#include "adapters/aax/support/AAX_IPropertyMap.h"

namespace aaxhost {

std::unique_ptr<AaxInstance> AaxInstance::Create(const AAX_IEffectDescriptor& effect,
                                                 int componentIndex, std::string* error,
                                                 double sampleRate) {
  const AAX_IComponentDescriptor* component = effect.GetComponent(componentIndex);
  auto create = reinterpret_cast<AAX_CCreateEffectParametersProc>(
      effect.GetProcPtr(kAAX_ProcPtrID_Create_EffectParameters));
  if (component == nullptr || create == nullptr) {
    *error = "no configuration " + std::to_string(componentIndex) + " or no creation procedure";
    return nullptr;
  }
  std::unique_ptr<AaxInstance> instance(new AaxInstance());
  instance->mController.sampleRate = sampleRate;
  instance->mCreateView =
      reinterpret_cast<AAX_CCreateEffectGUIProc>(effect.GetProcPtr(kAAX_ProcPtrID_Create_EffectGUI));
  const AAX_IPropertyMap* properties = component->GetProcessProperties();
  int64_t stem = 0;
  if (properties != nullptr && properties->GetProperty(AAX_eProperty_InputStemFormat, &stem)) {
    instance->mController.inputStem = static_cast<AAX_EStemFormat>(stem);
  }
  if (properties != nullptr && properties->GetProperty(AAX_eProperty_OutputStemFormat, &stem)) {
    instance->mController.outputStem = static_cast<AAX_EStemFormat>(stem);
  }
  instance->mParameters = create();
  if (instance->mParameters == nullptr) {
    *error = "the creation procedure made no object";
    return nullptr;
  }
  const AAX_Result initialised = instance->mParameters->Initialize(&instance->mController);
  if (initialised != AAX_SUCCESS) {
    *error = "Initialize answered " + std::to_string(initialised);
    return nullptr;
  }
  if (!instance->Wire(*component, error)) return nullptr;
  return instance;
}

AaxInstance::~AaxInstance() {
  CloseView();
  if (mParameters != nullptr) {
    mParameters->Uninitialize();
    delete mParameters;
  }
}

bool AaxInstance::Wire(const AAX_IComponentDescriptor& component, std::string* error) {
  mRenderProc = component.GetProcessProc();
  if (mRenderProc == nullptr) {
    *error = "no render procedure";
    return false;
  }
  AAX_CFieldIndex last = 0;
  for (int32_t i = 0; i < component.NumFields(); ++i) {
    last = std::max(last, component.GetField(i)->index);
  }
  mContext.assign(static_cast<size_t>(last) + 1, nullptr);
  // Room for any stem, so a test may change the controller's stems later.
  mInputs.assign(kMaxChannels, nullptr);
  mOutputs.assign(kMaxChannels, nullptr);
  for (int32_t i = 0; i < component.NumFields(); ++i) {
    const AAX_SFieldDescription& field = *component.GetField(i);
    void*& slot = mContext[field.index];
    switch (field.kind) {
      case AAX_eField_AudioIn: slot = mInputs.data(); break;
      case AAX_eField_AudioOut: slot = mOutputs.data(); break;
      case AAX_eField_AudioBufferLength: slot = &mFrames; break;
      case AAX_eField_MIDINode:
        if (field.nodeType == AAX_eMIDINodeType_Transport) {
          slot = static_cast<AAX_ITransport*>(&mTransport);
        } else if (field.nodeType == AAX_eMIDINodeType_LocalInput) {
          slot = static_cast<AAX_IMIDINode*>(&mMidi);
        }
        break;
      case AAX_eField_PrivateData: {
        mPrivateData.assign((field.dataSize + sizeof(void*) - 1) / sizeof(void*) + 1, nullptr);
        slot = mPrivateData.data();
        const AAX_Result reset = mParameters->ResetFieldData(field.index, slot, field.dataSize);
        if (reset != AAX_SUCCESS) {
          *error = "ResetFieldData answered " + std::to_string(reset);
          return false;
        }
        break;
      }
      default: break;
    }
  }
  return true;
}

AAX_Result AaxInstance::SetFromText(const char* id, const char* text) {
  double normalized = 0.0;
  const AAX_Result read = mParameters->GetParameterValueFromString(id, &normalized, text);
  if (read != AAX_SUCCESS) return read;
  return mParameters->UpdateParameterNormalizedValue(id, normalized, AAX_eUpdateSource_Unspecified);
}

double AaxInstance::NormalizedValue(const char* id) const {
  double value = -1.0;
  mParameters->GetParameterNormalizedValue(id, &value);
  return value;
}

std::string AaxInstance::ValueText(const char* id) const {
  AAX_CString text;
  if (mParameters->GetParameterValueString(id, &text, 64) != AAX_SUCCESS) return "(none)";
  return text.StdString();
}

void AaxInstance::PrepareBlock(float* const* inputs, float* const* outputs, int frames) {
  for (int c = 0; c < kMaxChannels; ++c) {
    mInputs[c] = c < InputChannels() ? inputs[c] : nullptr;
    mOutputs[c] = c < OutputChannels() ? outputs[c] : nullptr;
  }
  mFrames = frames;
}

void AaxInstance::Render(float* const* inputs, float* const* outputs, int frames) {
  PrepareBlock(inputs, outputs, frames);
  void* contexts[1] = {Context()};
  mRenderProc(contexts, contexts + 1);
}

void AaxInstance::RenderTogether(const std::vector<AaxInstance*>& instances) {
  if (instances.empty()) return;
  std::vector<void*> contexts;
  for (AaxInstance* instance : instances) contexts.push_back(instance->Context());
  instances.front()->mRenderProc(contexts.data(), contexts.data() + contexts.size());
}

AAX_IEffectGUI* AaxInstance::OpenView(std::string* error) {
  if (mView != nullptr) return mView;
  if (mCreateView == nullptr) {
    *error = "no view procedure";
    return nullptr;
  }
  mView = mCreateView();
  if (mView == nullptr || mView->Initialize(mParameters) != AAX_SUCCESS) {
    delete mView;
    mView = nullptr;
    *error = "the view could not be made";
  }
  return mView;
}

void AaxInstance::CloseView() {
  if (mView == nullptr) return;
  mView->Uninitialize();
  delete mView;
  mView = nullptr;
}

}  // namespace aaxhost
