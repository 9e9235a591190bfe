#pragma once

#include "adapters/aax/IFxAAXRenderContext.h"
#include "adapters/aax/support/AAX_CEffectParameters.h"

// The support library's effect parameters with the render entry: the host's
// render callback finds the instance in each render context's private data
// and runs its RenderAudio.
class AAX_CIFxParameters : public AAX_CEffectParameters {
 public:
  virtual void RenderAudio(IFxAAXRenderContext* context) = 0;

  // The private data field takes this instance; every other field the host
  // asks for is cleared.
  AAX_Result ResetFieldData(AAX_CFieldIndex field, void* data, uint32_t size) const override;

  // The native processing procedure: every context of the range whose
  // private data holds an instance renders through it.
  static void RenderCallback(void* const contextsBegin[], const void* contextsEnd);
};
