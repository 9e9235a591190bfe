#pragma once

#include <memory>
#include <vector>

#include "adapters/aax/support/AAX_IParameter.h"

// The host parameters of one effect, in the order they were added, found by
// index or by ID text.
class AAX_CParameterManager {
 public:
  // Takes ownership. False (the parameter deleted) for null or an ID that is
  // already taken.
  bool AddParameter(AAX_IParameter* parameter);
  // Null when no parameter has the ID (or the ID is null).
  AAX_IParameter* GetParameterByID(const char* identifier) const;
  // Null for an index out of range.
  AAX_IParameter* GetParameter(int index) const;
  // The position of the parameter with the ID, or -1.
  int GetParameterIndex(const char* identifier) const;
  int NumParameters() const { return static_cast<int>(mParameters.size()); }
  void RemoveAllParameters() { mParameters.clear(); }

 private:
  std::vector<std::unique_ptr<AAX_IParameter>> mParameters;
};
