#pragma once

#include "adapters/aax/support/AAX_IDisplayDelegate.h"

// One text for false (0) and one for true (anything else).
template <typename T>
class AAX_CBinaryDisplayDelegate : public AAX_IDisplayDelegate<T> {
 public:
  AAX_CBinaryDisplayDelegate(const char* falseText, const char* trueText)
      : mFalseText(falseText), mTrueText(trueText) {}

  AAX_CBinaryDisplayDelegate* Clone() const override { return new AAX_CBinaryDisplayDelegate(*this); }
  using AAX_IDisplayDelegate<T>::ValueToString;
  bool ValueToString(T value, AAX_CString* text) const override {
    *text = value != static_cast<T>(0) ? mTrueText : mFalseText;
    return true;
  }
  bool StringToValue(const AAX_CString& text, T* value) const override {
    if (text == mTrueText) {
      *value = static_cast<T>(1);
      return true;
    }
    if (text == mFalseText) {
      *value = static_cast<T>(0);
      return true;
    }
    return false;
  }

 private:
  AAX_CString mFalseText;
  AAX_CString mTrueText;
};
