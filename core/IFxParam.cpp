#include "core/IFxParam.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "core/NumberText.h"

namespace {

// Copies at most size - 1 characters; null is taken as the empty text.
void CopyText(char* destination, const char* source, size_t size) {
  if (source == nullptr) source = "";
  size_t length = strnlen(source, size - 1);
  memcpy(destination, source, length);
  destination[length] = '\0';
}

// The number of decimals a step needs, at most six: step 0.25 gives 2.
int PrecisionFromStep(double step) {
  int precision = 0;
  double s = step;
  while (s != std::floor(s) && precision < 6) {
    ++precision;
    s *= 10.0;
  }
  return precision;
}

// Truncation towards zero that stays defined for values beyond int's range.
int TruncateToInt(double v) {
  if (!(v == v)) return 0;
  if (v >= static_cast<double>(std::numeric_limits<int>::max())) {
    return std::numeric_limits<int>::max();
  }
  if (v <= static_cast<double>(std::numeric_limits<int>::min())) {
    return std::numeric_limits<int>::min();
  }
  return static_cast<int>(v);
}

}  // namespace

IFxParam::IFxParam() = default;

void IFxParam::SetupDouble(const char* name, double defaultValue, double min, double max,
                           double step, const char* label, const char* category, double shape) {
  if (mKind == ParamKindNone) mKind = ParamKindDouble;
  CopyText(mName, name, kTextSize);
  CopyText(mLabel, label, kTextSize);
  CopyText(mCategory, category, kTextSize);
  mMin = min;
  mValue = defaultValue;
  mMax = std::fmax(max, min + step);
  mStep = step;
  mPrecision = PrecisionFromStep(step);
  mDefault = defaultValue;
  if (shape != 0.0) mShape = shape;
}

void IFxParam::SetupBool(const char* name, bool defaultOn, const char* label,
                         const char* category) {
  if (mKind == ParamKindNone) mKind = ParamKindBool;
  SetupDouble(name, defaultOn ? 1.0 : 0.0, 0.0, 1.0, 0.1, label, category, 1.0);
  AddNamedValue(0, "off");
  AddNamedValue(1, "on");
}

void IFxParam::SetupEnum(const char* name, int defaultIndex, int count, const char* label,
                         const char* category) {
  if (mKind == ParamKindNone) mKind = ParamKindEnum;
  SetupDouble(name, defaultIndex, 0.0, count - 1, 0.1, label, category, 1.0);
}

void IFxParam::AddNamedValue(int value, const char* text) {
  NamedValue entry;
  entry.value = value;
  CopyText(entry.text, text, kTextSize);
  mNamedValues.push_back(entry);
}

void IFxParam::SetFromNormalized(double normalized) {
  // Hosts send 0..1; anything else (or NaN) would leave the range or poison
  // the value, so it is brought back into 0..1 first.
  if (!(normalized >= 0.0)) normalized = 0.0;
  if (normalized > 1.0) normalized = 1.0;

  double v = NormalizedToValue(normalized);
  if (mKind != ParamKindDouble) {
    // Switches and enumerations move in steps (tenths with their 0.1 step).
    if (mStep > 0.0) v = std::floor(v / mStep + 0.5) * mStep;
  } else if (mStep == 1.0) {
    v = std::round(v);  // halves away from zero
  }
  mValue = std::fmin(v, mMax);
}

double IFxParam::NormalizedToValue(double normalized) const {
  return mMin + std::pow(normalized, mShape) * (mMax - mMin);
}

double IFxParam::ValueToNormalized(double value) const {
  if (!(mMax > mMin)) return 0.0;
  double v = ClampToRange(value);
  double r = std::pow((v - mMin) / (mMax - mMin), 1.0 / mShape);
  if (!(r >= 0.0)) return 0.0;
  if (r > 1.0) return 1.0;
  return r;
}

double IFxParam::GetNormalized() const { return ValueToNormalized(mValue); }

double IFxParam::ClampToRange(double value) const {
  if (!(value >= mMin)) return mMin;
  if (value > mMax) return mMax;
  return value;
}

const char* IFxParam::DisplayLabel() const {
  const char* text = NamedValueText(TruncateToInt(mValue));
  if (text[0] != '\0') return "";
  return mLabel;
}

void IFxParam::FormatValue(double value, bool isNormalized, char* out, size_t outSize,
                           bool useNamedValues) const {
  if (out == nullptr || outSize == 0) return;
  double v = isNormalized ? NormalizedToValue(value) : value;
  if (useNamedValues && !mNamedValues.empty()) {
    const int key = TruncateToInt(v);
    for (const NamedValue& entry : mNamedValues) {
      if (entry.value != key) continue;
      if (entry.text[0] != '\0') {
        CopyText(out, entry.text, outSize);
        return;
      }
      break;  // an empty text falls back to the number
    }
  }
  if (mNegatedDisplay) v = -v;
  if (mPrecision == 0) {
    snprintf(out, outSize, "%d", TruncateToInt(v));
  } else {
    FormatFixedNumber(v, mPrecision, out, outSize);
  }
}

void IFxParam::FormatCurrent(char* out, size_t outSize) const {
  FormatValue(mValue, false, out, outSize, true);
}

const char* IFxParam::NamedValueText(int value) const {
  for (const NamedValue& entry : mNamedValues) {
    if (entry.value == value) return entry.text;
  }
  return "";
}

const IFxParam::NamedValue* IFxParam::NamedValueAt(int position) const {
  if (position < 0 || position >= NamedValueCount()) return nullptr;
  return &mNamedValues[position];
}

bool IFxParam::NamedValueFromText(const char* text, double* value) const {
  if (text == nullptr) return false;
  for (const NamedValue& entry : mNamedValues) {
    if (strcmp(entry.text, text) == 0) {
      *value = entry.value;
      return true;
    }
  }
  return false;
}

bool IFxParam::ValueFromText(const char* text, double* value) const {
  if (text == nullptr) return false;
  if (mKind == ParamKindBool || mKind == ParamKindEnum) {
    return NamedValueFromText(text, value);
  }
  double v = ReadLeadingNumber(text);  // no leading number reads as 0
  if (!std::isfinite(v)) return false;
  if (mNegatedDisplay) v = -v;
  *value = v;
  return true;
}
