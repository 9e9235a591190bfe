#pragma once

#include "adapters/aax/support/AAX_IEffectGUI.h"

// The base of an effect's editor view: keeps the effect parameters and the
// view container and calls the effect's view operations at the right times.
class AAX_CEffectGUI : public AAX_IEffectGUI {
 public:
  AAX_CEffectGUI();
  ~AAX_CEffectGUI() override;
  AAX_CEffectGUI(const AAX_CEffectGUI&) = delete;
  AAX_CEffectGUI& operator=(const AAX_CEffectGUI&) = delete;

  // Keeps the effect parameters, then CreateViewContents.
  AAX_Result Initialize(AAX_IEffectParameters* effectParameters) override;
  // DeleteViewContainer when a container is still held.
  AAX_Result Uninitialize() override;
  // A new container: the old one's DeleteViewContainer, then
  // CreateViewContainer with the new one; null only deletes.
  AAX_Result SetViewContainer(AAX_IViewContainer* viewContainer) override;
  AAX_Result GetViewSize(AAX_Point* size) const override = 0;
  AAX_Result ParameterUpdated(const char* parameterID) override = 0;

  AAX_IEffectParameters* GetEffectParameters() const { return mEffectParameters; }
  AAX_IViewContainer* GetViewContainer() const { return mViewContainer; }
  // The container's native window type and window; NULL type and null window
  // without a container.
  int32_t GetViewContainerType() const;
  void* GetViewContainerPtr() const;

 protected:
  virtual void CreateViewContents() = 0;
  virtual void CreateViewContainer() = 0;
  virtual void DeleteViewContainer() = 0;

 private:
  AAX_IEffectParameters* mEffectParameters = nullptr;
  AAX_IViewContainer* mViewContainer = nullptr;
};
