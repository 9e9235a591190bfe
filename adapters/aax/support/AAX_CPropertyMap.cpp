#include "adapters/aax/support/AAX_CPropertyMap.h"

AAX_Result AAX_CPropertyMap::AddProperty(AAX_EProperty property, int64_t value) {
  for (auto& entry : mProperties) {
    if (entry.first == property) {
      entry.second = value;
      return AAX_SUCCESS;
    }
  }
  mProperties.emplace_back(property, value);
  return AAX_SUCCESS;
}

bool AAX_CPropertyMap::GetProperty(AAX_EProperty property, int64_t* value) const {
  for (const auto& entry : mProperties) {
    if (entry.first == property) {
      if (value != nullptr) *value = entry.second;
      return true;
    }
  }
  return false;
}
