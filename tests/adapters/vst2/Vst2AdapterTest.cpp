// The VST2 adapter, tested through a test module loaded the way a host
// loads it: dlopen, the entry point, then the record's entries.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "tests/adapters/vst2/Vst2TestHost.h"

namespace {

enum Param { kLevel, kMode, kSwitch, kTrim, kTicks, kInputs, kNumParams };

class Vst2AdapterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(host.Open(STRATUM_TEST_VST2_MODULE, "VSTPluginMain", &error)) << error;
    effect = host.Effect();
  }

  VstIntPtr Dispatch(int opcode, int index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) {
    return host.Dispatch(opcode, index, value, ptr, opt);
  }
  void SetParam(int index, float value) { effect->setParameter(effect, index, value); }
  float GetParam(int index) { return effect->getParameter(effect, index); }
  std::string Display(int index) {
    char text[64] = {};
    Dispatch(effParamDisplay(), index, 0, text);
    return text;
  }
  static int effParamDisplay() { return effGetParamDisplay; }
  // The chunk the plug-in hands out, copied.
  std::vector<uint8_t> GetChunk(int index) {
    void* data = nullptr;
    const VstIntPtr size = Dispatch(effGetChunk, index, 0, &data);
    if (size <= 0 || data == nullptr) return {};
    const auto* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
  }
  VstIntPtr SetChunk(int index, std::vector<uint8_t> bytes) {
    return Dispatch(effSetChunk, index, static_cast<VstIntPtr>(bytes.size()), bytes.data());
  }

  Vst2TestHost host;
  AEffect* effect = nullptr;
};

TEST_F(Vst2AdapterTest, RecordDescribesTheEffect) {
  EXPECT_EQ(effect->magic, 0x56737450);
  EXPECT_EQ(effect->numPrograms, 1);
  EXPECT_EQ(effect->numParams, kNumParams);
  EXPECT_EQ(effect->numInputs, 2);
  EXPECT_EQ(effect->numOutputs, 2);
  // Replacing, double replacing, chunks, mono capable, editor.
  EXPECT_EQ(static_cast<int32_t>(effect->flags), 0x1039);
  EXPECT_EQ(effect->version, 10203);
  EXPECT_EQ(effect->uniqueID, 0x54733246);
  EXPECT_EQ(effect->initialDelay, 0);
  EXPECT_FLOAT_EQ(effect->float1, 1.0f);
  EXPECT_NE(effect->processReplacing, nullptr);
  EXPECT_NE(effect->processDoubleReplacing, nullptr);
  EXPECT_NE(effect->process, nullptr);

  EXPECT_EQ(Dispatch(effGetVendorVersion), 10203);
  EXPECT_EQ(Dispatch(effGetVstVersion), 2400);
  EXPECT_EQ(Dispatch(effGetPlugCategory), kPlugCategEffect);
  EXPECT_EQ(Dispatch(effIdentify), 0x4E764566);
  EXPECT_EQ(Dispatch(vst2::kEffGetTailSize), 0);
  EXPECT_EQ(Dispatch(vst2::kEffProcessVarIo), 0);
  EXPECT_EQ(Dispatch(vst2::kEffSetBypass, 0, 1), 0);
  EXPECT_EQ(Dispatch(vst2::kEffIdle), 0);
  EXPECT_EQ(Dispatch(9999), 0);

  char text[128] = {};
  EXPECT_EQ(Dispatch(effGetEffectName, 0, 0, text), 1);
  EXPECT_STREQ(text, "StratumTestEffect2");
  EXPECT_EQ(Dispatch(effGetVendorString, 0, 0, text), 1);
  EXPECT_STREQ(text, "Velmar");
  EXPECT_EQ(Dispatch(effGetProductString, 0, 0, text), 1);
  EXPECT_STREQ(text, "Test Product");
  EXPECT_EQ(Dispatch(effGetEffectName), 0);
  EXPECT_EQ(Dispatch(effGetVendorString), 0);
  EXPECT_EQ(Dispatch(effGetProductString), 0);
}

TEST_F(Vst2AdapterTest, LegacyEntryPointMakesTheSameRecord) {
  Vst2TestHost other;
  std::string error;
  ASSERT_TRUE(other.Open(STRATUM_TEST_VST2_MODULE, "main", &error)) << error;
  EXPECT_NE(other.Effect(), effect);
  EXPECT_EQ(other.Effect()->uniqueID, effect->uniqueID);
  EXPECT_EQ(other.Effect()->flags, effect->flags);
}

TEST_F(Vst2AdapterTest, NullObjectAnswersNothing) {
  AEffect copy = *effect;
  copy.object = nullptr;
  char text[64] = {};
  EXPECT_EQ(copy.dispatcher(&copy, effGetEffectName, 0, 0, text, 0.0f), 0);
  EXPECT_EQ(copy.dispatcher(nullptr, effGetVstVersion, 0, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(copy.getParameter(&copy, 0), 0.0f);
  copy.setParameter(&copy, 0, 1.0f);
  EXPECT_NE(GetParam(kLevel), 1.0f);
}

TEST_F(Vst2AdapterTest, OpenIdentifiesTheHostOnce) {
  Dispatch(effOpen);
  Dispatch(effOpen);
  EXPECT_EQ(host.CallsOf(audioMasterGetProductString).size(), 1u);
  EXPECT_EQ(host.CallsOf(audioMasterGetVendorVersion).size(), 1u);
  EXPECT_EQ(effect->numInputs, 2);
  EXPECT_EQ(effect->numOutputs, 2);
}

TEST_F(Vst2AdapterTest, ParametersThroughTheRecord) {
  SetParam(kLevel, 0.5f);  // shape 2: 100 * 0.25
  EXPECT_FLOAT_EQ(GetParam(kLevel), 0.5f);
  EXPECT_EQ(Display(kLevel), "25.0");
  SetParam(kMode, 1.0f);
  EXPECT_EQ(Display(kMode), "C");

  // Out of range and not-a-number values change nothing.
  SetParam(kNumParams, 0.3f);
  SetParam(-1, 0.3f);
  SetParam(kLevel, std::nanf(""));
  EXPECT_FLOAT_EQ(GetParam(kLevel), 0.5f);
  EXPECT_EQ(GetParam(kNumParams), 0.0f);
  EXPECT_EQ(GetParam(-5), 0.0f);
  SetParam(kLevel, 7.0f);  // clamped to 1
  EXPECT_FLOAT_EQ(GetParam(kLevel), 1.0f);

  char text[64] = "untouched";
  EXPECT_EQ(Dispatch(effGetParamName, kTrim, 0, text), 0);
  EXPECT_STREQ(text, "Trim");
  Dispatch(effGetParamLabel, kTrim, 0, text);
  EXPECT_STREQ(text, "dB");
  Dispatch(effGetParamLabel, kMode, 0, text);  // named values carry no label
  EXPECT_STREQ(text, "");
  std::strcpy(text, "untouched");
  for (int index : {-1, static_cast<int>(kNumParams), 1 << 30}) {
    Dispatch(effGetParamName, index, 0, text);
    Dispatch(effGetParamLabel, index, 0, text);
    Dispatch(effGetParamDisplay, index, 0, text);
    EXPECT_STREQ(text, "untouched") << index;
  }
  Dispatch(effGetParamName, 0, 0, nullptr);  // no pointer, no crash

  EXPECT_EQ(Dispatch(effCanBeAutomated, kLevel), 1);
  EXPECT_EQ(Dispatch(effCanBeAutomated, 1000), 1);
}

TEST_F(Vst2AdapterTest, TextToParameter) {
  struct Case {
    int index;
    const char* text;
    VstIntPtr answer;
    const char* display;  // afterwards
  };
  const Case cases[] = {
      {kLevel, "3.5", 1, "3.5"},   {kLevel, "250", 1, "100.0"},  // clamped
      {kLevel, "nan", 0, "100.0"}, {kMode, "A", 1, "A"},
      {kMode, "a", 0, "A"},         {kMode, "D", 0, "A"},
      {kSwitch, "on", 1, "on"},     {kTrim, "3", 1, "3.0"},  // shown negated, stored -3
      {kNumParams, "1", 0, nullptr}, {-1, "1", 0, nullptr},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Dispatch(effString2Parameter, c.index, 0, const_cast<char*>(c.text)), c.answer)
        << c.index << " " << c.text;
    if (c.display != nullptr) {
      EXPECT_EQ(Display(c.index), c.display) << c.text;
    }
  }
  EXPECT_NEAR(GetParam(kTrim), (-3.0 + 12.0) / 24.0, 1e-6);
  // A valid index without a text answers 1 and changes nothing.
  EXPECT_EQ(Dispatch(effString2Parameter, kLevel, 0, nullptr), 1);
  EXPECT_EQ(Display(kLevel), "100.0");
}

TEST_F(Vst2AdapterTest, VendorSpecificCalls) {
  char text[64] = "untouched";
  EXPECT_EQ(Dispatch(effVendorSpecific, effGetParamDisplay, kMode, nullptr, 0.0f), 0);
  EXPECT_EQ(Dispatch(effVendorSpecific, effGetParamDisplay, kMode, text, 0.0f), 0xBEEF);
  EXPECT_STREQ(text, "A");
  std::strcpy(text, "untouched");
  EXPECT_EQ(Dispatch(effVendorSpecific, effGetParamDisplay, 99, text, 0.5f), 0xBEEF);
  EXPECT_STREQ(text, "untouched");

  EXPECT_EQ(Dispatch(effVendorSpecific, vst2::kVendorParamUsesIntStep, kMode), 0xBEEF);
  EXPECT_EQ(Dispatch(effVendorSpecific, vst2::kVendorParamUsesIntStep, kSwitch), 0xBEEF);
  EXPECT_EQ(Dispatch(effVendorSpecific, vst2::kVendorParamUsesIntStep, kLevel), 0);
  EXPECT_EQ(Dispatch(effVendorSpecific, vst2::kVendorParamUsesIntStep, -1), 0);
  EXPECT_EQ(Dispatch(effVendorSpecific, 3, kMode, text), 0);
}

TEST_F(Vst2AdapterTest, CapabilitiesAreExact) {
  const std::pair<const char*, VstIntPtr> cases[] = {
      {"receiveVstTimeInfo", 1},     {"sendVstEvents", 1},
      {"sendVstMidiEvent", 1},       {"receiveVstEvents", 1},
      {"receiveVstMidiEvent", 1},    {"hasCockosExtensions", 0xBEEF0000},
      {"HASCOCKOSEXTENSIONS", 0},    {"hasCockosViewAsConfig", 0xBEEF0000},
      {"receivevsttimeinfo", 0},     {"bypass", 0},
      {"", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Dispatch(effCanDo, 0, 0, const_cast<char*>(c.first)), c.second) << c.first;
  }
  EXPECT_EQ(Dispatch(effCanDo, 0, 0, nullptr), 0);
}

TEST_F(Vst2AdapterTest, PinsAndSpeakerArrangements) {
  struct Pin {
    char bytes[vst2::kPublishedPinPropertiesSize];
  };
  Pin pin = {};
  auto* properties = reinterpret_cast<VstPinProperties*>(&pin);
  ASSERT_EQ(Dispatch(effGetInputProperties, 0, 0, &pin), 1);
  EXPECT_EQ(properties->flags, 3);
  EXPECT_STREQ(properties->label, "Input 1");
  ASSERT_EQ(Dispatch(effGetInputProperties, 1, 0, &pin), 1);
  EXPECT_EQ(properties->flags, 1);
  EXPECT_STREQ(properties->label, "Input 2");
  ASSERT_EQ(Dispatch(effGetOutputProperties, 0, 0, &pin), 1);
  EXPECT_STREQ(properties->label, "Output 1");
  EXPECT_EQ(Dispatch(effGetInputProperties, 2, 0, &pin), 0);
  EXPECT_EQ(Dispatch(effGetOutputProperties, -1, 0, &pin), 0);
  EXPECT_EQ(Dispatch(effGetInputProperties, 0, 0, nullptr), 0);

  VstSpeakerArrangement* in = nullptr;
  VstSpeakerArrangement* out = nullptr;
  ASSERT_EQ(Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 1);
  ASSERT_NE(in, nullptr);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(in->type, kSpeakerArrStereo);
  EXPECT_EQ(in->numChannels, 2);
  EXPECT_EQ(out->numChannels, 2);
  EXPECT_EQ(Dispatch(effGetSpeakerArrangement), 1);  // nothing asked, nothing written

  // One input: the second input channel is no longer read from the host, so
  // its output carries the silence of the plug-in's own buffer.
  vst2::SpeakerArrangement mono = {};
  mono.type = kSpeakerArrMono;
  mono.numChannels = 1;
  vst2::SpeakerArrangement stereo = {};
  stereo.numChannels = 2;
  EXPECT_EQ(Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&mono), &stereo), 1);
  Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out);
  EXPECT_EQ(in->numChannels, 2);  // the plug-in's own records stay as built

  SetParam(kLevel, 1.0f);
  std::vector<float> left(16, 0.5f), right(16, 0.25f), outL(16, 9.0f), outR(16, 9.0f);
  float* ins[2] = {left.data(), right.data()};
  float* outs[2] = {outL.data(), outR.data()};
  effect->processReplacing(effect, ins, outs, 16);
  EXPECT_FLOAT_EQ(outL[5], 0.5f);
  EXPECT_FLOAT_EQ(outR[5], 0.0f);

  // Nonsense channel counts are clamped.
  mono.numChannels = -4;
  stereo.numChannels = 1 << 30;
  EXPECT_EQ(Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&mono), &stereo), 1);
}

TEST_F(Vst2AdapterTest, ProcessingEntries) {
  Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  Dispatch(effSetBlockSize, 0, 64);
  Dispatch(effMainsChanged, 0, 1);
  SetParam(kLevel, 0.5f);  // gain 0.25
  const int frames = 64;
  std::vector<float> left(frames), right(frames);
  for (int s = 0; s < frames; ++s) {
    left[s] = 0.01f * s;
    right[s] = -0.02f * s;
  }
  float* ins[2] = {left.data(), right.data()};

  std::vector<float> outL(frames, 7.0f), outR(frames, 7.0f);
  float* outs[2] = {outL.data(), outR.data()};
  host.ClearCalls();
  effect->processReplacing(effect, ins, outs, frames);
  EXPECT_FLOAT_EQ(outL[10], 0.025f);
  EXPECT_FLOAT_EQ(outR[10], -0.05f);
  EXPECT_EQ(host.CallsOf(audioMasterWantMidi).size(), 1u);

  effect->process(effect, ins, outs, frames);  // adds
  EXPECT_FLOAT_EQ(outL[10], 0.05f);
  EXPECT_FLOAT_EQ(outR[10], -0.1f);

  std::vector<double> dl(frames, 0.8), dr(frames, -0.4), doutL(frames), doutR(frames);
  double* dins[2] = {dl.data(), dr.data()};
  double* douts[2] = {doutL.data(), doutR.data()};
  effect->processDoubleReplacing(effect, dins, douts, frames);
  EXPECT_DOUBLE_EQ(doutL[3], 0.2);
  EXPECT_DOUBLE_EQ(doutR[3], -0.1);

  // More frames than the announced block size still process.
  std::vector<float> big(4 * frames, 1.0f), bigOut(4 * frames), bigOutR(4 * frames);
  float* bigIns[2] = {big.data(), big.data()};
  float* bigOuts[2] = {bigOut.data(), bigOutR.data()};
  effect->processReplacing(effect, bigIns, bigOuts, 4 * frames);
  EXPECT_FLOAT_EQ(bigOut[4 * frames - 1], 0.25f);

  // Missing buffers and empty blocks are refused without touching anything.
  float* missing[2] = {left.data(), nullptr};
  outL.assign(frames, 7.0f);
  effect->processReplacing(effect, ins, missing, frames);
  effect->processReplacing(effect, missing, outs, frames);
  effect->processReplacing(effect, nullptr, outs, frames);
  effect->processReplacing(effect, ins, nullptr, frames);
  effect->processReplacing(effect, ins, outs, 0);
  effect->processReplacing(effect, ins, outs, -5);
  effect->processDoubleReplacing(effect, nullptr, nullptr, frames);
  EXPECT_FLOAT_EQ(outL[10], 7.0f);

  // Nonsense rates and block sizes are refused; processing goes on.
  Dispatch(effSetSampleRate, 0, 0, nullptr, std::nanf(""));
  Dispatch(effSetSampleRate, 0, 0, nullptr, -1.0f);
  Dispatch(effSetBlockSize, 0, -1);
  Dispatch(effSetBlockSize, 0, VstIntPtr(1) << 40);
  effect->processReplacing(effect, ins, outs, frames);
  EXPECT_FLOAT_EQ(outL[10], 0.025f);
  Dispatch(effMainsChanged, 0, 0);
}

TEST_F(Vst2AdapterTest, TimeInfoFromTheHost) {
  enum {
    kTempo = 100, kSamplePosition, kPpq, kLastBar, kCycleStart, kCycleEnd, kNumerator,
    kDenominator, kRunning, kLooping, kTempoBpm, kSamplePos, kSigNumerator, kSigDenominator,
    kOffline, kEnd
  };
  std::vector<float> buffer(8, 0.0f);
  float* channels[2] = {buffer.data(), buffer.data()};
  // The last report of every field, from one processed block.
  auto report = [&]() {
    host.ClearCalls();
    effect->processReplacing(effect, channels, channels, 8);
    std::vector<float> values(kEnd - kTempo, -99.0f);
    for (const auto& call : host.CallsOf(audioMasterAutomate)) {
      if (call.index >= kTempo && call.index < kEnd) values[call.index - kTempo] = call.opt;
    }
    return values;
  };

  host.time.samplePos = 1000.4;
  host.time.ppqPos = 2.5;
  host.time.tempo = 90.0;
  host.time.barStartPos = 2.0;
  host.time.cycleStartPos = 4.0;
  host.time.cycleEndPos = 8.0;
  host.time.timeSigNumerator = 3;
  host.time.timeSigDenominator = 8;
  host.time.flags = kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstCyclePosValid |
                    kVstTimeSigValid | kVstTransportPlaying | kVstTransportCycleActive;
  host.processLevel = kVstProcessLevelOffline;
  std::vector<float> got = report();
  const std::vector<float> full = {90.0f, 1000.4f, 2.5f, 2.0f, 4.0f, 8.0f, 3.0f, 8.0f,
                                   1.0f,  1.0f,    90.0f, 1000.0f, 3.0f, 8.0f, 1.0f};
  EXPECT_EQ(got, full);

  // Fields whose flag is missing or whose value is out of range keep what
  // they had; the running flags always follow the host.
  host.time.flags = kVstTempoValid;
  host.time.tempo = -5.0;
  host.time.samplePos = -3.0;
  host.processLevel = 2;
  got = report();
  EXPECT_FLOAT_EQ(got[kTempo - 100], 90.0f);
  EXPECT_FLOAT_EQ(got[kSamplePosition - 100], -3.0f);
  EXPECT_FLOAT_EQ(got[kPpq - 100], 2.5f);
  EXPECT_FLOAT_EQ(got[kNumerator - 100], 3.0f);
  EXPECT_FLOAT_EQ(got[kRunning - 100], 0.0f);
  EXPECT_FLOAT_EQ(got[kTempoBpm - 100], 0.0f);   // a negative tempo gives 0
  EXPECT_FLOAT_EQ(got[kSamplePos - 100], 0.0f);  // so does a negative position
  EXPECT_FLOAT_EQ(got[kSigNumerator - 100], 0.0f);
  EXPECT_FLOAT_EQ(got[kOffline - 100], 0.0f);

  // A host that hands out no time record changes nothing.
  host.answerTime = false;
  got = report();
  EXPECT_FLOAT_EQ(got[kTempo - 100], 90.0f);
  EXPECT_FLOAT_EQ(got[kSamplePosition - 100], -3.0f);
  EXPECT_FLOAT_EQ(got[kTempoBpm - 100], 0.0f);
  EXPECT_FLOAT_EQ(got[kSigDenominator - 100], 0.0f);
}

TEST_F(Vst2AdapterTest, EditorGesturesAndPresetChangesReachTheHost) {
  host.ClearCalls();
  Dispatch(effMainsChanged, 0, 0);  // the test effect's gesture
  const auto begins = host.CallsOf(audioMasterBeginEdit);
  const auto ends = host.CallsOf(audioMasterEndEdit);
  const auto automations = host.CallsOf(audioMasterAutomate);
  ASSERT_EQ(begins.size(), 1u);
  ASSERT_EQ(ends.size(), 1u);
  ASSERT_EQ(automations.size(), 1u);
  EXPECT_EQ(begins[0].index, kLevel);
  EXPECT_EQ(automations[0].index, kLevel);
  EXPECT_FLOAT_EQ(automations[0].opt, 0.125f);  // the value as the editor gave it
  EXPECT_EQ(ends[0].index, kLevel);
  EXPECT_FLOAT_EQ(GetParam(kLevel), 0.125f);

  Dispatch(effSetProgramName, 0, 0, const_cast<char*>("Renamed"));
  EXPECT_EQ(host.CallsOf(vst2::kAudioMasterUpdateDisplay).size(), 1u);
}

TEST_F(Vst2AdapterTest, LatencyChangeRewritesTheRecord) {
  SetParam(kSwitch, 1.0f);
  EXPECT_EQ(effect->initialDelay, 32);
  SetParam(kSwitch, 0.0f);
  EXPECT_EQ(effect->initialDelay, 0);
}

TEST_F(Vst2AdapterTest, MidiAndSysExGoBackOut) {
  VstMidiEvent note = {};
  note.type = kVstMidiType;
  note.byteSize = sizeof(VstMidiEvent);
  note.deltaFrames = 12;
  note.midiData[0] = static_cast<char>(0x91);
  note.midiData[1] = 60;
  note.midiData[2] = 100;
  uint8_t dump[4] = {0xF0, 0x7D, 0x01, 0xF7};
  VstMidiSysexEvent sysex = {};
  sysex.type = kVstSysExType;
  sysex.byteSize = sizeof(VstMidiSysexEvent);
  sysex.deltaFrames = 3;
  sysex.dumpBytes = 4;
  sysex.sysexDump = reinterpret_cast<char*>(dump);
  VstEvent other = {};
  const int32_t unknownType = 99;
  std::memcpy(&other.type, &unknownType, sizeof(unknownType));
  struct {
    int32_t numEvents;
    VstIntPtr reserved;
    VstEvent* events[4];
  } list = {4, 0, {reinterpret_cast<VstEvent*>(&note), nullptr, &other,
                   reinterpret_cast<VstEvent*>(&sysex)}};

  host.ClearCalls();
  EXPECT_EQ(Dispatch(effProcessEvents, 0, 0, &list), 1);
  const auto sent = host.SentEvents();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].type, kVstMidiType);
  EXPECT_EQ(sent[0].byteSize, 32);
  EXPECT_EQ(sent[0].deltaFrames, 12);
  EXPECT_EQ(sent[0].midi[0], 0x91);
  EXPECT_EQ(sent[0].midi[1], 60);
  EXPECT_EQ(sent[0].midi[2], 100);
  EXPECT_EQ(sent[1].type, kVstSysExType);
  EXPECT_EQ(sent[1].byteSize, 48);
  EXPECT_EQ(sent[1].deltaFrames, 3);
  EXPECT_EQ(sent[1].sysex, std::vector<uint8_t>(dump, dump + 4));
  EXPECT_EQ(Dispatch(effProcessEvents, 0, 0, nullptr), 0);

  vst2::MidiKeyName key = {};
  key.thisKeyNumber = 60;
  EXPECT_EQ(Dispatch(vst2::kEffGetMidiKeyName, 0, 0, &key), 1);
  EXPECT_STREQ(key.keyName, "Middle C");
  key.thisKeyNumber = 61;
  std::strcpy(key.keyName, "stale");
  EXPECT_EQ(Dispatch(vst2::kEffGetMidiKeyName, 0, 0, &key), 0);
  EXPECT_STREQ(key.keyName, "");
  EXPECT_EQ(Dispatch(vst2::kEffGetMidiKeyName, 0, 0, nullptr), 0);
}

TEST_F(Vst2AdapterTest, ProgramsAndTheirNames) {
  char name[64] = {};
  EXPECT_EQ(Dispatch(effGetProgram), 0);
  Dispatch(effGetProgramName, 0, 0, name);
  EXPECT_STREQ(name, "-");
  EXPECT_EQ(Dispatch(effGetProgramNameIndexed, 0, 0, name), 1);
  EXPECT_STREQ(name, "-");
  EXPECT_EQ(Dispatch(effGetProgramNameIndexed, 1, 0, name), 0);
  EXPECT_STREQ(name, "");
  EXPECT_EQ(Dispatch(effGetProgramNameIndexed, -1, 0, name), 0);
  EXPECT_EQ(Dispatch(effGetProgramNameIndexed, 0, 0, nullptr), 0);

  Dispatch(effSetProgramName, 0, 0, const_cast<char*>("Bright"));
  Dispatch(effGetProgramName, 0, 0, name);
  EXPECT_STREQ(name, "Bright");
  // A long name is cut to the published 24 characters on the way out.
  const std::string longName(300, 'x');
  Dispatch(effSetProgramName, 0, 0, const_cast<char*>(longName.c_str()));
  Dispatch(effGetProgramName, 0, 0, name);
  EXPECT_EQ(std::strlen(name), 24u);
  Dispatch(effSetProgramName, 0, 0, nullptr);

  // Selecting the preset restores it; other indices change nothing.
  SetParam(kLevel, 0.25f);
  Dispatch(effSetProgram, 0, 5);
  Dispatch(effSetProgram, 0, -1);
  Dispatch(effSetProgram, 0, VstIntPtr(1) << 32);  // would wrap to 0 as an int
  EXPECT_FLOAT_EQ(GetParam(kLevel), 0.25f);
  EXPECT_EQ(Dispatch(effGetProgram), 0);
}

TEST_F(Vst2AdapterTest, ChunksRoundTrip) {
  SetParam(kLevel, 0.25f);
  SetParam(kMode, 1.0f);
  const std::vector<uint8_t> program = GetChunk(1);
  // Header (magic, framework version), then one double per parameter.
  ASSERT_EQ(program.size(), 8u + 8u * kNumParams);
  EXPECT_EQ(std::vector<uint8_t>(program.begin(), program.begin() + 8),
            (std::vector<uint8_t>{0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00}));
  const std::vector<uint8_t> bank = GetChunk(0);
  // Header, then per preset: name length, name, initialised byte, state.
  ASSERT_EQ(bank.size(), 8u + 4u + 1u + 1u + 8u * kNumParams);

  SetParam(kLevel, 0.75f);
  SetParam(kMode, 0.0f);
  ASSERT_EQ(SetChunk(1, program), 1);
  EXPECT_FLOAT_EQ(GetParam(kLevel), 0.25f);
  EXPECT_FLOAT_EQ(GetParam(kMode), 1.0f);

  SetParam(kLevel, 0.75f);
  ASSERT_EQ(SetChunk(0, bank), 1);
  EXPECT_FLOAT_EQ(GetParam(kLevel), 0.25f);

  // A program chunk handed in as a bank (header version below the bank
  // form's) is read as a program.
  std::vector<uint8_t> oldHeader = program;
  oldHeader[6] = 0;  // version 0x00000000
  SetParam(kLevel, 0.75f);
  EXPECT_EQ(SetChunk(0, oldHeader), 1);
  EXPECT_FLOAT_EQ(GetParam(kLevel), 0.25f);

  // Without the header the data is read as a plain state.
  std::vector<uint8_t> bare(program.begin() + 8, program.end());
  SetParam(kLevel, 0.75f);
  EXPECT_EQ(SetChunk(1, bare), 1);
  EXPECT_FLOAT_EQ(GetParam(kLevel), 0.25f);

  // The pointer handed out stays valid until the next call of its kind.
  void* programData = nullptr;
  Dispatch(effGetChunk, 1, 0, &programData);
  void* bankData = nullptr;
  Dispatch(effGetChunk, 0, 0, &bankData);
  EXPECT_EQ(std::memcmp(programData, program.data(), program.size()), 0);
  EXPECT_EQ(Dispatch(effGetChunk, 1, 0, nullptr), 0);
}

TEST_F(Vst2AdapterTest, DamagedChunksAreRefusedAndChangeNothing) {
  SetParam(kLevel, 0.25f);
  const std::vector<uint8_t> program = GetChunk(1);
  const std::vector<uint8_t> bank = GetChunk(0);
  SetParam(kLevel, 0.75f);
  SetParam(kTrim, 0.1f);

  std::vector<std::pair<int, std::vector<uint8_t>>> damaged;
  damaged.push_back({1, std::vector<uint8_t>(program.begin(), program.begin() + 30)});
  damaged.push_back({1, std::vector<uint8_t>(program.begin(), program.begin() + 6)});
  std::vector<uint8_t> longer = program;
  longer.resize(program.size() + 9, 0xAB);
  damaged.push_back({1, longer});
  damaged.push_back({0, std::vector<uint8_t>(bank.begin(), bank.begin() + 20)});
  std::vector<uint8_t> hugeName = bank;
  hugeName[8] = 0xFF;  // name length 0x7fffffff-ish
  hugeName[11] = 0x7F;
  damaged.push_back({0, hugeName});
  std::vector<uint8_t> negativeName = bank;
  negativeName[11] = 0x80;
  damaged.push_back({0, negativeName});
  damaged.push_back({1, std::vector<uint8_t>(program.begin(), program.begin() + 8)});

  for (size_t i = 0; i < damaged.size(); ++i) {
    EXPECT_EQ(SetChunk(damaged[i].first, damaged[i].second), 0) << "case " << i;
    EXPECT_FLOAT_EQ(GetParam(kLevel), 0.75f) << "case " << i;
    EXPECT_NEAR(GetParam(kTrim), 0.1f, 1e-6) << "case " << i;
  }
  char name[64] = {};
  Dispatch(effGetProgramNameIndexed, 0, 0, name);
  EXPECT_STREQ(name, "-");

  uint8_t byte = 0;
  EXPECT_EQ(Dispatch(effSetChunk, 1, 0, &byte), 0);
  EXPECT_EQ(Dispatch(effSetChunk, 1, -8, &byte), 0);
  EXPECT_EQ(Dispatch(effSetChunk, 1, VstIntPtr(1) << 40, &byte), 0);
  EXPECT_EQ(Dispatch(effSetChunk, 1, 64, nullptr), 0);
  EXPECT_FLOAT_EQ(GetParam(kLevel), 0.75f);
}

class Vst2EditorTest : public Vst2AdapterTest {
 protected:
  void SetUp() override {
    Vst2AdapterTest::SetUp();
    ASSERT_EQ(pipe(fds), 0);
  }
  void TearDown() override {
    close(fds[0]);
    close(fds[1]);
  }
  // Idle calls for a while, as a host's user-interface thread makes them.
  void IdleFor(std::chrono::milliseconds span) {
    const auto end = std::chrono::steady_clock::now() + span;
    while (std::chrono::steady_clock::now() < end) {
      Dispatch(effEditIdle);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  size_t Notices(int param) {
    size_t count = 0;
    for (const auto& call : host.CallsOf(audioMasterAutomate)) count += call.index == param;
    return count;
  }
  void* Parent() { return reinterpret_cast<void*>(static_cast<intptr_t>(fds[0])); }
  int fds[2] = {-1, -1};
};

TEST_F(Vst2EditorTest, RectangleOfTheEditor) {
  ERect* rect = nullptr;
  ASSERT_EQ(Dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 80);
  EXPECT_EQ(rect->right, 120);
  EXPECT_EQ(Dispatch(effEditGetRect, 0, 0, nullptr), 0);
}

TEST_F(Vst2EditorTest, IdleDrivesTheWindowTimerAndInput) {
  const auto opened = std::chrono::steady_clock::now();  // no later than the timer starts
  EXPECT_EQ(Dispatch(effEditOpen, 0, 0, nullptr), 0);
  ASSERT_EQ(Dispatch(effEditOpen, 0, 0, Parent()), 1);
  EXPECT_EQ(Dispatch(effEditOpen, 0, 0, Parent()), 0);  // already open
  host.ClearCalls();
  // Idle (every 5 ms, or as often as a loaded machine lets us) until the
  // timer has fired three times. It fires at most once per 40 ms, however
  // often the host idles, so three ticks cannot come sooner than 120 ms
  // after the window opened.
  const auto deadline = opened + std::chrono::seconds(60);
  while (Notices(kTicks) < 3 && std::chrono::steady_clock::now() < deadline) IdleFor(std::chrono::milliseconds(5));
  const auto elapsed = std::chrono::steady_clock::now() - opened;
  const size_t ticks = Notices(kTicks);
  EXPECT_EQ(ticks, 3u);
  EXPECT_LE(ticks, static_cast<size_t>(elapsed / std::chrono::milliseconds(40)));
  EXPECT_EQ(Notices(kInputs), 0u);

  ASSERT_EQ(write(fds[1], "x", 1), 1);
  Dispatch(effEditIdle);
  EXPECT_EQ(Notices(kInputs), 1u);

  EXPECT_EQ(Dispatch(effEditClose), 1);
  host.ClearCalls();
  ASSERT_EQ(write(fds[1], "x", 1), 1);
  IdleFor(std::chrono::milliseconds(100));
  EXPECT_EQ(Notices(kTicks), 0u);
  EXPECT_EQ(Notices(kInputs), 0u);
  // The window can open again.
  EXPECT_EQ(Dispatch(effEditOpen, 0, 0, Parent()), 1);
  EXPECT_EQ(Dispatch(effEditClose), 1);
}

}  // namespace
