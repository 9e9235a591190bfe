#pragma once

#include <cstddef>
#include <vector>

// Parameter kinds. Only the difference between continuous (ParamKindDouble)
// and the others changes quantisation and what hosts are told.
enum ParamKind {
  ParamKindNone = 0,
  ParamKindBool = 1,
  ParamKindInt = 2,  // reserved: no set-up operation produces it
  ParamKindEnum = 3,
  ParamKindDouble = 4,
};

// One automatable value of the plug-in: a plain value with range, step and
// curve, plus the texts shown to hosts and in the editor. Hosts and controls
// see normalised values (0 to 1); processing, state chunks and the group link
// see plain values. A parameter copies whole (named values included).
//
// No lock of its own: writers and readers hold the plug-in's instance lock.
class IFxParam {
 public:
  // Every text field is a fixed 32-byte buffer; longer texts are truncated
  // to 31 characters when they are stored.
  static constexpr int kTextSize = 32;

  struct NamedValue {
    int value = 0;
    char text[kTextSize] = {};
  };

  IFxParam();

  // --- Set-up (the effect's constructor). The first set-up fixes the kind.
  void SetupDouble(const char* name, double defaultValue, double min, double max, double step,
                   const char* label = "", const char* category = "", double shape = 1.0);
  // Range 0..1, step 0.1, named values {0 "off"}, {1 "on"}.
  void SetupBool(const char* name, bool defaultOn, const char* label = "",
                 const char* category = "");
  // Range 0..count-1, step 0.1; the caller adds one named value per entry.
  void SetupEnum(const char* name, int defaultIndex, int count, const char* label = "",
                 const char* category = "");
  // Appended at the end, duplicates allowed.
  void AddNamedValue(int value, const char* text);

  // --- Values.
  // Maps n (clamped to 0..1) to a plain value, quantises switches and
  // enumerations to the step (continuous values only when the step is 1) and
  // stores it, at most max.
  void SetFromNormalized(double normalized);
  // min + n^shape * (max - min), neither quantised nor clamped.
  double NormalizedToValue(double normalized) const;
  // The value clamped to the range, mapped back through the curve, in 0..1.
  double ValueToNormalized(double value) const;
  // ValueToNormalized of the current value.
  double GetNormalized() const;

  double Value() const { return mValue; }
  // Stores the value as given. Writers that bypass SetFromNormalized (state
  // restore, group pull, typed text) use SetValueClamped instead.
  void SetValue(double value) { mValue = value; }
  void SetValueClamped(double value) { mValue = ClampToRange(value); }
  // v limited to [min, max]; NaN gives min.
  double ClampToRange(double value) const;
  // Switches read as on at 0.5 and above.
  bool IsOn() const { return mValue >= 0.5; }

  ParamKind Kind() const { return mKind; }
  double Min() const { return mMin; }
  double Max() const { return mMax; }
  double Step() const { return mStep; }
  double Shape() const { return mShape; }
  double Default() const { return mDefault; }
  int Precision() const { return mPrecision; }
  bool CanAutomate() const { return mCanAutomate; }
  void SetCanAutomate(bool canAutomate) { mCanAutomate = canAutomate; }
  bool NegatedDisplay() const { return mNegatedDisplay; }
  void SetNegatedDisplay(bool negated) { mNegatedDisplay = negated; }

  // --- Texts.
  const char* Name() const { return mName; }
  const char* Label() const { return mLabel; }
  const char* Category() const { return mCategory; }
  // Empty when a named value with a non-empty text exists for the integer
  // part of the current value; otherwise the label.
  const char* DisplayLabel() const;

  // Writes the display text of v (a normalised value when isNormalized) into
  // out, at most outSize - 1 characters plus the terminator.
  void FormatValue(double value, bool isNormalized, char* out, size_t outSize,
                   bool useNamedValues = true) const;
  // FormatValue of the current plain value with named values allowed.
  void FormatCurrent(char* out, size_t outSize) const;

  int NamedValueCount() const { return static_cast<int>(mNamedValues.size()); }
  // The text of the first entry whose value is v, or "" when none is.
  const char* NamedValueText(int value) const;
  // Entries by position (0 .. NamedValueCount() - 1), for hosts that list them.
  const NamedValue* NamedValueAt(int position) const;
  // The value of the first entry whose text equals text exactly.
  bool NamedValueFromText(const char* text, double* value) const;

  // Reads typed text as a plain value (not clamped): switches and
  // enumerations must match a named value's text exactly; other kinds read a
  // leading decimal number the way the C library does (no number gives 0),
  // negated when the display is negated. False when nothing matches, the text
  // is null or the number is not finite.
  bool ValueFromText(const char* text, double* value) const;

 private:
  ParamKind mKind = ParamKindNone;
  double mValue = 0.0;
  double mMin = 0.0;
  double mMax = 1.0;
  double mStep = 1.0;
  double mShape = 1.0;
  double mDefault = 0.0;
  int mPrecision = 0;
  char mName[kTextSize] = {};
  char mLabel[kTextSize] = {};
  char mCategory[kTextSize] = {};
  bool mNegatedDisplay = false;
  bool mCanAutomate = true;
  std::vector<NamedValue> mNamedValues;
};
