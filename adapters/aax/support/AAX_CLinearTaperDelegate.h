#pragma once

#include <cmath>
#include <type_traits>

#include "adapters/aax/support/AAX_ITaperDelegate.h"

// A straight line from minimum (0) to maximum (1). Integer values round to
// the nearest one.
template <typename T>
class AAX_CLinearTaperDelegate : public AAX_ITaperDelegate<T> {
 public:
  AAX_CLinearTaperDelegate(T minimum = 0, T maximum = 1) : mMinimum(minimum), mMaximum(maximum) {}

  AAX_CLinearTaperDelegate* Clone() const override { return new AAX_CLinearTaperDelegate(*this); }
  T GetMaximumValue() const override { return mMaximum; }
  T GetMinimumValue() const override { return mMinimum; }
  T ConstrainRealValue(T value) const override {
    const T low = mMinimum < mMaximum ? mMinimum : mMaximum;
    const T high = mMinimum < mMaximum ? mMaximum : mMinimum;
    if (!(value >= low)) return low;  // NaN too
    return value > high ? high : value;
  }
  T NormalizedToReal(double normalized) const override {
    if (!(normalized >= 0.0)) normalized = 0.0;
    if (normalized > 1.0) normalized = 1.0;
    const double real = static_cast<double>(mMinimum) +
                        normalized * (static_cast<double>(mMaximum) - static_cast<double>(mMinimum));
    if constexpr (std::is_integral_v<T>) {
      return ConstrainRealValue(static_cast<T>(std::lround(real)));
    } else {
      return ConstrainRealValue(static_cast<T>(real));
    }
  }
  double RealToNormalized(T real) const override {
    const double span = static_cast<double>(mMaximum) - static_cast<double>(mMinimum);
    if (span == 0.0) return 0.0;
    return (static_cast<double>(ConstrainRealValue(real)) - static_cast<double>(mMinimum)) / span;
  }

 private:
  T mMinimum;
  T mMaximum;
};
