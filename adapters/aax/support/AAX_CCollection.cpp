#include "adapters/aax/support/AAX_CCollection.h"

AAX_IEffectDescriptor* AAX_CCollection::NewDescriptor() {
  mDescriptors.push_back(std::make_unique<AAX_CEffectDescriptor>());
  return mDescriptors.back().get();
}

AAX_Result AAX_CCollection::AddEffect(const char* effectID, AAX_IEffectDescriptor* descriptor) {
  if (effectID == nullptr || descriptor == nullptr) return AAX_ERROR_NULL_OBJECT;
  bool owned = false;
  for (const auto& candidate : mDescriptors) owned = owned || candidate.get() == descriptor;
  if (!owned) return AAX_ERROR_INVALID_ARGUMENT;
  for (const auto& effect : mEffects) {
    if (effect.first == effectID) return AAX_ERROR_DUPLICATE_ID;
  }
  mEffects.emplace_back(effectID, descriptor);
  return AAX_SUCCESS;
}

AAX_Result AAX_CCollection::SetManufacturerName(const char* name) {
  if (name == nullptr) return AAX_ERROR_NULL_OBJECT;
  mManufacturerName = name;
  return AAX_SUCCESS;
}

AAX_Result AAX_CCollection::AddPackageName(const char* name) {
  if (name == nullptr) return AAX_ERROR_NULL_OBJECT;
  mPackageNames.emplace_back(name);
  return AAX_SUCCESS;
}

AAX_Result AAX_CCollection::SetPackageVersion(uint32_t version) {
  mPackageVersion = version;
  return AAX_SUCCESS;
}

const char* AAX_CCollection::GetEffectID(int32_t position) const {
  if (position < 0 || position >= NumEffects()) return nullptr;
  return mEffects[position].first.c_str();
}

const AAX_IEffectDescriptor* AAX_CCollection::GetEffect(int32_t position) const {
  if (position < 0 || position >= NumEffects()) return nullptr;
  return mEffects[position].second;
}

const char* AAX_CCollection::GetPackageName(int32_t position) const {
  if (position < 0 || position >= NumPackageNames()) return nullptr;
  return mPackageNames[position].c_str();
}
