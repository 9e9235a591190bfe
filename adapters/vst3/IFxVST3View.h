#pragma once

#include <memory>
#include <string>

#include "public.sdk/source/common/pluginview.h"

class IFxVST3;
class Vst3HostRunLoop;

// The editor view handed to the host by IFxVST3::createView ("editor"). It
// keeps one reference on its effect for its whole life and removes itself
// from the effect's views when it is destroyed.
//
// The window types offered are those the effect's editor accepts (through
// its editor link); with none, hosts fall back to their generic editor.
//
// The window opens once both the parent (attached) and the host's frame
// (setFrame, which may come before or after attached) are known, so that it
// runs from the frame's run loop from its first tick. A window that cannot
// open (no display, a parent of the wrong kind) makes attached answer false.
class IFxVST3View : public Steinberg::CPluginView {
 public:
  explicit IFxVST3View(IFxVST3* effect);
  ~IFxVST3View() override;

  Steinberg::tresult PLUGIN_API isPlatformTypeSupported(Steinberg::FIDString type) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API attached(void* parent, Steinberg::FIDString type) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API removed() SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getSize(Steinberg::ViewRect* size) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API onSize(Steinberg::ViewRect* newSize) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API setFrame(Steinberg::IPlugFrame* frame) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API canResize() SMTG_OVERRIDE { return Steinberg::kResultFalse; }
  Steinberg::tresult PLUGIN_API checkSizeConstraint(Steinberg::ViewRect* /*rect*/) SMTG_OVERRIDE {
    return Steinberg::kResultFalse;
  }

  // The host's frame, or null before setFrame.
  Steinberg::IPlugFrame* Frame() const { return plugFrame; }

  // Set before the effect asks the frame for a new size, so that the
  // following onSize tells the effect that its editor was resized.
  bool expectingNewSize = false;

  OBJ_METHODS(IFxVST3View, Steinberg::CPluginView)

 private:
  // Opens the editor window in the remembered parent; false when it fails.
  bool OpenWindow();
  void CloseWindow();

  IFxVST3* mEffect;
  void* mParent = nullptr;
  std::string mParentType;
  bool mWindowWanted = false;  // attached with a supported type, not removed
  bool mWindowOpen = false;
  std::unique_ptr<Vst3HostRunLoop> mRunLoop;
};
