#pragma once

// The narrow view the plug-in base has of its editor, so that the framework
// core builds and is tested without the editor toolkit. The editor's graphics
// object implements it; the base owns the attached editor through it.
class IFxEditorLink {
 public:
  virtual ~IFxEditorLink() = default;

  // Every control bound to paramIdx (directly or as an auxiliary parameter)
  // takes the value; a plain value is normalised by the parameter first.
  virtual void PushParamToControls(int paramIdx, double value, bool normalized) = 0;

  // Creates the back buffer; called once all controls hold their values.
  virtual void PrepareBackBuffer() = 0;
};
