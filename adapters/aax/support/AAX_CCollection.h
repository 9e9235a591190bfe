#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "adapters/aax/support/AAX_CEffectDescriptor.h"
#include "adapters/aax/support/AAX_ICollection.h"

// The library's collection: what registration describes and the host reads.
class AAX_CCollection : public AAX_ICollection {
 public:
  AAX_IEffectDescriptor* NewDescriptor() override;
  AAX_Result AddEffect(const char* effectID, AAX_IEffectDescriptor* descriptor) override;
  AAX_Result SetManufacturerName(const char* name) override;
  AAX_Result AddPackageName(const char* name) override;
  AAX_Result SetPackageVersion(uint32_t version) override;

  int32_t NumEffects() const override { return static_cast<int32_t>(mEffects.size()); }
  const char* GetEffectID(int32_t position) const override;
  const AAX_IEffectDescriptor* GetEffect(int32_t position) const override;
  const char* GetManufacturerName() const override { return mManufacturerName.c_str(); }
  int32_t NumPackageNames() const override { return static_cast<int32_t>(mPackageNames.size()); }
  const char* GetPackageName(int32_t position) const override;
  uint32_t GetPackageVersion() const override { return mPackageVersion; }

 private:
  std::vector<std::unique_ptr<AAX_CEffectDescriptor>> mDescriptors;
  std::vector<std::pair<std::string, const AAX_IEffectDescriptor*>> mEffects;
  std::string mManufacturerName;
  std::vector<std::string> mPackageNames;
  uint32_t mPackageVersion = 0;
};
