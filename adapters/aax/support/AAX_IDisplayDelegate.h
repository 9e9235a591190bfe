#pragma once

#include <cstdint>

#include "adapters/aax/support/AAX_CString.h"

// Turns a parameter's real value into the text a host shows, and typed text
// back into a value.
template <typename T>
class AAX_IDisplayDelegate {
 public:
  virtual ~AAX_IDisplayDelegate() = default;
  virtual AAX_IDisplayDelegate* Clone() const = 0;
  virtual bool ValueToString(T value, AAX_CString* text) const = 0;
  // At most maxChars characters (none when maxChars is 0 or less).
  virtual bool ValueToString(T value, int32_t maxChars, AAX_CString* text) const {
    if (!ValueToString(value, text)) return false;
    text->Truncate(maxChars > 0 ? static_cast<size_t>(maxChars) : 0);
    return true;
  }
  // False, with value unchanged, when the text is no value of the parameter.
  virtual bool StringToValue(const AAX_CString& text, T* value) const = 0;
};
