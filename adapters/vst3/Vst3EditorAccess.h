#pragma once

class IFxBase;

// What the VST3 view needs of the effect's editor. The base only knows its
// editor through the narrow IFxEditorLink; these reach the editor toolkit's
// graphics object when the module is built with it (Vst3EditorAccess.cpp),
// and answer "no editor" when it is not (Vst3NoEditorAccess.cpp).

// The editor's size in pixels; false when the effect has no editor.
bool Vst3EditorSize(IFxBase& plug, int* width, int* height);

// Opens the editor window inside the host's parent window; false when there
// is no editor or no window could be opened.
bool Vst3OpenEditorWindow(IFxBase& plug, void* parentWindow);

// Closes the editor window, if one is open.
void Vst3CloseEditorWindow(IFxBase& plug);
