#include "adapters/aax/AAX_CEffectGUI_IFX.h"

#include "adapters/aax/IFxAAX.h"
#include "core/IFxEditorLink.h"

namespace {

// The editor's name for the parent window a container type offers, or null.
const char* ParentTypeName(int32_t containerType) {
  switch (containerType) {
    case AAX_eViewContainer_Type_HWND: return "HWND";
    case AAX_eViewContainer_Type_X11Window: return "X11EmbedWindowID";
    default: return nullptr;
  }
}

}  // namespace

AAX_IEffectGUI* AAX_CEffectGUI_IFX::Create() { return new AAX_CEffectGUI_IFX(); }

void AAX_CEffectGUI_IFX::CreateViewContents() {
  // Only effect parameters of this module's adapter have an editor to show.
  mEffect = dynamic_cast<IFxAAX*>(GetEffectParameters());
  mEditor = mEffect != nullptr ? mEffect->GetEditor() : nullptr;
}

void AAX_CEffectGUI_IFX::CreateViewContainer() {
  void* window = GetViewContainerPtr();
  if (window == nullptr || mEditor == nullptr) return;
  mEffect->SetViewContainer(GetViewContainer());
  const char* type = ParentTypeName(GetViewContainerType());
  if (type != nullptr && mEditor->AcceptsParentType(type)) {
    mEditor->OpenEditorWindow(window, type, nullptr);
  }
}

void AAX_CEffectGUI_IFX::DeleteViewContainer() {
  if (mEditor == nullptr) return;
  mEditor->CloseEditorWindow();
  // The container goes with this call; size requests must not reach it.
  mEffect->SetViewContainer(nullptr);
}

AAX_Result AAX_CEffectGUI_IFX::GetViewSize(AAX_Point* size) const {
  if (size == nullptr) return AAX_ERROR_NULL_OBJECT;
  if (mEditor != nullptr) {
    size->horz = static_cast<float>(mEditor->EditorWidth());
    size->vert = static_cast<float>(mEditor->EditorHeight());
  }
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI_IFX::ParameterUpdated(const char* /*parameterID*/) {
  return AAX_SUCCESS;
}
