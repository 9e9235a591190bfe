#pragma once

// The VST 2.4 plug-in interface as this adapter uses it: Debian's fst
// header for the records and the constants it names, plus the numbers it
// leaves unnamed (or names differently) with their published values. Every
// record whose layout the adapter or a host relies on is checked below
// against the published 64-bit layout.

#include <cstddef>
#include <cstdint>

#include <pluginterfaces/fst/aeffectx.h>

namespace vst2 {

// --- Plug-in (dispatcher) opcodes the fst header lacks or marks unknown.
constexpr int kEffGetTailSize = 52;
constexpr int kEffIdle = 53;
constexpr int kEffProcessVarIo = 41;
constexpr int kEffSetBypass = 44;
constexpr int kEffGetMidiKeyName = 66;  // fst: fst_effGetMidiNoteName
constexpr int kEffGetParameterProperties = 56;

// --- Host callback opcodes the fst header lacks or marks unknown.
constexpr int kAudioMasterIdle = 3;
constexpr int kAudioMasterUpdateDisplay = 42;

// --- Pin property flags (fst leaves them 0).
constexpr int kPinIsActive = 1;
constexpr int kPinIsStereo = 2;

// --- Plug-in flag of the deprecated mono capability (bit 3).
constexpr int kFlagsCanMono = 1 << 3;

// The AEffect magic, 'VstP'.
constexpr int32_t kEffectMagic = 0x56737450;
// effIdentify's answer, 'NvEf'.
constexpr intptr_t kIdentifyAnswer = 0x4E764566;
// effGetVstVersion's answer.
constexpr intptr_t kVstVersion2400 = 2400;
// The extension answer of effCanDo and effVendorSpecific.
constexpr intptr_t kVendorAnswer = 0xBEEF;
constexpr intptr_t kVendorCanDoAnswer = 0xBEEF0000;
// effVendorSpecific index asking whether a parameter steps in whole numbers.
constexpr int kVendorParamUsesIntStep = 8;

// Longest key name of a MidiKeyName record (kVstMaxNameLen).
constexpr int kMaxNameLen = 64;
// The number of speakers in the published speaker arrangement record.
constexpr int kArrangementSpeakers = 8;

// effGetMidiKeyName's record, which fst does not declare.
struct MidiKeyName {
  int32_t thisProgramIndex;
  int32_t thisKeyNumber;
  char keyName[kMaxNameLen];
  int32_t reserved;
  int32_t flags;
};

// The published speaker arrangement with its eight speakers (fst declares
// the speakers as an open array). Handed to hosts as a VstSpeakerArrangement.
struct SpeakerArrangement {
  int32_t type;
  int32_t numChannels;
  VstSpeakerProperties speakers[kArrangementSpeakers];
};

// The AEffect record followed by the published record's 56 reserved bytes,
// which fst's record leaves out; hosts receive the address of `effect`.
struct EffectRecord {
  AEffect effect;
  char future[56];
};

// --- Layout checks against the published 2.4 interface (64-bit).
static_assert(sizeof(void*) == 8, "the layouts below are the 64-bit ones");

static_assert(offsetof(AEffect, magic) == 0, "AEffect layout");
static_assert(offsetof(AEffect, dispatcher) == 8, "AEffect layout");
static_assert(offsetof(AEffect, process) == 16, "AEffect layout");
static_assert(offsetof(AEffect, setParameter) == 24, "AEffect layout");
static_assert(offsetof(AEffect, getParameter) == 32, "AEffect layout");
static_assert(offsetof(AEffect, numPrograms) == 40, "AEffect layout");
static_assert(offsetof(AEffect, numParams) == 44, "AEffect layout");
static_assert(offsetof(AEffect, numInputs) == 48, "AEffect layout");
static_assert(offsetof(AEffect, numOutputs) == 52, "AEffect layout");
// Published: a 32-bit flags word at 56 followed by padding; fst's field is
// pointer-sized, which on a little-endian machine covers the same bytes.
static_assert(offsetof(AEffect, flags) == 56, "AEffect layout");
static_assert(offsetof(AEffect, resvd1) == 64, "AEffect layout");
static_assert(offsetof(AEffect, resvd2) == 72, "AEffect layout");
static_assert(offsetof(AEffect, initialDelay) == 80, "AEffect layout");
static_assert(offsetof(AEffect, float1) == 92, "AEffect layout: ioRatio");
static_assert(offsetof(AEffect, object) == 96, "AEffect layout");
static_assert(offsetof(AEffect, user) == 104, "AEffect layout");
static_assert(offsetof(AEffect, uniqueID) == 112, "AEffect layout");
static_assert(offsetof(AEffect, version) == 116, "AEffect layout");
static_assert(offsetof(AEffect, processReplacing) == 120, "AEffect layout");
static_assert(offsetof(AEffect, processDoubleReplacing) == 128, "AEffect layout");
static_assert(sizeof(EffectRecord) == 192, "AEffect with its reserved bytes");
static_assert(offsetof(EffectRecord, effect) == 0, "hosts receive the record's start");

static_assert(offsetof(VstTimeInfo, samplePos) == 0, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, ppqPos) == 24, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, tempo) == 32, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, barStartPos) == 40, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, cycleStartPos) == 48, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, cycleEndPos) == 56, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, timeSigNumerator) == 64, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, timeSigDenominator) == 68, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, flags) == 84, "VstTimeInfo layout");
// A host's record is 88 bytes; nothing past the flags is read.
constexpr size_t kPublishedTimeInfoSize = 88;

static_assert(offsetof(VstEvents, numEvents) == 0, "VstEvents layout");
static_assert(offsetof(VstEvents, events) == 16, "VstEvents layout");
static_assert(offsetof(VstEvent, type) == 0, "VstEvent layout");
static_assert(offsetof(VstEvent, byteSize) == 4, "VstEvent layout");
static_assert(offsetof(VstEvent, deltaFrames) == 8, "VstEvent layout");
static_assert(offsetof(VstMidiEvent, midiData) == 24, "VstMidiEvent layout");
static_assert(sizeof(VstMidiEvent) == 32, "VstMidiEvent layout");
// Published: a 32-bit dumpBytes at 16 and padding; fst's field is
// pointer-sized, so only its low 32 bits are read.
static_assert(offsetof(VstMidiSysexEvent, dumpBytes) == 16, "VstMidiSysexEvent layout");
static_assert(offsetof(VstMidiSysexEvent, sysexDump) == 32, "VstMidiSysexEvent layout");
static_assert(sizeof(VstMidiSysexEvent) == 48, "VstMidiSysexEvent layout");

static_assert(offsetof(VstPinProperties, label) == 0, "VstPinProperties layout");
static_assert(offsetof(VstPinProperties, flags) == 64, "VstPinProperties layout");
static_assert(offsetof(VstPinProperties, arrangementType) == 68, "VstPinProperties layout");
static_assert(offsetof(VstPinProperties, shortLabel) == 72, "VstPinProperties layout");
// Hosts pass the published 128-byte record; fst's is its first 80 bytes.
constexpr size_t kPublishedPinPropertiesSize = 128;

static_assert(sizeof(VstSpeakerProperties) == 112, "VstSpeakerProperties layout");
static_assert(offsetof(VstSpeakerArrangement, numChannels) == 4, "arrangement layout");
static_assert(offsetof(SpeakerArrangement, speakers) == 8, "arrangement layout");
static_assert(sizeof(SpeakerArrangement) == 8 + 8 * 112, "arrangement layout");

static_assert(sizeof(ERect) == 8 && offsetof(ERect, left) == 2 && offsetof(ERect, bottom) == 4 &&
                  offsetof(ERect, right) == 6,
              "ERect layout");
static_assert(offsetof(MidiKeyName, keyName) == 8 && sizeof(MidiKeyName) == 80,
              "MidiKeyName layout");

// --- Numbers fst does name, checked against the published ones.
static_assert(effOpen == 0 && effClose == 1 && effSetProgram == 2 && effGetProgram == 3 &&
                  effSetProgramName == 4 && effGetProgramName == 5 && effGetParamLabel == 6 &&
                  effGetParamDisplay == 7 && effGetParamName == 8 && effSetSampleRate == 10 &&
                  effSetBlockSize == 11 && effMainsChanged == 12 && effEditGetRect == 13 &&
                  effEditOpen == 14 && effEditClose == 15 && effEditIdle == 19 &&
                  effIdentify == 22 && effGetChunk == 23 && effSetChunk == 24 &&
                  effProcessEvents == 25 && effCanBeAutomated == 26 &&
                  effString2Parameter == 27 && effGetProgramNameIndexed == 29 &&
                  effGetInputProperties == 33 && effGetOutputProperties == 34 &&
                  effGetPlugCategory == 35 && effSetSpeakerArrangement == 42 &&
                  effGetEffectName == 45 && effGetVendorString == 47 &&
                  effGetProductString == 48 && effGetVendorVersion == 49 &&
                  effVendorSpecific == 50 && effCanDo == 51 && effGetVstVersion == 58 &&
                  effGetSpeakerArrangement == 69,
              "plug-in opcodes");
static_assert(audioMasterAutomate == 0 && audioMasterVersion == 1 && audioMasterWantMidi == 6 &&
                  audioMasterGetTime == 7 && audioMasterProcessEvents == 8 &&
                  audioMasterGetCurrentProcessLevel == 23 &&
                  audioMasterGetProductString == 33 && audioMasterGetVendorVersion == 34 &&
                  audioMasterCanDo == 37 && audioMasterBeginEdit == 43 &&
                  audioMasterEndEdit == 44,
              "host opcodes");
static_assert(effFlagsHasEditor == 1 && effFlagsCanReplacing == 0x10 &&
                  effFlagsProgramChunks == 0x20 && effFlagsIsSynth == 0x100 &&
                  effFlagsCanDoubleReplacing == 0x1000,
              "plug-in flags");
static_assert(kVstTransportPlaying == 2 && kVstTransportCycleActive == 4 &&
                  kVstPpqPosValid == 0x200 && kVstTempoValid == 0x400 &&
                  kVstBarsValid == 0x800 && kVstCyclePosValid == 0x1000 &&
                  kVstTimeSigValid == 0x2000,
              "time info flags");
static_assert(kVstMidiType == 1 && kVstSysExType == 6, "event types");
static_assert(kSpeakerArrEmpty == -1 && kSpeakerArrMono == 0 && kSpeakerArrStereo == 1 &&
                  kSpeakerArrUserDefined == -2,
              "speaker arrangement types");
static_assert(kPlugCategEffect == 1 && kPlugCategSynth == 2, "plug-in categories");
static_assert(kVstProcessLevelOffline == 4, "process levels");

}  // namespace vst2
