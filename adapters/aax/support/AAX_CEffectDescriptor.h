#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "adapters/aax/support/AAX_CComponentDescriptor.h"
#include "adapters/aax/support/AAX_IEffectDescriptor.h"

// The library's effect descriptor. Component descriptors it hands out stay
// its own; only those added with AddComponent are described.
class AAX_CEffectDescriptor : public AAX_IEffectDescriptor {
 public:
  AAX_IComponentDescriptor* NewComponentDescriptor() override;
  AAX_Result AddComponent(AAX_IComponentDescriptor* component) override;
  AAX_Result AddName(const char* name) override;
  AAX_Result AddCategory(uint32_t category) override;
  AAX_Result AddProcPtr(void* proc, AAX_EProcPtrID id) override;

  int32_t NumNames() const override { return static_cast<int32_t>(mNames.size()); }
  const char* GetName(int32_t position) const override;
  int32_t NumCategories() const override { return static_cast<int32_t>(mCategories.size()); }
  uint32_t GetCategory(int32_t position) const override;
  int32_t NumComponents() const override { return static_cast<int32_t>(mComponents.size()); }
  const AAX_IComponentDescriptor* GetComponent(int32_t position) const override;
  void* GetProcPtr(AAX_EProcPtrID id) const override;

 private:
  std::vector<std::unique_ptr<AAX_CComponentDescriptor>> mOwnedComponents;
  std::vector<const AAX_IComponentDescriptor*> mComponents;
  std::vector<std::string> mNames;
  std::vector<uint32_t> mCategories;
  std::vector<std::pair<AAX_EProcPtrID, void*>> mProcs;
};
