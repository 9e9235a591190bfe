#include "adapters/aax/support/AAX_CPacketDispatcher.h"

AAX_Result AAX_CPacketDispatcher::SetDirty(const char* identifier) {
  if (identifier == nullptr) return AAX_ERROR_INVALID_PARAMETER_ID;
  if (!IsDirty(identifier)) mDirty.emplace_back(identifier);
  return AAX_SUCCESS;
}

bool AAX_CPacketDispatcher::IsDirty(const char* identifier) const {
  if (identifier == nullptr) return false;
  for (const std::string& id : mDirty) {
    if (id == identifier) return true;
  }
  return false;
}
