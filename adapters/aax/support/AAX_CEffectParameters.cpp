#include "adapters/aax/support/AAX_CEffectParameters.h"

#include <atomic>
#include <cstring>

#include "adapters/aax/support/AAX_IController.h"

namespace {

std::atomic<int>& LiveObjectCount() {
  static std::atomic<int> count{0};
  return count;
}

}  // namespace

AAX_CEffectParameters::AAX_CEffectParameters() { CountObject(1); }
AAX_CEffectParameters::~AAX_CEffectParameters() { CountObject(-1); }

void AAX_CEffectParameters::CountObject(int delta) { LiveObjectCount() += delta; }
int AAX_CEffectParameters::LiveObjects() { return LiveObjectCount().load(); }

AAX_Result AAX_CEffectParameters::Initialize(AAX_IController* controller) {
  if (controller == nullptr) return AAX_ERROR_NULL_OBJECT;
  mController = controller;
  return EffectInit();
}

AAX_Result AAX_CEffectParameters::Uninitialize() {
  mController = nullptr;
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetNumberOfParameters(int32_t* count) const {
  if (count == nullptr) return AAX_ERROR_NULL_OBJECT;
  *count = mParameterManager.NumParameters();
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetMasterBypassParameter(AAX_CString* identifier) const {
  if (identifier == nullptr) return AAX_ERROR_NULL_OBJECT;
  identifier->Set(cDefaultMasterBypassID);
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterIDFromIndex(int32_t index,
                                                          AAX_CString* identifier) const {
  if (identifier == nullptr) return AAX_ERROR_NULL_OBJECT;
  const AAX_IParameter* parameter = mParameterManager.GetParameter(index);
  if (parameter == nullptr) return AAX_ERROR_INVALID_PARAMETER_INDEX;
  *identifier = parameter->Identifier();
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterName(const char* identifier,
                                                   AAX_CString* name) const {
  if (name == nullptr) return AAX_ERROR_NULL_OBJECT;
  const AAX_IParameter* parameter = mParameterManager.GetParameterByID(identifier);
  if (parameter == nullptr) return AAX_ERROR_INVALID_PARAMETER_ID;
  *name = parameter->Name();
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterNumberOfSteps(const char* identifier,
                                                            int32_t* steps) const {
  if (steps == nullptr) return AAX_ERROR_NULL_OBJECT;
  const AAX_IParameter* parameter = mParameterManager.GetParameterByID(identifier);
  if (parameter == nullptr) return AAX_ERROR_INVALID_PARAMETER_ID;
  *steps = static_cast<int32_t>(parameter->GetNumberOfSteps());
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterType(const char* identifier,
                                                   AAX_EParameterType* type) const {
  if (type == nullptr) return AAX_ERROR_NULL_OBJECT;
  const AAX_IParameter* parameter = mParameterManager.GetParameterByID(identifier);
  if (parameter == nullptr) return AAX_ERROR_INVALID_PARAMETER_ID;
  *type = parameter->GetType();
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterIsAutomatable(const char* identifier,
                                                            bool* automatable) const {
  if (automatable == nullptr) return AAX_ERROR_NULL_OBJECT;
  const AAX_IParameter* parameter = mParameterManager.GetParameterByID(identifier);
  if (parameter == nullptr) return AAX_ERROR_INVALID_PARAMETER_ID;
  *automatable = parameter->Automatable();
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterNormalizedValue(const char* identifier,
                                                              double* value) const {
  if (value == nullptr) return AAX_ERROR_NULL_OBJECT;
  const AAX_IParameter* parameter = mParameterManager.GetParameterByID(identifier);
  if (parameter == nullptr) return AAX_ERROR_INVALID_PARAMETER_ID;
  *value = parameter->GetNormalizedValue();
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterDefaultNormalizedValue(const char* identifier,
                                                                     double* value) const {
  if (value == nullptr) return AAX_ERROR_NULL_OBJECT;
  const AAX_IParameter* parameter = mParameterManager.GetParameterByID(identifier);
  if (parameter == nullptr) return AAX_ERROR_INVALID_PARAMETER_ID;
  *value = parameter->GetNormalizedDefaultValue();
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterValueString(const char* identifier,
                                                          AAX_CString* text,
                                                          int32_t maxLength) const {
  if (text == nullptr) return AAX_ERROR_NULL_OBJECT;
  const AAX_IParameter* parameter = mParameterManager.GetParameterByID(identifier);
  if (parameter == nullptr) return AAX_ERROR_INVALID_PARAMETER_ID;
  return parameter->GetValueString(maxLength, text) ? AAX_SUCCESS
                                                    : AAX_ERROR_INVALID_STRING_CONVERSION;
}

AAX_Result AAX_CEffectParameters::GetParameterStringFromValue(const char* identifier,
                                                              double normalized,
                                                              AAX_CString* text,
                                                              int32_t maxLength) const {
  if (text == nullptr) return AAX_ERROR_NULL_OBJECT;
  const AAX_IParameter* parameter = mParameterManager.GetParameterByID(identifier);
  if (parameter == nullptr) return AAX_ERROR_INVALID_PARAMETER_ID;
  return parameter->GetStringFromNormalizedValue(normalized, maxLength, text)
             ? AAX_SUCCESS
             : AAX_ERROR_INVALID_STRING_CONVERSION;
}

AAX_Result AAX_CEffectParameters::GetParameterValueFromString(const char* identifier,
                                                              double* normalized,
                                                              const AAX_CString& text) const {
  if (normalized == nullptr) return AAX_ERROR_NULL_OBJECT;
  const AAX_IParameter* parameter = mParameterManager.GetParameterByID(identifier);
  if (parameter == nullptr) return AAX_ERROR_INVALID_PARAMETER_ID;
  return parameter->GetNormalizedValueFromString(text, normalized)
             ? AAX_SUCCESS
             : AAX_ERROR_INVALID_STRING_CONVERSION;
}

AAX_Result AAX_CEffectParameters::UpdateParameterNormalizedValue(const char* identifier,
                                                                 double value,
                                                                 AAX_EUpdateSource /*source*/) {
  AAX_IParameter* parameter = mParameterManager.GetParameterByID(identifier);
  if (parameter == nullptr) return AAX_ERROR_INVALID_PARAMETER_ID;
  parameter->SetNormalizedValue(value);
  return mPacketDispatcher.SetDirty(identifier);
}

AAX_Result AAX_CEffectParameters::SetParameterNormalizedValue(const char* identifier,
                                                              double value) {
  if (mParameterManager.GetParameterByID(identifier) == nullptr) {
    return AAX_ERROR_INVALID_PARAMETER_ID;
  }
  if (mController != nullptr) mController->PostSetValueRequest(identifier, value);
  return UpdateParameterNormalizedValue(identifier, value, AAX_eUpdateSource_Parameter);
}

AAX_Result AAX_CEffectParameters::TouchParameter(const char* identifier) {
  if (mParameterManager.GetParameterByID(identifier) == nullptr) {
    return AAX_ERROR_INVALID_PARAMETER_ID;
  }
  return mController != nullptr ? mController->PostTouchRequest(identifier) : AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::ReleaseParameter(const char* identifier) {
  if (mParameterManager.GetParameterByID(identifier) == nullptr) {
    return AAX_ERROR_INVALID_PARAMETER_ID;
  }
  return mController != nullptr ? mController->PostReleaseRequest(identifier) : AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetNumberOfChanges(int32_t* changes) const {
  if (changes == nullptr) return AAX_ERROR_NULL_OBJECT;
  *changes = 0;
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetNumberOfChunks(int32_t* count) const {
  if (count == nullptr) return AAX_ERROR_NULL_OBJECT;
  *count = 1;
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetChunkIDFromIndex(int32_t /*index*/,
                                                      AAX_CTypeID* chunkID) const {
  if (chunkID == nullptr) return AAX_ERROR_NULL_OBJECT;
  *chunkID = 0;
  return AAX_ERROR_INVALID_CHUNK_INDEX;
}

AAX_Result AAX_CEffectParameters::GetChunkSize(AAX_CTypeID /*chunkID*/, uint32_t* size) {
  if (size == nullptr) return AAX_ERROR_NULL_OBJECT;
  *size = 0;
  return AAX_ERROR_INVALID_CHUNK_ID;
}

AAX_Result AAX_CEffectParameters::GetChunk(AAX_CTypeID /*chunkID*/, AAX_SPlugInChunk* /*chunk*/) {
  return AAX_ERROR_INVALID_CHUNK_ID;
}

AAX_Result AAX_CEffectParameters::SetChunk(AAX_CTypeID /*chunkID*/,
                                           const AAX_SPlugInChunk* /*chunk*/) {
  return AAX_ERROR_INVALID_CHUNK_ID;
}

AAX_Result AAX_CEffectParameters::CompareActiveChunk(const AAX_SPlugInChunk* /*chunk*/,
                                                     bool* isEqual) {
  if (isEqual == nullptr) return AAX_ERROR_NULL_OBJECT;
  *isEqual = true;
  return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::ResetFieldData(AAX_CFieldIndex /*field*/, void* data,
                                                 uint32_t size) const {
  if (data == nullptr) return size == 0 ? AAX_SUCCESS : AAX_ERROR_NULL_OBJECT;
  std::memset(data, 0, size);
  return AAX_SUCCESS;
}
