#include "tools/vst3host/HostContext.h"

#include "pluginterfaces/base/ustring.h"

namespace vst3host {

namespace {

class NamedHostApplication : public Steinberg::Vst::HostApplication {
 public:
  Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 name) override {
    Steinberg::UString(name, 128).fromAscii("stratum-host");
    return Steinberg::kResultTrue;
  }
};

}  // namespace

Steinberg::Vst::HostApplication& HostContext() {
  static NamedHostApplication context;
  return context;
}

}  // namespace vst3host
