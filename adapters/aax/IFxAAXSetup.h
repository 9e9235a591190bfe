#pragma once

#include <cstdint>

#include "adapters/aax/support/AAX.h"

// What describes one processing configuration to the host. The defaults are
// those of a plain effect; the description fills in the rest.
struct IFxAAXSetup {
  static constexpr int kMaxAuxOutputStems = 16;

  bool needsGlobalMidi = false;
  const char* globalMidiNodeName = "GlobalMIDI";
  uint32_t globalMidiEventMask = 0xFFFF;
  bool needsInputMidi = false;
  const char* inputMidiNodeName = "InputMIDI";
  uint32_t inputMidiChannelMask = 0xFFFF;
  bool needsTransport = false;
  const char* transportNodeName = "Transport";
  int meterCount = 0;
  const AAX_CTypeID* meterIDs = nullptr;
  int auxOutputStemCount = 0;
  const char* auxOutputStemNames[kMaxAuxOutputStems] = {};
  AAX_EStemFormat auxOutputStemFormats[kMaxAuxOutputStems] = {};
  AAX_EStemFormat inputStemFormat = AAX_eStemFormat_Mono;
  AAX_EStemFormat outputStemFormat = AAX_eStemFormat_Mono;
  bool usesHostGeneratedInterface = false;
  bool canBypass = true;
  AAX_CTypeID manufacturerID = AAX_TypeIDNone;
  AAX_CTypeID productID = AAX_TypeIDNone;
  AAX_CTypeID nativePlugInID = AAX_TypeIDNone;
  AAX_CTypeID audioSuitePlugInID = AAX_TypeIDNone;
  int latency = 0;

  IFxAAXSetup() {
    for (AAX_EStemFormat& format : auxOutputStemFormats) format = AAX_eStemFormat_Mono;
  }
};
