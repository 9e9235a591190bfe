#include "core/PresetSlot.h"

#include <cstring>

PresetSlot::PresetSlot() { SetName("empty"); }

void PresetSlot::SetName(const char* name) {
  if (name == nullptr) name = "";
  size_t length = strnlen(name, kNameSize - 1);
  memcpy(mName, name, length);
  mName[length] = '\0';
}
