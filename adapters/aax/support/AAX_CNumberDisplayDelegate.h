#pragma once

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <type_traits>

#include "adapters/aax/support/AAX_IDisplayDelegate.h"

// The value as a decimal number: Precision decimals for floating-point
// values, none for integers. Reading takes a leading number, as the C
// library reads one.
template <typename T, int Precision = 2>
class AAX_CNumberDisplayDelegate : public AAX_IDisplayDelegate<T> {
 public:
  AAX_CNumberDisplayDelegate* Clone() const override { return new AAX_CNumberDisplayDelegate(*this); }
  using AAX_IDisplayDelegate<T>::ValueToString;
  bool ValueToString(T value, AAX_CString* text) const override {
    char buffer[64];
    if constexpr (std::is_integral_v<T>) {
      std::snprintf(buffer, sizeof(buffer), "%lld", static_cast<long long>(value));
    } else {
      std::snprintf(buffer, sizeof(buffer), "%.*f", Precision, static_cast<double>(value));
    }
    text->Set(buffer);
    return true;
  }
  bool StringToValue(const AAX_CString& text, T* value) const override {
    const char* begin = text.Get();
    char* end = nullptr;
    errno = 0;
    const double number = std::strtod(begin, &end);
    if (end == begin || errno == ERANGE || !std::isfinite(number)) return false;
    if constexpr (std::is_integral_v<T>) {
      *value = static_cast<T>(std::lround(number));
    } else {
      *value = static_cast<T>(number);
    }
    return true;
  }
};
