#pragma once

#include <cstdint>

// What a VST3 module tells its host about itself before any instance exists:
// the factory's vendor details and the one effect class it offers. Each
// module defines kVst3ModuleDescription once, beside its factory hook (see
// Vst3ModuleHooks.h).
struct Vst3ModuleDescription {
  const char* vendor;
  const char* vendorUrl;
  const char* vendorEmail;
  const char* effectName;      // the class name hosts list
  uint32_t makerCode;          // four characters, first in the most significant byte
  uint32_t uniqueCode;         // four characters, first in the most significant byte
  int version;                 // packed: major << 16 | minor << 8 | patch
  const char* subCategories;   // such as "Fx|Tools"
};

extern const Vst3ModuleDescription kVst3ModuleDescription;
