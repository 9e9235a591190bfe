#include "adapters/aax/support/AAX_CEffectGUI.h"

#include "adapters/aax/support/AAX_CEffectParameters.h"
#include "adapters/aax/support/AAX_IViewContainer.h"

AAX_CEffectGUI::AAX_CEffectGUI() { AAX_CEffectParameters::CountObject(1); }
AAX_CEffectGUI::~AAX_CEffectGUI() { AAX_CEffectParameters::CountObject(-1); }

AAX_Result AAX_CEffectGUI::Initialize(AAX_IEffectParameters* effectParameters) {
  if (effectParameters == nullptr) return AAX_ERROR_NULL_OBJECT;
  mEffectParameters = effectParameters;
  CreateViewContents();
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::Uninitialize() {
  SetViewContainer(nullptr);
  mEffectParameters = nullptr;
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::SetViewContainer(AAX_IViewContainer* viewContainer) {
  if (mViewContainer != nullptr) {
    DeleteViewContainer();
    mViewContainer = nullptr;
  }
  if (viewContainer != nullptr) {
    mViewContainer = viewContainer;
    CreateViewContainer();
  }
  return AAX_SUCCESS;
}

int32_t AAX_CEffectGUI::GetViewContainerType() const {
  return mViewContainer != nullptr ? mViewContainer->GetType() : AAX_eViewContainer_Type_NULL;
}

void* AAX_CEffectGUI::GetViewContainerPtr() const {
  return mViewContainer != nullptr ? mViewContainer->GetPtr() : nullptr;
}
