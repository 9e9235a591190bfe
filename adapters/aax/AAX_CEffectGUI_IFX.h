#pragma once

#include "adapters/aax/support/AAX_CEffectGUI.h"

class IFxAAX;
class IFxEditorLink;

// The editor view: the effect's own editor, opened inside the host's view
// container while the host shows it.
class AAX_CEffectGUI_IFX : public AAX_CEffectGUI {
 public:
  // The creation procedure the description hands the host.
  static AAX_IEffectGUI* Create();

  AAX_Result GetViewSize(AAX_Point* size) const override;
  AAX_Result ParameterUpdated(const char* parameterID) override;

 protected:
  void CreateViewContents() override;
  void CreateViewContainer() override;
  void DeleteViewContainer() override;

 private:
  IFxAAX* mEffect = nullptr;
  IFxEditorLink* mEditor = nullptr;
};
