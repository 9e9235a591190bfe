#pragma once

#include "adapters/aax/support/AAX.h"

class AAX_IEffectParameters;
class AAX_IViewContainer;

// The host's view of an effect instance's editor. The host creates it for
// an initialised effect-parameters object, hands it a view container while
// the editor shows (null when it hides) and deletes it before the
// effect-parameters object.
class AAX_IEffectGUI {
 public:
  virtual ~AAX_IEffectGUI() = default;
  virtual AAX_Result Initialize(AAX_IEffectParameters* effectParameters) = 0;
  virtual AAX_Result Uninitialize() = 0;
  virtual AAX_Result SetViewContainer(AAX_IViewContainer* viewContainer) = 0;
  virtual AAX_Result GetViewSize(AAX_Point* size) const = 0;
  virtual AAX_Result ParameterUpdated(const char* parameterID) = 0;
};
