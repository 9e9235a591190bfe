#pragma once

#include <cstdint>

#include "adapters/aax/support/AAX.h"
#include "adapters/aax/support/AAX_CString.h"

// One host parameter, whatever its value type: an ID text, a name, a
// normalised value (what hosts automate) and its texts, through the
// parameter's taper and display delegates.
class AAX_IParameter {
 public:
  virtual ~AAX_IParameter() = default;

  virtual const AAX_CString& Identifier() const = 0;
  virtual const AAX_CString& Name() const = 0;
  virtual bool Automatable() const = 0;
  virtual uint32_t GetNumberOfSteps() const = 0;
  virtual void SetNumberOfSteps(uint32_t steps) = 0;
  virtual AAX_EParameterType GetType() const = 0;
  virtual void SetType(AAX_EParameterType type) = 0;

  virtual double GetNormalizedValue() const = 0;
  // Stores the value limited to 0 .. 1 (NaN gives 0).
  virtual void SetNormalizedValue(double normalized) = 0;
  virtual double GetNormalizedDefaultValue() const = 0;

  // The text of the current value, or of a normalised value.
  virtual bool GetValueString(int32_t maxChars, AAX_CString* text) const = 0;
  virtual bool GetStringFromNormalizedValue(double normalized, int32_t maxChars,
                                            AAX_CString* text) const = 0;
  // Reads typed text through the display and taper delegates; false, with
  // normalized unchanged, when the text is no value of the parameter.
  virtual bool GetNormalizedValueFromString(const AAX_CString& text, double* normalized) const = 0;

  // The current real value in the parameter's own type; false for another type.
  virtual bool GetValueAsBool(bool* /*value*/) const { return false; }
  virtual bool GetValueAsInt32(int32_t* /*value*/) const { return false; }
  virtual bool GetValueAsDouble(double* /*value*/) const { return false; }
};
