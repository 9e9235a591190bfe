#pragma once

#include <cstdint>
#include <memory>
#include <type_traits>

#include "adapters/aax/support/AAX_IDisplayDelegate.h"
#include "adapters/aax/support/AAX_IParameter.h"
#include "adapters/aax/support/AAX_ITaperDelegate.h"

// A parameter of value type T (bool, int32_t or double) with its own copies of
// a taper and a display delegate. The value is kept normalised.
template <typename T>
class AAX_CParameter : public AAX_IParameter {
 public:
  AAX_CParameter(const char* identifier, const char* name, T defaultValue,
                 const AAX_ITaperDelegate<T>& taper, const AAX_IDisplayDelegate<T>& display,
                 bool automatable)
      : mIdentifier(identifier),
        mName(name),
        mAutomatable(automatable),
        mTaper(taper.Clone()),
        mDisplay(display.Clone()),
        mDefaultNormalized(mTaper->RealToNormalized(defaultValue)),
        mNormalized(mDefaultNormalized) {}

  const AAX_CString& Identifier() const override { return mIdentifier; }
  const AAX_CString& Name() const override { return mName; }
  bool Automatable() const override { return mAutomatable; }
  uint32_t GetNumberOfSteps() const override { return mSteps; }
  void SetNumberOfSteps(uint32_t steps) override { mSteps = steps; }
  AAX_EParameterType GetType() const override { return mType; }
  void SetType(AAX_EParameterType type) override { mType = type; }

  double GetNormalizedValue() const override { return mNormalized; }
  void SetNormalizedValue(double normalized) override { mNormalized = Limit(normalized); }
  double GetNormalizedDefaultValue() const override { return mDefaultNormalized; }

  T GetValue() const { return mTaper->NormalizedToReal(mNormalized); }
  void SetValue(T value) { mNormalized = Limit(mTaper->RealToNormalized(value)); }
  const AAX_ITaperDelegate<T>& Taper() const { return *mTaper; }

  bool GetValueString(int32_t maxChars, AAX_CString* text) const override {
    return GetStringFromNormalizedValue(mNormalized, maxChars, text);
  }
  bool GetStringFromNormalizedValue(double normalized, int32_t maxChars,
                                    AAX_CString* text) const override {
    if (text == nullptr) return false;
    return mDisplay->ValueToString(mTaper->NormalizedToReal(Limit(normalized)), maxChars, text);
  }
  bool GetNormalizedValueFromString(const AAX_CString& text, double* normalized) const override {
    T value{};
    if (normalized == nullptr || !mDisplay->StringToValue(text, &value)) return false;
    *normalized = Limit(mTaper->RealToNormalized(mTaper->ConstrainRealValue(value)));
    return true;
  }

  bool GetValueAsBool(bool* value) const override { return GetAs<bool>(value); }
  bool GetValueAsInt32(int32_t* value) const override { return GetAs<int32_t>(value); }
  bool GetValueAsDouble(double* value) const override { return GetAs<double>(value); }

 private:
  static double Limit(double normalized) {
    if (!(normalized >= 0.0)) return 0.0;
    return normalized > 1.0 ? 1.0 : normalized;
  }
  template <typename U>
  bool GetAs(U* value) const {
    if constexpr (std::is_same_v<T, U>) {
      if (value == nullptr) return false;
      *value = GetValue();
      return true;
    } else {
      (void)value;
      return false;
    }
  }

  AAX_CString mIdentifier;
  AAX_CString mName;
  bool mAutomatable;
  uint32_t mSteps = 128;
  AAX_EParameterType mType = AAX_eParameterType_Continuous;
  std::unique_ptr<AAX_ITaperDelegate<T>> mTaper;
  std::unique_ptr<AAX_IDisplayDelegate<T>> mDisplay;
  double mDefaultNormalized;
  double mNormalized;
};
