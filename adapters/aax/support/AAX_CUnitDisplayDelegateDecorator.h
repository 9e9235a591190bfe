#pragma once

#include <memory>
#include <string>

#include "adapters/aax/support/AAX_IDisplayDelegate.h"

// Another display delegate's text followed by a space and a unit ("-6.00 dB");
// an empty unit adds nothing. Reading accepts the text with or without the
// unit.
template <typename T>
class AAX_CUnitDisplayDelegateDecorator : public AAX_IDisplayDelegate<T> {
 public:
  AAX_CUnitDisplayDelegateDecorator(const AAX_IDisplayDelegate<T>& inner, const char* unit)
      : mInner(inner.Clone()), mUnit(unit) {}
  AAX_CUnitDisplayDelegateDecorator(const AAX_CUnitDisplayDelegateDecorator& other)
      : mInner(other.mInner->Clone()), mUnit(other.mUnit) {}
  AAX_CUnitDisplayDelegateDecorator& operator=(const AAX_CUnitDisplayDelegateDecorator&) = delete;

  AAX_CUnitDisplayDelegateDecorator* Clone() const override {
    return new AAX_CUnitDisplayDelegateDecorator(*this);
  }
  using AAX_IDisplayDelegate<T>::ValueToString;
  bool ValueToString(T value, AAX_CString* text) const override {
    if (!mInner->ValueToString(value, text)) return false;
    if (!mUnit.Empty()) {
      text->Append(" ");
      text->Append(mUnit.Get());
    }
    return true;
  }
  bool StringToValue(const AAX_CString& text, T* value) const override {
    std::string plain = text.StdString();
    const std::string suffix = std::string(" ") + mUnit.Get();
    if (!mUnit.Empty() && plain.size() >= suffix.size() &&
        plain.compare(plain.size() - suffix.size(), suffix.size(), suffix) == 0) {
      plain.resize(plain.size() - suffix.size());
    }
    return mInner->StringToValue(AAX_CString(plain), value);
  }

 private:
  std::unique_ptr<AAX_IDisplayDelegate<T>> mInner;
  AAX_CString mUnit;
};
