#pragma once

#include <cstdint>

#include "adapters/aax/support/AAX.h"
#include "adapters/aax/support/AAX_CString.h"

class AAX_IPropertyMap;

// The render procedure: the host hands a range of render contexts, one per
// instance, each laid out as the component's fields describe.
using AAX_CProcessProc = void (*)(void* const contextsBegin[], const void* contextsEnd);

// What a render context field holds.
enum AAX_EFieldKind : int32_t {
  AAX_eField_Reserved = 0,
  AAX_eField_AudioIn = 1,
  AAX_eField_AudioOut = 2,
  AAX_eField_AudioBufferLength = 3,
  AAX_eField_MIDINode = 4,
  AAX_eField_Meters = 5,
  AAX_eField_AuxOutputStem = 6,
  AAX_eField_PrivateData = 7,
};

struct AAX_SFieldDescription {
  AAX_CFieldIndex index = 0;
  AAX_EFieldKind kind = AAX_eField_Reserved;
  AAX_EMIDINodeType nodeType = AAX_eMIDINodeType_LocalInput;  // MIDI nodes
  AAX_CString name;                                           // MIDI nodes, aux stems
  uint32_t mask = 0;                                          // MIDI nodes
  uint32_t dataSize = 0;                                      // private data
  uint32_t stemFormat = 0;                                    // aux stems
  int32_t meterCount = 0;                                     // meters
};

// One processing configuration of an effect: the fields of its render
// context and its render procedure with their properties. The plug-in
// describes it; the host reads it back.
class AAX_IComponentDescriptor {
 public:
  virtual ~AAX_IComponentDescriptor() = default;
  // Describing (plug-in). A field index may be described once.
  virtual AAX_Result AddAudioIn(AAX_CFieldIndex field) = 0;
  virtual AAX_Result AddAudioOut(AAX_CFieldIndex field) = 0;
  virtual AAX_Result AddAudioBufferLength(AAX_CFieldIndex field) = 0;
  virtual AAX_Result AddMIDINode(AAX_CFieldIndex field, AAX_EMIDINodeType type, const char* name,
                                 uint32_t mask) = 0;
  virtual AAX_Result AddMeters(AAX_CFieldIndex field, const AAX_CTypeID* meterIDs,
                               int32_t count) = 0;
  virtual AAX_Result AddAuxOutputStem(AAX_CFieldIndex field, uint32_t stemFormat,
                                      const char* name) = 0;
  virtual AAX_Result AddPrivateData(AAX_CFieldIndex field, uint32_t dataSize) = 0;
  virtual AAX_Result AddReservedField(AAX_CFieldIndex field) = 0;
  // A property map owned by this descriptor.
  virtual AAX_IPropertyMap* NewPropertyMap() = 0;
  virtual AAX_Result AddProcessProc_Native(AAX_CProcessProc proc, AAX_IPropertyMap* properties) = 0;

  // Reading (host).
  virtual int32_t NumFields() const = 0;
  virtual const AAX_SFieldDescription* GetField(int32_t position) const = 0;
  virtual AAX_CProcessProc GetProcessProc() const = 0;
  virtual const AAX_IPropertyMap* GetProcessProperties() const = 0;
};
