#pragma once

#include "adapters/aax/support/AAX_CPacketDispatcher.h"
#include "adapters/aax/support/AAX_CParameterManager.h"
#include "adapters/aax/support/AAX_IEffectParameters.h"

// The base of an effect's data model: a parameter manager, a packet
// dispatcher and the host's controller. Effects override EffectInit to add
// their parameters, and the chunk and field operations they support; the
// parameter operations here serve every parameter the manager holds.
class AAX_CEffectParameters : public AAX_IEffectParameters {
 public:
  AAX_CEffectParameters();
  ~AAX_CEffectParameters() override;
  AAX_CEffectParameters(const AAX_CEffectParameters&) = delete;
  AAX_CEffectParameters& operator=(const AAX_CEffectParameters&) = delete;

  // How many objects of this class (and of the view class) live in the
  // process: the module may unload only when none does.
  static int LiveObjects();

  AAX_Result Initialize(AAX_IController* controller) override;
  AAX_Result Uninitialize() override;

  AAX_Result GetNumberOfParameters(int32_t* count) const override;
  AAX_Result GetMasterBypassParameter(AAX_CString* identifier) const override;
  AAX_Result GetParameterIDFromIndex(int32_t index, AAX_CString* identifier) const override;
  AAX_Result GetParameterName(const char* identifier, AAX_CString* name) const override;
  AAX_Result GetParameterNumberOfSteps(const char* identifier, int32_t* steps) const override;
  AAX_Result GetParameterType(const char* identifier, AAX_EParameterType* type) const override;
  AAX_Result GetParameterIsAutomatable(const char* identifier, bool* automatable) const override;
  AAX_Result GetParameterNormalizedValue(const char* identifier, double* value) const override;
  AAX_Result GetParameterDefaultNormalizedValue(const char* identifier,
                                                double* value) const override;
  AAX_Result GetParameterValueString(const char* identifier, AAX_CString* text,
                                     int32_t maxLength) const override;
  AAX_Result GetParameterStringFromValue(const char* identifier, double normalized,
                                         AAX_CString* text, int32_t maxLength) const override;
  AAX_Result GetParameterValueFromString(const char* identifier, double* normalized,
                                         const AAX_CString& text) const override;
  // Stores the value and marks the parameter dirty.
  AAX_Result UpdateParameterNormalizedValue(const char* identifier, double value,
                                            AAX_EUpdateSource source) override;
  // Tells the host of the new value, then takes it at once as the host's
  // echo would (UpdateParameterNormalizedValue), so the instance never waits
  // on a host that defers its echo.
  AAX_Result SetParameterNormalizedValue(const char* identifier, double value) override;
  AAX_Result TouchParameter(const char* identifier) override;
  AAX_Result ReleaseParameter(const char* identifier) override;
  // Base: no change counted.
  AAX_Result GetNumberOfChanges(int32_t* changes) const override;

  // Base: one chunk, whose operations the effect supplies.
  AAX_Result GetNumberOfChunks(int32_t* count) const override;
  AAX_Result GetChunkIDFromIndex(int32_t index, AAX_CTypeID* chunkID) const override;
  AAX_Result GetChunkSize(AAX_CTypeID chunkID, uint32_t* size) override;
  AAX_Result GetChunk(AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk) override;
  AAX_Result SetChunk(AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk) override;
  AAX_Result CompareActiveChunk(const AAX_SPlugInChunk* chunk, bool* isEqual) override;
  // Base: zeroes the field.
  AAX_Result ResetFieldData(AAX_CFieldIndex field, void* data, uint32_t size) const override;

 protected:
  // Called by Initialize once the controller is known.
  virtual AAX_Result EffectInit() { return AAX_SUCCESS; }
  AAX_IController* Controller() const { return mController; }
  AAX_CParameterManager mParameterManager;
  AAX_CPacketDispatcher mPacketDispatcher;

 private:
  friend class AAX_CEffectGUI;
  static void CountObject(int delta);
  AAX_IController* mController = nullptr;
};
