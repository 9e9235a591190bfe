#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pluginterfaces/base/funknown.h"

namespace vst3host {

// The saved state of one plug-in instance: its component's state stream and,
// when the controller keeps one, the controller's state stream.
struct PluginState {
  Steinberg::TUID classId = {};
  bool hasComponent = false;
  std::vector<uint8_t> component;
  bool hasController = false;
  std::vector<uint8_t> controller;
};

// State files, little-endian throughout:
//   "SHST"            4 bytes, file magic
//   version           uint32, 1
//   class ID          16 bytes, the plug-in class that wrote the state
//   sections          until the end of the file, each:
//     tag             4 bytes, "COMP" (component state) or "CTRL" (controller state)
//     length          uint64, byte count of the data that follows
//     data            the plug-in's own stream bytes
// Unknown tags are skipped, so later versions may add sections.
std::vector<uint8_t> EncodeStateFile(const PluginState& state);
bool DecodeStateFile(const std::vector<uint8_t>& bytes, PluginState* state, std::string* error);

}  // namespace vst3host
