#pragma once

#include <cstdint>

#include "adapters/aax/support/AAX.h"

// Properties of one processing procedure (stem formats, IDs, latency...).
class AAX_IPropertyMap {
 public:
  virtual ~AAX_IPropertyMap() = default;
  // A property set again takes the new value.
  virtual AAX_Result AddProperty(AAX_EProperty property, int64_t value) = 0;
  // False when the property was never added.
  virtual bool GetProperty(AAX_EProperty property, int64_t* value) const = 0;
};
