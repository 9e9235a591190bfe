#pragma once

#include <cstdint>

// The numbers of the AAX format this library and the adapter use: result
// codes, four-character type IDs, stem formats, node and field kinds,
// description properties, procedure IDs, parameter kinds and view container
// types.

using AAX_Result = int32_t;
using AAX_CTypeID = uint32_t;
using AAX_CFieldIndex = int32_t;

// Result codes.
enum : AAX_Result {
  AAX_SUCCESS = 0,
  AAX_ERROR_INVALID_PARAMETER_ID = -20001,
  AAX_ERROR_INVALID_STRING_CONVERSION = -20002,
  AAX_ERROR_INVALID_METER_INDEX = -20003,
  AAX_ERROR_NULL_OBJECT = -20004,
  AAX_ERROR_OLDER_VERSION = -20005,
  AAX_ERROR_INVALID_CHUNK_INDEX = -20006,
  AAX_ERROR_INVALID_CHUNK_ID = -20007,
  AAX_ERROR_INCORRECT_CHUNK_SIZE = -20008,
  AAX_ERROR_UNIMPLEMENTED = -20009,
  AAX_ERROR_INVALID_PARAMETER_INDEX = -20010,
  AAX_ERROR_NOT_INITIALIZED = -20011,
  AAX_ERROR_ACF_ERROR = -20012,
  AAX_ERROR_INVALID_ARGUMENT = -20013,
  AAX_ERROR_DUPLICATE_ID = -20014,
  // The chunk's data could not be read as a whole state.
  AAX_ERROR_INVALID_CHUNK_DATA = -20015,
};

// The code the description fills in where a four-character ID is not given.
constexpr AAX_CTypeID AAX_FourCharCode(char a, char b, char c, char d) {
  return (static_cast<uint32_t>(static_cast<uint8_t>(a)) << 24) |
         (static_cast<uint32_t>(static_cast<uint8_t>(b)) << 16) |
         (static_cast<uint32_t>(static_cast<uint8_t>(c)) << 8) |
         static_cast<uint32_t>(static_cast<uint8_t>(d));
}
constexpr AAX_CTypeID AAX_TypeIDNone = 0x6E6F6E65;  // 'none'

// Stem formats: the channel count in the low 16 bits, the layout above.
enum AAX_EStemFormat : uint32_t {
  AAX_eStemFormat_Mono = 0x00000001,
  AAX_eStemFormat_Stereo = 0x00010002,
  AAX_eStemFormat_LCR = 0x00020003,
  AAX_eStemFormat_Quad = 0x00040004,
  AAX_eStemFormat_5_0 = 0x00050005,
  AAX_eStemFormat_5_1 = 0x00060006,
  AAX_eStemFormat_6_1 = 0x00080007,
  AAX_eStemFormat_7_1 = 0x000C0008,
  AAX_eStemFormat_None = 0xFF9C0000,
};
inline int AAX_StemFormatChannelCount(uint32_t stemFormat) {
  return static_cast<int>(stemFormat & 0xFFFFu);
}
// The stem format for a channel count; none beyond eight.
AAX_EStemFormat AAX_StemFormatForChannels(int channels);

// MIDI and transport node types.
enum AAX_EMIDINodeType : int32_t {
  AAX_eMIDINodeType_LocalInput = 0,
  AAX_eMIDINodeType_LocalOutput = 1,
  AAX_eMIDINodeType_Global = 2,
  AAX_eMIDINodeType_Transport = 3,
};

// Properties of a processing procedure.
enum AAX_EProperty : int32_t {
  AAX_eProperty_ManufacturerID = 11,
  AAX_eProperty_ProductID = 12,
  AAX_eProperty_PlugInID_Native = 13,
  AAX_eProperty_PlugInID_AudioSuite = 14,
  AAX_eProperty_InputStemFormat = 51,
  AAX_eProperty_OutputStemFormat = 52,
  AAX_eProperty_LatencyContribution = 56,
  AAX_eProperty_CanBypass = 60,
  AAX_eProperty_UsesClientGUI = 151,
};

// Procedures an effect descriptor hands the host.
enum AAX_EProcPtrID : int32_t {
  kAAX_ProcPtrID_Create_EffectParameters = 0,
  kAAX_ProcPtrID_Create_EffectGUI = 1,
};

// Effect categories.
enum : uint32_t { AAX_ePlugInCategory_None = 0 };

// Who changed a parameter value.
enum AAX_EUpdateSource : int32_t {
  AAX_eUpdateSource_Unspecified = 0,
  AAX_eUpdateSource_Parameter = 1,
  AAX_eUpdateSource_Chunk = 2,
  AAX_eUpdateSource_Delay = 3,
};

// Whether a parameter moves in steps or continuously.
enum AAX_EParameterType : int32_t {
  AAX_eParameterType_Discrete = 0,
  AAX_eParameterType_Continuous = 1,
};

// The native window a view container offers.
enum AAX_EViewContainerType : int32_t {
  AAX_eViewContainer_Type_NULL = 0,
  AAX_eViewContainer_Type_NSView = 1,
  AAX_eViewContainer_Type_UIView = 2,
  AAX_eViewContainer_Type_HWND = 3,
  // An X11 window ID, for the Linux build.
  AAX_eViewContainer_Type_X11Window = 4,
};

// A view size: vertical first, as the format orders it.
struct AAX_Point {
  float vert = 0.0f;
  float horz = 0.0f;
};

// The master bypass parameter's ID.
constexpr const char* cDefaultMasterBypassID = "MasterBypassID";
