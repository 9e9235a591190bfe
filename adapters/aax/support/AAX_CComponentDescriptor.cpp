#include "adapters/aax/support/AAX_CComponentDescriptor.h"

#include <utility>

AAX_Result AAX_CComponentDescriptor::AddField(AAX_SFieldDescription field) {
  if (field.index < 0) return AAX_ERROR_INVALID_ARGUMENT;
  for (const AAX_SFieldDescription& existing : mFields) {
    if (existing.index == field.index) return AAX_ERROR_DUPLICATE_ID;
  }
  mFields.push_back(std::move(field));
  return AAX_SUCCESS;
}

AAX_Result AAX_CComponentDescriptor::AddAudioIn(AAX_CFieldIndex field) {
  AAX_SFieldDescription description;
  description.index = field;
  description.kind = AAX_eField_AudioIn;
  return AddField(std::move(description));
}

AAX_Result AAX_CComponentDescriptor::AddAudioOut(AAX_CFieldIndex field) {
  AAX_SFieldDescription description;
  description.index = field;
  description.kind = AAX_eField_AudioOut;
  return AddField(std::move(description));
}

AAX_Result AAX_CComponentDescriptor::AddAudioBufferLength(AAX_CFieldIndex field) {
  AAX_SFieldDescription description;
  description.index = field;
  description.kind = AAX_eField_AudioBufferLength;
  return AddField(std::move(description));
}

AAX_Result AAX_CComponentDescriptor::AddMIDINode(AAX_CFieldIndex field, AAX_EMIDINodeType type,
                                                 const char* name, uint32_t mask) {
  AAX_SFieldDescription description;
  description.index = field;
  description.kind = AAX_eField_MIDINode;
  description.nodeType = type;
  description.name.Set(name);
  description.mask = mask;
  return AddField(std::move(description));
}

AAX_Result AAX_CComponentDescriptor::AddMeters(AAX_CFieldIndex field, const AAX_CTypeID* meterIDs,
                                               int32_t count) {
  if (count < 1 || meterIDs == nullptr) return AAX_ERROR_INVALID_ARGUMENT;
  AAX_SFieldDescription description;
  description.index = field;
  description.kind = AAX_eField_Meters;
  description.meterCount = count;
  return AddField(std::move(description));
}

AAX_Result AAX_CComponentDescriptor::AddAuxOutputStem(AAX_CFieldIndex field, uint32_t stemFormat,
                                                      const char* name) {
  AAX_SFieldDescription description;
  description.index = field;
  description.kind = AAX_eField_AuxOutputStem;
  description.stemFormat = stemFormat;
  description.name.Set(name);
  return AddField(std::move(description));
}

AAX_Result AAX_CComponentDescriptor::AddPrivateData(AAX_CFieldIndex field, uint32_t dataSize) {
  AAX_SFieldDescription description;
  description.index = field;
  description.kind = AAX_eField_PrivateData;
  description.dataSize = dataSize;
  return AddField(std::move(description));
}

AAX_Result AAX_CComponentDescriptor::AddReservedField(AAX_CFieldIndex field) {
  AAX_SFieldDescription description;
  description.index = field;
  description.kind = AAX_eField_Reserved;
  return AddField(std::move(description));
}

AAX_IPropertyMap* AAX_CComponentDescriptor::NewPropertyMap() {
  mPropertyMaps.push_back(std::make_unique<AAX_CPropertyMap>());
  return mPropertyMaps.back().get();
}

bool AAX_CComponentDescriptor::OwnsPropertyMap(const AAX_IPropertyMap* map) const {
  for (const auto& owned : mPropertyMaps) {
    if (owned.get() == map) return true;
  }
  return false;
}

AAX_Result AAX_CComponentDescriptor::AddProcessProc_Native(AAX_CProcessProc proc,
                                                           AAX_IPropertyMap* properties) {
  if (proc == nullptr) return AAX_ERROR_NULL_OBJECT;
  if (properties != nullptr && !OwnsPropertyMap(properties)) return AAX_ERROR_INVALID_ARGUMENT;
  mProcessProc = proc;
  mProcessProperties = properties;
  return AAX_SUCCESS;
}

const AAX_SFieldDescription* AAX_CComponentDescriptor::GetField(int32_t position) const {
  if (position < 0 || position >= NumFields()) return nullptr;
  return &mFields[position];
}
