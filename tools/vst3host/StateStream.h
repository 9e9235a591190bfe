#pragma once

#include <cstdint>
#include <vector>

#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

namespace vst3host {

// A component's or controller's state stream as bytes, through a memory
// stream: getState into bytes (false when the plug-in refuses), and setState
// from bytes (the plug-in's own answer).
bool ReadStateStream(Steinberg::Vst::IComponent& component, std::vector<uint8_t>* bytes);
bool ReadStateStream(Steinberg::Vst::IEditController& controller, std::vector<uint8_t>* bytes);
Steinberg::tresult WriteStateStream(Steinberg::Vst::IComponent& component, const std::vector<uint8_t>& bytes);
Steinberg::tresult WriteStateStream(Steinberg::Vst::IEditController& controller,
                                    const std::vector<uint8_t>& bytes);

}  // namespace vst3host
