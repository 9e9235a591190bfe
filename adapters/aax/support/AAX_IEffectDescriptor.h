#pragma once

#include <cstdint>

#include "adapters/aax/support/AAX.h"

class AAX_IComponentDescriptor;
class AAX_IEffectGUI;
class AAX_IEffectParameters;

using AAX_CCreateEffectParametersProc = AAX_IEffectParameters* (*)();
using AAX_CCreateEffectGUIProc = AAX_IEffectGUI* (*)();

// One effect: its names, categories, processing configurations and the
// procedures that create its objects. The plug-in describes it; the host
// reads it back.
class AAX_IEffectDescriptor {
 public:
  virtual ~AAX_IEffectDescriptor() = default;
  // Describing (plug-in).
  virtual AAX_IComponentDescriptor* NewComponentDescriptor() = 0;
  virtual AAX_Result AddComponent(AAX_IComponentDescriptor* component) = 0;
  virtual AAX_Result AddName(const char* name) = 0;
  virtual AAX_Result AddCategory(uint32_t category) = 0;
  virtual AAX_Result AddProcPtr(void* proc, AAX_EProcPtrID id) = 0;

  // Reading (host).
  virtual int32_t NumNames() const = 0;
  virtual const char* GetName(int32_t position) const = 0;
  virtual int32_t NumCategories() const = 0;
  virtual uint32_t GetCategory(int32_t position) const = 0;
  virtual int32_t NumComponents() const = 0;
  virtual const AAX_IComponentDescriptor* GetComponent(int32_t position) const = 0;
  // Null when the procedure was not added.
  virtual void* GetProcPtr(AAX_EProcPtrID id) const = 0;
};
