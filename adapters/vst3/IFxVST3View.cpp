#include "adapters/vst3/IFxVST3View.h"

#include "adapters/vst3/IFxVST3.h"
#include "adapters/vst3/Vst3HostRunLoop.h"
#include "core/IFxEditorLink.h"

using namespace Steinberg;

IFxVST3View::IFxVST3View(IFxVST3* effect) : mEffect(effect) { mEffect->addRef(); }

IFxVST3View::~IFxVST3View() {
  CloseWindow();
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
  if (isPlatformTypeSupported(type) == kResultTrue) {
    mParent = parent;
    mParentType = type;
    mWindowWanted = true;
    // Without a frame yet, setFrame opens the window.
    if (plugFrame != nullptr && !OpenWindow()) {
      mWindowWanted = false;
      return kResultFalse;
    }
  }
  CPluginView::attached(parent, type);
  mEffect->EditorOpened();
  return kResultOk;
}

tresult PLUGIN_API IFxVST3View::setFrame(IPlugFrame* frame) {
  const tresult result = CPluginView::setFrame(frame);
  if (frame != nullptr && mWindowWanted && !mWindowOpen) OpenWindow();
  return result;
}

tresult PLUGIN_API IFxVST3View::removed() {
  if (mEffect->GetEditor() != nullptr) {
    mEffect->EditorClosed();
    CloseWindow();
  }
  mWindowWanted = false;
  return CPluginView::removed();
}

bool IFxVST3View::OpenWindow() {
  IFxEditorLink* editor = mEffect->GetEditor();
  if (editor == nullptr) return false;
  if (Linux::IRunLoop* hostLoop = Vst3HostRunLoop::FromFrame(plugFrame)) {
    mRunLoop = std::make_unique<Vst3HostRunLoop>(hostLoop);
    hostLoop->release();  // the wrapper holds its own reference
  }
  mWindowOpen = editor->OpenEditorWindow(mParent, mParentType.c_str(), mRunLoop.get());
  if (!mWindowOpen) mRunLoop.reset();
  return mWindowOpen;
}

void IFxVST3View::CloseWindow() {
  if (mWindowOpen) {
    if (IFxEditorLink* editor = mEffect->GetEditor()) editor->CloseEditorWindow();
  }
  mWindowOpen = false;
  // After the window: it unregisters from the run loop while closing.
  mRunLoop.reset();
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
