#include "adapters/aax/support/AAX_CParameterManager.h"

#include <cstring>

bool AAX_CParameterManager::AddParameter(AAX_IParameter* parameter) {
  std::unique_ptr<AAX_IParameter> owned(parameter);
  if (owned == nullptr || GetParameterIndex(owned->Identifier().Get()) >= 0) return false;
  mParameters.push_back(std::move(owned));
  return true;
}

AAX_IParameter* AAX_CParameterManager::GetParameterByID(const char* identifier) const {
  return GetParameter(GetParameterIndex(identifier));
}

AAX_IParameter* AAX_CParameterManager::GetParameter(int index) const {
  if (index < 0 || index >= NumParameters()) return nullptr;
  return mParameters[index].get();
}

int AAX_CParameterManager::GetParameterIndex(const char* identifier) const {
  if (identifier == nullptr) return -1;
  for (int i = 0; i < NumParameters(); ++i) {
    if (std::strcmp(mParameters[i]->Identifier().Get(), identifier) == 0) return i;
  }
  return -1;
}
