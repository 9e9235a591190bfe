#pragma once

#include <cmath>

#include "adapters/aax/support/AAX_ITaperDelegate.h"

// The framework's shaped curve as a taper: real = min + x^shape * (max - min),
// the same mapping as IFxParam's NormalizedToValue and ValueToNormalized.
template <typename T>
class AAX_CIFxTaperDelegate : public AAX_ITaperDelegate<T> {
 public:
  AAX_CIFxTaperDelegate(T minimum, T maximum, double shape)
      : mMinimum(minimum), mMaximum(maximum), mShape(shape > 0.0 ? shape : 1.0) {}

  AAX_CIFxTaperDelegate* Clone() const override { return new AAX_CIFxTaperDelegate(*this); }
  T GetMaximumValue() const override { return mMaximum; }
  T GetMinimumValue() const override { return mMinimum; }
  double Shape() const { return mShape; }
  T ConstrainRealValue(T value) const override {
    if (!(value >= mMinimum)) return mMinimum;  // NaN too
    return value > mMaximum ? mMaximum : value;
  }
  T NormalizedToReal(double normalized) const override {
    if (!(normalized >= 0.0)) normalized = 0.0;
    if (normalized > 1.0) normalized = 1.0;
    return ConstrainRealValue(
        static_cast<T>(mMinimum + std::pow(normalized, mShape) * (mMaximum - mMinimum)));
  }
  double RealToNormalized(T real) const override {
    const double span = static_cast<double>(mMaximum) - static_cast<double>(mMinimum);
    if (span == 0.0) return 0.0;
    const double linear = (static_cast<double>(ConstrainRealValue(real)) - mMinimum) / span;
    const double normalized = std::pow(linear, 1.0 / mShape);
    if (!(normalized >= 0.0)) return 0.0;
    return normalized > 1.0 ? 1.0 : normalized;
  }

 private:
  T mMinimum;
  T mMaximum;
  double mShape;
};
