#include "adapters/vst3/Vst3EditorAccess.h"

#include "core/IFxBase.h"
#include "editor/IGraphics.h"

namespace {

IGraphics* GraphicsOf(IFxBase& plug) { return dynamic_cast<IGraphics*>(plug.GetEditor()); }

}  // namespace

bool Vst3EditorSize(IFxBase& plug, int* width, int* height) {
  IGraphics* graphics = GraphicsOf(plug);
  if (graphics == nullptr) return false;
  if (width != nullptr) *width = graphics->Width();
  if (height != nullptr) *height = graphics->Height();
  return true;
}

bool Vst3OpenEditorWindow(IFxBase& plug, void* parentWindow) {
  IGraphics* graphics = GraphicsOf(plug);
  if (graphics == nullptr) return false;
  return graphics->OpenWindow(parentWindow) != nullptr;
}

void Vst3CloseEditorWindow(IFxBase& plug) {
  if (IGraphics* graphics = GraphicsOf(plug)) graphics->CloseWindow();
}
