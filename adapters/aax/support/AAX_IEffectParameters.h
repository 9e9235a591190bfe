#pragma once

#include <cstdint>

#include "adapters/aax/support/AAX.h"
#include "adapters/aax/support/AAX_CString.h"
#include "adapters/aax/support/AAX_SPlugInChunk.h"

class AAX_IController;

// The host's view of an effect instance's data model: its parameters (by ID
// text), its chunks and the render context fields it fills. Every call
// answers an AAX_Result; out-pointers left null answer
// AAX_ERROR_NULL_OBJECT. The host deletes the object when it removes the
// instance, after Uninitialize.
class AAX_IEffectParameters {
 public:
  virtual ~AAX_IEffectParameters() = default;

  // Keeps the host's controller and lets the effect make its parameters.
  virtual AAX_Result Initialize(AAX_IController* controller) = 0;
  virtual AAX_Result Uninitialize() = 0;

  virtual AAX_Result GetNumberOfParameters(int32_t* count) const = 0;
  virtual AAX_Result GetMasterBypassParameter(AAX_CString* identifier) const = 0;
  virtual AAX_Result GetParameterIDFromIndex(int32_t index, AAX_CString* identifier) const = 0;
  virtual AAX_Result GetParameterName(const char* identifier, AAX_CString* name) const = 0;
  virtual AAX_Result GetParameterNumberOfSteps(const char* identifier, int32_t* steps) const = 0;
  virtual AAX_Result GetParameterType(const char* identifier, AAX_EParameterType* type) const = 0;
  virtual AAX_Result GetParameterIsAutomatable(const char* identifier, bool* automatable) const = 0;
  virtual AAX_Result GetParameterNormalizedValue(const char* identifier, double* value) const = 0;
  virtual AAX_Result GetParameterDefaultNormalizedValue(const char* identifier,
                                                        double* value) const = 0;
  virtual AAX_Result GetParameterValueString(const char* identifier, AAX_CString* text,
                                             int32_t maxLength) const = 0;
  virtual AAX_Result GetParameterStringFromValue(const char* identifier, double normalized,
                                                 AAX_CString* text, int32_t maxLength) const = 0;
  virtual AAX_Result GetParameterValueFromString(const char* identifier, double* normalized,
                                                 const AAX_CString& text) const = 0;
  // The host sets a value (automation, typed value) or echoes the plug-in's own.
  virtual AAX_Result UpdateParameterNormalizedValue(const char* identifier, double value,
                                                    AAX_EUpdateSource source) = 0;
  // The plug-in's own change of a value, a touch and a release.
  virtual AAX_Result SetParameterNormalizedValue(const char* identifier, double value) = 0;
  virtual AAX_Result TouchParameter(const char* identifier) = 0;
  virtual AAX_Result ReleaseParameter(const char* identifier) = 0;
  // How many changes the host's compare has to see.
  virtual AAX_Result GetNumberOfChanges(int32_t* changes) const = 0;

  virtual AAX_Result GetNumberOfChunks(int32_t* count) const = 0;
  virtual AAX_Result GetChunkIDFromIndex(int32_t index, AAX_CTypeID* chunkID) const = 0;
  virtual AAX_Result GetChunkSize(AAX_CTypeID chunkID, uint32_t* size) = 0;
  virtual AAX_Result GetChunk(AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk) = 0;
  virtual AAX_Result SetChunk(AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk) = 0;
  virtual AAX_Result CompareActiveChunk(const AAX_SPlugInChunk* chunk, bool* isEqual) = 0;

  // Fills a render context field the host reserved for the plug-in's data
  // (size bytes at data).
  virtual AAX_Result ResetFieldData(AAX_CFieldIndex field, void* data, uint32_t size) const = 0;
};
