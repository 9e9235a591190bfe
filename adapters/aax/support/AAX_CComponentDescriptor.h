#pragma once

#include <memory>
#include <vector>

#include "adapters/aax/support/AAX_CPropertyMap.h"
#include "adapters/aax/support/AAX_IComponentDescriptor.h"

// The library's component descriptor.
class AAX_CComponentDescriptor : public AAX_IComponentDescriptor {
 public:
  AAX_Result AddAudioIn(AAX_CFieldIndex field) override;
  AAX_Result AddAudioOut(AAX_CFieldIndex field) override;
  AAX_Result AddAudioBufferLength(AAX_CFieldIndex field) override;
  AAX_Result AddMIDINode(AAX_CFieldIndex field, AAX_EMIDINodeType type, const char* name,
                         uint32_t mask) override;
  AAX_Result AddMeters(AAX_CFieldIndex field, const AAX_CTypeID* meterIDs, int32_t count) override;
  AAX_Result AddAuxOutputStem(AAX_CFieldIndex field, uint32_t stemFormat,
                              const char* name) override;
  AAX_Result AddPrivateData(AAX_CFieldIndex field, uint32_t dataSize) override;
  AAX_Result AddReservedField(AAX_CFieldIndex field) override;
  AAX_IPropertyMap* NewPropertyMap() override;
  AAX_Result AddProcessProc_Native(AAX_CProcessProc proc, AAX_IPropertyMap* properties) override;

  int32_t NumFields() const override { return static_cast<int32_t>(mFields.size()); }
  const AAX_SFieldDescription* GetField(int32_t position) const override;
  AAX_CProcessProc GetProcessProc() const override { return mProcessProc; }
  const AAX_IPropertyMap* GetProcessProperties() const override { return mProcessProperties; }

 private:
  // Adds the field unless its index is taken or negative.
  AAX_Result AddField(AAX_SFieldDescription field);
  bool OwnsPropertyMap(const AAX_IPropertyMap* map) const;

  std::vector<AAX_SFieldDescription> mFields;
  std::vector<std::unique_ptr<AAX_CPropertyMap>> mPropertyMaps;
  AAX_CProcessProc mProcessProc = nullptr;
  const AAX_IPropertyMap* mProcessProperties = nullptr;
};
