#pragma once

#include "public.sdk/source/common/pluginview.h"

class IFxVST3;

// The editor view handed to the host by IFxVST3::createView ("editor"). It
// keeps one reference on its effect for its whole life and removes itself
// from the effect's views when it is destroyed.
//
// The window types offered are those the effect's editor accepts (through
// its editor link); with none, hosts fall back to their generic editor.
class IFxVST3View : public Steinberg::CPluginView {
 public:
  explicit IFxVST3View(IFxVST3* effect);
  ~IFxVST3View() override;

  Steinberg::tresult PLUGIN_API isPlatformTypeSupported(Steinberg::FIDString type) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API attached(void* parent, Steinberg::FIDString type) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API removed() SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getSize(Steinberg::ViewRect* size) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API onSize(Steinberg::ViewRect* newSize) SMTG_OVERRIDE;
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
  IFxVST3* mEffect;
};
