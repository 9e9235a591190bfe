#pragma once

#include <cstddef>
#include <cstdint>

#include "adapters/aax/support/AAX.h"

class AAX_CIFxParameters;
class AAX_IMIDINode;
class AAX_ITransport;

// Where the adapter's render context keeps what, as its description tells
// the host: field n is the n-th pointer-sized slot.
enum IFxAAXField : AAX_CFieldIndex {
  kIFxAAXField_AudioIn = 0,
  kIFxAAXField_AudioOut = 1,
  kIFxAAXField_BufferLength = 3,
  kIFxAAXField_InputMIDI = 5,
  kIFxAAXField_GlobalMIDI = 6,  // reserved here
  kIFxAAXField_Transport = 7,
  kIFxAAXField_PrivateData = 8,
  kIFxAAXField_Meters = 9,      // reserved here
};

// The render context the host fills for each instance.
struct IFxAAXRenderContext {
  float** inputs;                      // 0: one pointer per input stem channel
  float** outputs;                     // 1: one pointer per output stem channel
  void* unused2;                       // 2
  int32_t* bufferLength;               // 3: the block's sample count
  void* unused4;                       // 4
  AAX_IMIDINode* inputMidi;            // 5
  AAX_IMIDINode* globalMidi;           // 6
  AAX_ITransport* transport;           // 7
  AAX_CIFxParameters** privateData;    // 8: the instance, written by ResetFieldData
  void* meters;                        // 9
};

static_assert(offsetof(IFxAAXRenderContext, outputs) == kIFxAAXField_AudioOut * sizeof(void*),
              "fields are pointer-sized slots");
static_assert(offsetof(IFxAAXRenderContext, bufferLength) ==
                  kIFxAAXField_BufferLength * sizeof(void*),
              "fields are pointer-sized slots");
static_assert(offsetof(IFxAAXRenderContext, transport) == kIFxAAXField_Transport * sizeof(void*),
              "fields are pointer-sized slots");
static_assert(offsetof(IFxAAXRenderContext, privateData) ==
                  kIFxAAXField_PrivateData * sizeof(void*),
              "fields are pointer-sized slots");
static_assert(offsetof(IFxAAXRenderContext, meters) == kIFxAAXField_Meters * sizeof(void*),
              "fields are pointer-sized slots");

// The private data's size: the instance pointer (4 bytes in 32-bit modules).
constexpr uint32_t kIFxAAXPrivateDataSize = sizeof(AAX_CIFxParameters*);
