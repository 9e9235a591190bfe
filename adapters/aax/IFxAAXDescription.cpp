#include "adapters/aax/IFxAAXDescription.h"

#include <cstdio>
#include <sstream>
#include <string>

#include "adapters/aax/AAX_CEffectGUI_IFX.h"
#include "adapters/aax/AAX_CIFxParameters.h"
#include "adapters/aax/IFxAAX.h"
#include "adapters/aax/support/AAX_ICollection.h"
#include "adapters/aax/support/AAX_IComponentDescriptor.h"
#include "adapters/aax/support/AAX_IEffectDescriptor.h"
#include "adapters/aax/support/AAX_IPropertyMap.h"

#ifndef STRATUM_TRACE_AUDIO_ATTACH
#define STRATUM_TRACE_AUDIO_ATTACH 0
#endif

namespace {

constexpr AAX_CFieldIndex kFirstAuxOutputStemField = 10;

// Calls f with each non-empty line of text.
template <typename F>
void ForEachLine(const char* text, F f) {
  std::istringstream lines(text != nullptr ? text : "");
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty()) f(line.c_str());
  }
}

}  // namespace

AAX_CTypeID IFxAAXNativePlugInID(int configuration) {
  return AAX_FourCharCode('E', 'F', 'N', static_cast<char>('1' + configuration));
}

AAX_CTypeID IFxAAXAudioSuitePlugInID(int configuration) {
  return AAX_FourCharCode('E', 'F', 'A', static_cast<char>('1' + configuration));
}

AAX_Result DescribeIFxConfiguration(AAX_IEffectDescriptor* effect, const IFxAAXSetup& setup) {
  AAX_IComponentDescriptor* component = effect->NewComponentDescriptor();
  if (component == nullptr) return AAX_ERROR_NULL_OBJECT;
  AAX_Result result = AAX_SUCCESS;
  result |= setup.needsGlobalMidi
                ? component->AddMIDINode(kIFxAAXField_GlobalMIDI, AAX_eMIDINodeType_Global,
                                         setup.globalMidiNodeName, setup.globalMidiEventMask)
                : component->AddReservedField(kIFxAAXField_GlobalMIDI);
  result |= setup.needsInputMidi
                ? component->AddMIDINode(kIFxAAXField_InputMIDI, AAX_eMIDINodeType_LocalInput,
                                         setup.inputMidiNodeName, setup.inputMidiChannelMask)
                : component->AddReservedField(kIFxAAXField_InputMIDI);
  result |= setup.needsTransport
                ? component->AddMIDINode(kIFxAAXField_Transport, AAX_eMIDINodeType_Transport,
                                         setup.transportNodeName, 0xFFFF)
                : component->AddReservedField(kIFxAAXField_Transport);
  result |= component->AddAudioIn(kIFxAAXField_AudioIn);
  result |= component->AddAudioOut(kIFxAAXField_AudioOut);
  result |= component->AddAudioBufferLength(kIFxAAXField_BufferLength);
  result |= setup.meterCount >= 1
                ? component->AddMeters(kIFxAAXField_Meters, setup.meterIDs, setup.meterCount)
                : component->AddReservedField(kIFxAAXField_Meters);
  for (int i = 0; i < setup.auxOutputStemCount && i < IFxAAXSetup::kMaxAuxOutputStems; ++i) {
    result |= component->AddAuxOutputStem(kFirstAuxOutputStemField + i,
                                          setup.auxOutputStemFormats[i],
                                          setup.auxOutputStemNames[i]);
  }
  result |= component->AddPrivateData(kIFxAAXField_PrivateData, kIFxAAXPrivateDataSize);

  AAX_IPropertyMap* properties = component->NewPropertyMap();
  if (properties == nullptr) return result | AAX_ERROR_NULL_OBJECT;
  if (setup.usesHostGeneratedInterface) {
    result |= properties->AddProperty(AAX_eProperty_UsesClientGUI, 1);
  }
  result |= properties->AddProperty(AAX_eProperty_LatencyContribution, setup.latency);
  result |= properties->AddProperty(AAX_eProperty_InputStemFormat, setup.inputStemFormat);
  result |= properties->AddProperty(AAX_eProperty_OutputStemFormat, setup.outputStemFormat);
  result |= properties->AddProperty(AAX_eProperty_CanBypass, setup.canBypass ? 1 : 0);
  result |= properties->AddProperty(AAX_eProperty_ManufacturerID, setup.manufacturerID);
  result |= properties->AddProperty(AAX_eProperty_ProductID, setup.productID);
  result |= properties->AddProperty(AAX_eProperty_PlugInID_Native, setup.nativePlugInID);
  if (setup.audioSuitePlugInID != AAX_TypeIDNone) {
    result |= properties->AddProperty(AAX_eProperty_PlugInID_AudioSuite, setup.audioSuitePlugInID);
  }
  result |= component->AddProcessProc_Native(&AAX_CIFxParameters::RenderCallback, properties);
  result |= effect->AddComponent(component);
  return result;
}

AAX_Result DescribeIFxEffect(AAX_ICollection* collection, const IFxAAXEffectIdentity& identity) {
  if (collection == nullptr) return AAX_ERROR_NULL_OBJECT;
  AAX_IEffectDescriptor* effect = collection->NewDescriptor();
  if (effect == nullptr) return AAX_ERROR_NULL_OBJECT;
  AAX_Result result = AAX_SUCCESS;

  ForEachLine(identity.effectNames, [&](const char* name) {
    result |= effect->AddName(name);
    result |= collection->AddPackageName(name);
  });
  result |= effect->AddCategory(AAX_ePlugInCategory_None);

  // The input MIDI node is named after the (first) effect name.
  std::string midiNodeName;
  ForEachLine(identity.effectNames, [&](const char* name) {
    if (midiNodeName.empty()) midiNodeName = std::string(name) + " Midi";
  });

  std::istringstream pairs(identity.channelIO != nullptr ? identity.channelIO : "");
  std::string pair;
  int configuration = 0;
  while (pairs >> pair) {
    int inputs = 0;
    int outputs = 0;
    if (std::sscanf(pair.c_str(), "%d-%d", &inputs, &outputs) != 2) continue;
    if (inputs < 1) inputs = 1;
#if STRATUM_TRACE_AUDIO_ATTACH
    std::printf("***** inputs %d *****\n", inputs);
#endif
    IFxAAXSetup setup;
    setup.needsInputMidi = identity.doesMidi;
    if (identity.doesMidi) {
      setup.inputMidiNodeName = midiNodeName.c_str();
      setup.inputMidiChannelMask = 0x0001;
    }
    setup.needsTransport = true;
    setup.inputStemFormat = AAX_StemFormatForChannels(inputs);
    setup.outputStemFormat = AAX_StemFormatForChannels(outputs);
    setup.canBypass = true;
    setup.manufacturerID = identity.manufacturerID;
    setup.productID = identity.productID;
    setup.nativePlugInID = IFxAAXNativePlugInID(configuration);
    setup.audioSuitePlugInID = IFxAAXAudioSuitePlugInID(configuration);
    setup.latency = identity.latency;
    result |= DescribeIFxConfiguration(effect, setup);
    ++configuration;
  }

  result |= effect->AddProcPtr(reinterpret_cast<void*>(&IFxAAX::Create),
                               kAAX_ProcPtrID_Create_EffectParameters);
  result |= effect->AddProcPtr(reinterpret_cast<void*>(&AAX_CEffectGUI_IFX::Create),
                               kAAX_ProcPtrID_Create_EffectGUI);
  if (result == AAX_SUCCESS) result |= collection->AddEffect(identity.effectID, effect);
  ForEachLine(identity.manufacturerNames,
              [&](const char* name) { result |= collection->SetManufacturerName(name); });
  result |= collection->SetPackageVersion(identity.version);
  return result;
}
