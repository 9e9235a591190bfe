#pragma once

#include <cstdint>

#include "adapters/aax/support/AAX.h"

class AAX_IEffectDescriptor;

// What a module offers: its effects under their IDs, the package names,
// manufacturer and version. The plug-in describes it during registration;
// the host reads it back.
class AAX_ICollection {
 public:
  virtual ~AAX_ICollection() = default;
  // Describing (plug-in). Descriptors stay owned by the collection.
  virtual AAX_IEffectDescriptor* NewDescriptor() = 0;
  virtual AAX_Result AddEffect(const char* effectID, AAX_IEffectDescriptor* descriptor) = 0;
  virtual AAX_Result SetManufacturerName(const char* name) = 0;
  virtual AAX_Result AddPackageName(const char* name) = 0;
  virtual AAX_Result SetPackageVersion(uint32_t version) = 0;

  // Reading (host).
  virtual int32_t NumEffects() const = 0;
  virtual const char* GetEffectID(int32_t position) const = 0;
  virtual const AAX_IEffectDescriptor* GetEffect(int32_t position) const = 0;
  virtual const char* GetManufacturerName() const = 0;
  virtual int32_t NumPackageNames() const = 0;
  virtual const char* GetPackageName(int32_t position) const = 0;
  virtual uint32_t GetPackageVersion() const = 0;
};
