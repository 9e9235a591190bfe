#include "adapters/aax/AAX_CIFxParameters.h"

#include <cstring>

AAX_Result AAX_CIFxParameters::ResetFieldData(AAX_CFieldIndex field, void* data,
                                              uint32_t size) const {
  const AAX_Result cleared = AAX_CEffectParameters::ResetFieldData(field, data, size);
  if (cleared != AAX_SUCCESS || field != kIFxAAXField_PrivateData) return cleared;
  // A block too small for the pointer would make the render read past it.
  if (size < kIFxAAXPrivateDataSize) return AAX_ERROR_INVALID_ARGUMENT;
  const AAX_CIFxParameters* self = this;
  std::memcpy(data, &self, sizeof(self));
  return AAX_SUCCESS;
}

void AAX_CIFxParameters::RenderCallback(void* const contextsBegin[], const void* contextsEnd) {
  if (contextsBegin == nullptr || contextsEnd == nullptr) return;
  void* const* end = static_cast<void* const*>(contextsEnd);
  for (void* const* walk = contextsBegin; walk < end; ++walk) {
    auto* context = static_cast<IFxAAXRenderContext*>(*walk);
    if (context == nullptr || context->privateData == nullptr) continue;
    AAX_CIFxParameters* instance = *context->privateData;
    if (instance != nullptr) instance->RenderAudio(context);
  }
}
