#pragma once

#include <utility>
#include <vector>

#include "adapters/aax/support/AAX_IDisplayDelegate.h"

// One text per listed value, looked up by value; typed text must match one
// of the texts exactly.
template <typename T>
class AAX_CStringDisplayDelegate : public AAX_IDisplayDelegate<T> {
 public:
  using Entries = std::vector<std::pair<T, AAX_CString>>;
  explicit AAX_CStringDisplayDelegate(Entries entries) : mEntries(std::move(entries)) {}

  AAX_CStringDisplayDelegate* Clone() const override { return new AAX_CStringDisplayDelegate(*this); }
  using AAX_IDisplayDelegate<T>::ValueToString;
  bool ValueToString(T value, AAX_CString* text) const override {
    for (const auto& entry : mEntries) {
      if (entry.first == value) {
        *text = entry.second;
        return true;
      }
    }
    text->Clear();
    return false;
  }
  bool StringToValue(const AAX_CString& text, T* value) const override {
    for (const auto& entry : mEntries) {
      if (entry.second == text) {
        *value = entry.first;
        return true;
      }
    }
    return false;
  }

 private:
  Entries mEntries;
};
