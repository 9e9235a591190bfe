#include "adapters/aax/support/AAX_CEffectDescriptor.h"

AAX_IComponentDescriptor* AAX_CEffectDescriptor::NewComponentDescriptor() {
  mOwnedComponents.push_back(std::make_unique<AAX_CComponentDescriptor>());
  return mOwnedComponents.back().get();
}

AAX_Result AAX_CEffectDescriptor::AddComponent(AAX_IComponentDescriptor* component) {
  if (component == nullptr) return AAX_ERROR_NULL_OBJECT;
  bool owned = false;
  for (const auto& candidate : mOwnedComponents) owned = owned || candidate.get() == component;
  if (!owned) return AAX_ERROR_INVALID_ARGUMENT;
  for (const AAX_IComponentDescriptor* added : mComponents) {
    if (added == component) return AAX_ERROR_DUPLICATE_ID;
  }
  mComponents.push_back(component);
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectDescriptor::AddName(const char* name) {
  if (name == nullptr) return AAX_ERROR_NULL_OBJECT;
  mNames.emplace_back(name);
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectDescriptor::AddCategory(uint32_t category) {
  mCategories.push_back(category);
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectDescriptor::AddProcPtr(void* proc, AAX_EProcPtrID id) {
  if (proc == nullptr) return AAX_ERROR_NULL_OBJECT;
  for (auto& entry : mProcs) {
    if (entry.first == id) {
      entry.second = proc;
      return AAX_SUCCESS;
    }
  }
  mProcs.emplace_back(id, proc);
  return AAX_SUCCESS;
}

const char* AAX_CEffectDescriptor::GetName(int32_t position) const {
  if (position < 0 || position >= NumNames()) return nullptr;
  return mNames[position].c_str();
}

uint32_t AAX_CEffectDescriptor::GetCategory(int32_t position) const {
  if (position < 0 || position >= NumCategories()) return 0;
  return mCategories[position];
}

const AAX_IComponentDescriptor* AAX_CEffectDescriptor::GetComponent(int32_t position) const {
  if (position < 0 || position >= NumComponents()) return nullptr;
  return mComponents[position];
}

void* AAX_CEffectDescriptor::GetProcPtr(AAX_EProcPtrID id) const {
  for (const auto& entry : mProcs) {
    if (entry.first == id) return entry.second;
  }
  return nullptr;
}
