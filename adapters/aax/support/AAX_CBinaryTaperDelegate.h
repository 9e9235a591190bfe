#pragma once

#include "adapters/aax/support/AAX_ITaperDelegate.h"

// Two states: normalised values from 0.5 up are true (1), the rest false (0).
template <typename T>
class AAX_CBinaryTaperDelegate : public AAX_ITaperDelegate<T> {
 public:
  AAX_CBinaryTaperDelegate* Clone() const override { return new AAX_CBinaryTaperDelegate(*this); }
  T GetMaximumValue() const override { return static_cast<T>(1); }
  T GetMinimumValue() const override { return static_cast<T>(0); }
  T ConstrainRealValue(T value) const override { return static_cast<T>(value != static_cast<T>(0)); }
  T NormalizedToReal(double normalized) const override { return static_cast<T>(normalized >= 0.5); }
  double RealToNormalized(T real) const override { return real != static_cast<T>(0) ? 1.0 : 0.0; }
};
