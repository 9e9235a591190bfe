#include "adapters/vst3/IFxVST3View.h"

#include "adapters/vst3/IFxVST3.h"
#include "adapters/vst3/Vst3EditorAccess.h"

using namespace Steinberg;

IFxVST3View::IFxVST3View(IFxVST3* effect) : mEffect(effect) { mEffect->addRef(); }

IFxVST3View::~IFxVST3View() {
  mEffect->RemoveView(this);
  mEffect->release();
}

// No window layer exists on this platform yet, so no window type is offered.
tresult PLUGIN_API IFxVST3View::isPlatformTypeSupported(FIDString /*type*/) { return kResultFalse; }

tresult PLUGIN_API IFxVST3View::attached(void* parent, FIDString type) {
  if (!Vst3EditorSize(*mEffect, nullptr, nullptr)) return kResultFalse;
  // A window opens only inside a parent of a supported type; with any other
  // type the editor still learns that a host view exists.
  if (isPlatformTypeSupported(type) == kResultTrue) Vst3OpenEditorWindow(*mEffect, parent);
  CPluginView::attached(parent, type);
  mEffect->EditorOpened();
  return kResultOk;
}

tresult PLUGIN_API IFxVST3View::removed() {
  if (Vst3EditorSize(*mEffect, nullptr, nullptr)) {
    mEffect->EditorClosed();
    Vst3CloseEditorWindow(*mEffect);
  }
  return CPluginView::removed();
}

tresult PLUGIN_API IFxVST3View::getSize(ViewRect* size) {
  if (size == nullptr) return kInvalidArgument;
  int width = 0;
  int height = 0;
  if (!Vst3EditorSize(*mEffect, &width, &height)) return kResultFalse;
  *size = ViewRect(0, 0, width, height);
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
