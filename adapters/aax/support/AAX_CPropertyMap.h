#pragma once

#include <utility>
#include <vector>

#include "adapters/aax/support/AAX_IPropertyMap.h"

// The library's property map: properties in the order first added.
class AAX_CPropertyMap : public AAX_IPropertyMap {
 public:
  AAX_Result AddProperty(AAX_EProperty property, int64_t value) override;
  bool GetProperty(AAX_EProperty property, int64_t* value) const override;

 private:
  std::vector<std::pair<AAX_EProperty, int64_t>> mProperties;
};
