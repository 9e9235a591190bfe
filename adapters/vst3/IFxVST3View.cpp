#include "adapters/vst3/IFxVST3View.h"

#include "adapters/vst3/IFxVST3.h"
#include "core/IFxEditorLink.h"

using namespace Steinberg;

IFxVST3View::IFxVST3View(IFxVST3* effect) : mEffect(effect) { mEffect->addRef(); }

IFxVST3View::~IFxVST3View() {
  mEffect->RemoveView(this);
  mEffect->release();
}

tresult PLUGIN_API IFxVST3View::isPlatformTypeSupported(FIDString type) {
  IFxEditorLink* editor = mEffect->GetEditor();
  return editor != nullptr && type != nullptr && editor->AcceptsParentType(type) ? kResultTrue
                                                                                 : kResultFalse;
}

tresult PLUGIN_API IFxVST3View::attached(void* parent, FIDString type) {
  IFxEditorLink* editor = mEffect->GetEditor();
  if (editor == nullptr) return kResultFalse;
  // A window opens only inside a parent of a supported type; with any other
  // type the editor still learns that a host view exists.
  if (isPlatformTypeSupported(type) == kResultTrue) editor->OpenEditorWindow(parent, type, nullptr);
  CPluginView::attached(parent, type);
  mEffect->EditorOpened();
  return kResultOk;
}

tresult PLUGIN_API IFxVST3View::removed() {
  if (IFxEditorLink* editor = mEffect->GetEditor()) {
    mEffect->EditorClosed();
    editor->CloseEditorWindow();
  }
  return CPluginView::removed();
}

tresult PLUGIN_API IFxVST3View::getSize(ViewRect* size) {
  if (size == nullptr) return kInvalidArgument;
  IFxEditorLink* editor = mEffect->GetEditor();
  if (editor == nullptr) return kResultFalse;
  *size = ViewRect(0, 0, editor->EditorWidth(), editor->EditorHeight());
  return kResultOk;
}
tresult PLUGIN_API IFxVST3View::onSize(ViewRect* newSize) {
  if (newSize == nullptr) return kResultOk;
  rect = *newSize;
  if (expectingNewSize) {
    mEffect->EditorResized();
    expectingNewSize = false;
  }
  return kResultOk;
}
