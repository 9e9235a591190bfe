#include "adapters/vst3/Vst3EditorAccess.h"

// Built when the module is made without the editor toolkit.

bool Vst3EditorSize(IFxBase& /*plug*/, int* /*width*/, int* /*height*/) { return false; }

bool Vst3OpenEditorWindow(IFxBase& /*plug*/, void* /*parentWindow*/) { return false; }

void Vst3CloseEditorWindow(IFxBase& /*plug*/) {}
