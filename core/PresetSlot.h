#pragma once

#include "core/StateChunk.h"

// One preset of the plug-in: whether it holds a state, its name and that state.
class PresetSlot {
 public:
  // Room for the names the plug-in writes and for names hosts hand in;
  // longer names are truncated to kNameSize - 1 characters.
  static constexpr int kNameSize = 128;

  PresetSlot();

  bool initialized = false;
  StateChunk state;

  const char* Name() const { return mName; }
  // Null is taken as the empty text.
  void SetName(const char* name);

 private:
  char mName[kNameSize] = {};
};
