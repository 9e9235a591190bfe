#pragma once

class IFxHostRunLoop;

// The narrow view the plug-in base and the host adapters have of the editor,
// so that the framework core and the adapters build and are tested without
// the editor toolkit. The editor's graphics object implements it; the base
// owns the attached editor through it. A plug-in without an editor has none
// attached (IFxBase::GetEditor answers null).
class IFxEditorLink {
 public:
  virtual ~IFxEditorLink() = default;

  // Every control bound to paramIdx (directly or as an auxiliary parameter)
  // takes the value; a plain value is normalised by the parameter first.
  virtual void PushParamToControls(int paramIdx, double value, bool normalized) = 0;

  // Creates the back buffer; called once all controls hold their values.
  virtual void PrepareBackBuffer() = 0;

  // ---- The editor view, for adapters (host user-interface thread) ----
  // The editor's size in pixels.
  virtual int EditorWidth() const = 0;
  virtual int EditorHeight() const = 0;
  // Whether a window can open inside a host parent of this type, named as
  // the host names it ("X11EmbedWindowID", "HWND", ...).
  virtual bool AcceptsParentType(const char* type) const = 0;
  // Opens the window inside the host's parent window. runLoop is the host's
  // run loop where the host offers one (else null); it stays valid until
  // CloseEditorWindow. False when the type is not accepted or no window
  // could be opened.
  virtual bool OpenEditorWindow(void* parent, const char* type, IFxHostRunLoop* runLoop) = 0;
  // Closes the window, if one is open.
  virtual void CloseEditorWindow() = 0;
};
