// The VST3 adapter through real module loading: a test module with a small
// effect is loaded with dlopen, entered, and driven through the factory and
// the component's interfaces the way a host drives it.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstmidicontrollers.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "pluginterfaces/vst/vstspeaker.h"
#include "tests/adapters/vst3/TestEffect.h"
#include "tests/adapters/vst3/HostedPluginTest.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr ParamID kPresetId = 0x70727374;
constexpr ParamID kBypassId = 0x62706173;
constexpr ParamID kLevel = TestEffect::kLevel;
constexpr ParamID kMode = TestEffect::kMode;
constexpr ParamID kSwitch = TestEffect::kSwitch;
constexpr int kEffectParams = TestEffect::kNumParams;
constexpr ParamID kFirstController = kEffectParams;

class Vst3AdapterTest : public HostedPluginTest {
 protected:
  void SetUp() override { Open(STRATUM_TEST_VST3_MODULE); }

  // Stereo blocks of frames samples: the input is a ramp, the output zeroed.
  void MakeStereoBlock(int frames) {
    in.assign(2, std::vector<float>(frames));
    out.assign(2, std::vector<float>(frames, 0.0f));
    for (int c = 0; c < 2; ++c) {
      for (int s = 0; s < frames; ++s) in[c][s] = 0.01f * static_cast<float>(s + 1) * (c ? -1 : 1);
    }
  }
};

TEST_F(Vst3AdapterTest, FactoryDescribesOneSingleComponentClass) {
  PFactoryInfo factoryInfo;
  ASSERT_EQ(module->Factory()->getFactoryInfo(&factoryInfo), kResultOk);
  EXPECT_STREQ(factoryInfo.vendor, "Velmar");
  EXPECT_EQ(factoryInfo.flags, PFactoryInfo::kUnicode);
  ASSERT_EQ(module->Factory()->countClasses(), 1);

  FUnknownPtr<IPluginFactory2> factory2(module->Factory());
  ASSERT_TRUE(factory2);
  PClassInfo2 info;
  ASSERT_EQ(factory2->getClassInfo2(0, &info), kResultOk);
  const unsigned char expectedId[16] = {0x0D, 0xE7, 0xAE, 0xF2, 0xDE, 0x00, 0x4E, 0x4F,
                                        'V',  'l',  'M',  'r',  'T',  's',  'E',  'f'};
  EXPECT_EQ(std::memcmp(info.cid, expectedId, 16), 0);
  EXPECT_EQ(info.cardinality, PClassInfo::kManyInstances);
  EXPECT_STREQ(info.category, "Audio Module Class");
  EXPECT_STREQ(info.name, "StratumTestEffect");
  EXPECT_EQ(info.classFlags, 2u);
  EXPECT_STREQ(info.subCategories, "Fx|Test");
  EXPECT_STREQ(info.vendor, "");
  EXPECT_STREQ(info.version, "1.2.3");
  EXPECT_STREQ(info.sdkVersion, "VST 3.5.2");

  FUnknownPtr<IPluginFactory3> factory3(module->Factory());
  ASSERT_TRUE(factory3);
  PClassInfoW wide;
  ASSERT_EQ(factory3->getClassInfoUnicode(0, &wide), kResultOk);
  EXPECT_EQ(ToAscii(wide.name), "StratumTestEffect");
  EXPECT_EQ(ToAscii(wide.sdkVersion), "VST 3.5.2");
  PClassInfo plain;
  EXPECT_NE(module->Factory()->getClassInfo(1, &plain), kResultOk);
}

TEST_F(Vst3AdapterTest, ModuleHandsOutOneFactoryAndRefusesUnknownClasses) {
  using FactoryFunction = IPluginFactory* (PLUGIN_API*)();
  auto getFactory =
      reinterpret_cast<FactoryFunction>(module->Symbol("GetPluginFactory"));
  IPluginFactory* again = getFactory();
  EXPECT_EQ(again, module->Factory());
  again->release();

  TUID unknown = {};
  void* object = reinterpret_cast<void*>(1);
  EXPECT_NE(module->Factory()->createInstance(unknown, IComponent::iid, &object), kResultOk);
  EXPECT_EQ(object, nullptr);

  // A class asked for an interface it does not have gives nothing back.
  PClassInfo info;
  module->Factory()->getClassInfo(0, &info);
  object = reinterpret_cast<void*>(1);
  EXPECT_NE(module->Factory()->createInstance(info.cid, IPlugView::iid, &object), kResultOk);
  EXPECT_EQ(object, nullptr);

  EXPECT_EQ(module->Symbol("MakeEffectInstance"), nullptr);
}

TEST_F(Vst3AdapterTest, OneObjectAnswersEveryComponentInterface) {
  FUnknown* identity = nullptr;
  ASSERT_EQ(plugin->Component()->queryInterface(FUnknown::iid, reinterpret_cast<void**>(&identity)),
            kResultOk);
  const FUID* interfaces[] = {&IComponent::iid,   &IAudioProcessor::iid, &IEditController::iid,
                              &IEditController2::iid, &IUnitInfo::iid,   &IMidiMapping::iid,
                              &IConnectionPoint::iid, &IPluginBase::iid};
  for (const FUID* iid : interfaces) {
    TUID tuid;
    iid->toTUID(tuid);
    FUnknown* object = nullptr;
    ASSERT_EQ(plugin->Controller()->queryInterface(tuid, reinterpret_cast<void**>(&object)),
              kResultOk);
    FUnknown* objectIdentity = nullptr;
    object->queryInterface(FUnknown::iid, reinterpret_cast<void**>(&objectIdentity));
    EXPECT_EQ(objectIdentity, identity);
    objectIdentity->release();
    object->release();
  }
  identity->release();
}

TEST_F(Vst3AdapterTest, ParametersComeInHostOrderWithTheirFlags) {
  ASSERT_EQ(plugin->Controller()->getParameterCount(), 2 + kEffectParams + 128);

  ParameterInfo preset = InfoAt(0);
  EXPECT_EQ(preset.id, kPresetId);
  EXPECT_EQ(ToAscii(preset.title), "Preset");
  EXPECT_EQ(preset.stepCount, 1);
  EXPECT_EQ(preset.flags, ParameterInfo::kIsProgramChange);

  ParameterInfo bypass = InfoAt(1);
  EXPECT_EQ(bypass.id, kBypassId);
  EXPECT_EQ(ToAscii(bypass.title), "Bypass");
  EXPECT_EQ(bypass.flags, 0x10009);
  EXPECT_EQ(bypass.stepCount, 1);

  ParameterInfo level = InfoAt(2);
  EXPECT_EQ(level.id, kLevel);
  EXPECT_EQ(ToAscii(level.title), "Level");
  EXPECT_EQ(ToAscii(level.units), "%");
  EXPECT_EQ(level.flags, ParameterInfo::kCanAutomate);
  EXPECT_EQ(level.stepCount, 0);
  EXPECT_DOUBLE_EQ(level.defaultNormalizedValue, 0.5);  // the SDK maps plain values linearly
  EXPECT_EQ(level.unitId, 1);

  ParameterInfo mode = InfoAt(3);
  EXPECT_EQ(mode.id, kMode);
  EXPECT_EQ(mode.flags, ParameterInfo::kCanAutomate | ParameterInfo::kIsList);
  EXPECT_EQ(mode.stepCount, 2);
  EXPECT_DOUBLE_EQ(mode.defaultNormalizedValue, 0.5);
  EXPECT_EQ(mode.unitId, 2);
  EXPECT_EQ(InfoAt(4).unitId, 2);  // "Switch" shares the category of "Mode"
  EXPECT_EQ(InfoAt(5).unitId, kRootUnitId);

  for (int n = 0; n < 128; ++n) {
    ParameterInfo controller = InfoAt(2 + kEffectParams + n);
    ASSERT_EQ(controller.id, kFirstController + n);
    ASSERT_EQ(ToAscii(controller.title), "MIDI CC");
    ASSERT_EQ(controller.flags, ParameterInfo::kCanAutomate);
  }
}

TEST_F(Vst3AdapterTest, ValueTextsAndConversions) {
  EXPECT_EQ(Text(kLevel, 0.5), "25.0");  // shape 2: 0.5^2 of the range
  EXPECT_EQ(Text(kMode, 0.5), "B");
  EXPECT_EQ(Text(kMode, 1.0), "C");
  EXPECT_EQ(Text(kSwitch, 1.0), "on");
  EXPECT_EQ(Text(kBypassId, 1.0), "on");
  EXPECT_EQ(Text(kBypassId, 0.0), "off");
  EXPECT_EQ(Text(0x7FFF0000, 0.5), "<refused>");

  // The adapter's conversion follows the parameter's curve...
  EXPECT_DOUBLE_EQ(plugin->Controller()->plainParamToNormalized(kLevel, 25.0), 0.5);
  EXPECT_DOUBLE_EQ(plugin->Controller()->plainParamToNormalized(kLevel, 500.0), 1.0);
  // ...while the SDK's own reverse conversion stays linear.
  EXPECT_DOUBLE_EQ(plugin->Controller()->normalizedParamToPlain(kLevel, 0.5), 50.0);
  EXPECT_DOUBLE_EQ(plugin->Controller()->plainParamToNormalized(kFirstController + 3, 127.0), 1.0);
  EXPECT_DOUBLE_EQ(plugin->Controller()->plainParamToNormalized(0x7FFF0000, 42.0), 42.0);
}

TEST_F(Vst3AdapterTest, ControllerValuesAreSetWithoutNotices) {
  EXPECT_NEAR(plugin->Controller()->getParamNormalized(kLevel), std::sqrt(0.5), 1e-12);
  EXPECT_EQ(plugin->Controller()->setParamNormalized(kLevel, 0.2), kResultOk);
  EXPECT_DOUBLE_EQ(plugin->Controller()->getParamNormalized(kLevel), 0.2);
  // Controller and processor are one object: bypass set here reads back.
  EXPECT_EQ(plugin->Controller()->setParamNormalized(kBypassId, 1.0), kResultOk);
  EXPECT_DOUBLE_EQ(plugin->Controller()->getParamNormalized(kBypassId), 1.0);
  EXPECT_EQ(plugin->Controller()->setParamNormalized(kBypassId, 0.0), kResultOk);
  EXPECT_EQ(plugin->Controller()->setParamNormalized(kFirstController, 1.0), kResultFalse);
  EXPECT_DOUBLE_EQ(plugin->Controller()->getParamNormalized(kBypassId), 0.0);
  EXPECT_DOUBLE_EQ(plugin->Controller()->getParamNormalized(kFirstController), 0.0);
  EXPECT_TRUE(HandlerCalls().empty());
}

TEST_F(Vst3AdapterTest, OnlyTheLastPointOfAQueueCountsFromTheBlockStart) {
  ASSERT_TRUE(Start(*plugin, kSample32));
  MakeStereoBlock(64);
  HostParameterChanges changes;
  changes.Add(kLevel, 0, 0.9);
  changes.Add(kLevel, 10, 0.1);
  changes.Add(kLevel, 40, 0.5);  // Level 25 %
  ASSERT_EQ(ProcessPlanar(*plugin->Processor(), in, out, {&changes}), kResultOk);

  EXPECT_DOUBLE_EQ(plugin->Controller()->getParamNormalized(kLevel), 0.5);
  for (int c = 0; c < 2; ++c) {
    for (int s = 0; s < 64; ++s) ASSERT_FLOAT_EQ(out[c][s], in[c][s] * 0.25f) << c << " " << s;
  }
}

TEST_F(Vst3AdapterTest, BypassAboveOneHalfPassesTheInputThrough) {
  ASSERT_TRUE(Start(*plugin, kSample32));
  struct Case {
    double value;
    bool bypassed;
  };
  for (const Case& c : {Case{0.5, false}, Case{0.51, true}, Case{0.0, false}}) {
    MakeStereoBlock(32);
    HostParameterChanges changes;
    changes.Add(kBypassId, 0, c.value);
    ASSERT_EQ(ProcessPlanar(*plugin->Processor(), in, out, {&changes}), kResultOk);
    EXPECT_DOUBLE_EQ(plugin->Controller()->getParamNormalized(kBypassId), c.bypassed ? 1.0 : 0.0);
    const float gain = c.bypassed ? 1.0f : 0.5f;
    for (int ch = 0; ch < 2; ++ch) {
      for (int s = 0; s < 32; ++s) ASSERT_EQ(out[ch][s], in[ch][s] * gain) << c.value;
    }
  }
}

TEST_F(Vst3AdapterTest, PresetParameterSelectsOnlyExistingPresets) {
  ASSERT_TRUE(Start(*plugin, kSample32));
  HostParameterChanges level;
  level.Add(kLevel, 0, 0.3);
  ProcessChangesOnly(*plugin->Processor(), {&level});

  HostParameterChanges beyondLast;
  beyondLast.Add(kPresetId, 0, 1.0);  // preset 1 of one: nothing changes
  ProcessChangesOnly(*plugin->Processor(), {&beyondLast});
  EXPECT_DOUBLE_EQ(plugin->Controller()->getParamNormalized(kLevel), 0.3);

  // Preset 0 is the current one: sending it again, as hosts do with the
  // value the plug-in reports, keeps the user's values.
  HostParameterChanges first;
  first.Add(kPresetId, 0, 0.0);
  ProcessChangesOnly(*plugin->Processor(), {&first});
  EXPECT_DOUBLE_EQ(plugin->Controller()->getParamNormalized(kLevel), 0.3);
}

TEST_F(Vst3AdapterTest, BusArrangementsFollowTheChannelPairs) {
  struct Case {
    SpeakerArrangement input;
    SpeakerArrangement output;
    tresult expected;
  };
  const Case cases[] = {
      {SpeakerArr::kStereo, SpeakerArr::kStereo, kResultOk},
      {SpeakerArr::kMono, SpeakerArr::kMono, kResultOk},
      {SpeakerArr::kMono, SpeakerArr::kStereo, kResultFalse},
      {SpeakerArr::kStereo, SpeakerArr::kMono, kResultFalse},
      {SpeakerArr::k51, SpeakerArr::k51, kResultFalse},
  };
  for (const Case& c : cases) {
    SpeakerArrangement input = c.input;
    SpeakerArrangement output = c.output;
    EXPECT_EQ(plugin->Processor()->setBusArrangements(&input, 1, &output, 1), c.expected)
        << std::hex << c.input << " -> " << c.output;
  }
  SpeakerArrangement stereo = SpeakerArr::kStereo;
  EXPECT_EQ(plugin->Processor()->setBusArrangements(nullptr, 0, &stereo, 1), kResultFalse);
  SpeakerArrangement two[2] = {SpeakerArr::kStereo, SpeakerArr::kStereo};
  EXPECT_EQ(plugin->Processor()->setBusArrangements(two, 2, &stereo, 1), kResultFalse);
}

TEST_F(Vst3AdapterTest, MainInputIsRenamedOnlyWhenItsChannelCountChanges) {
  auto inputBusName = [&] {
    BusInfo info = {};
    EXPECT_EQ(plugin->Component()->getBusInfo(kAudio, kInput, 0, info), kResultTrue);
    return ToAscii(info.name) + "/" + std::to_string(info.channelCount);
  };
  EXPECT_EQ(inputBusName(), "Main Input/2");
  SpeakerArrangement stereo = SpeakerArr::kStereo;
  SpeakerArrangement stereoOut = SpeakerArr::kStereo;
  ASSERT_EQ(plugin->Processor()->setBusArrangements(&stereo, 1, &stereoOut, 1), kResultOk);
  EXPECT_EQ(inputBusName(), "Main Input/2");
  SpeakerArrangement mono = SpeakerArr::kMono;
  SpeakerArrangement monoOut = SpeakerArr::kMono;
  ASSERT_EQ(plugin->Processor()->setBusArrangements(&mono, 1, &monoOut, 1), kResultOk);
  EXPECT_EQ(inputBusName(), "Input/1");
  SpeakerArrangement arrangement = 0;
  ASSERT_EQ(plugin->Processor()->getBusArrangement(kOutput, 0, arrangement), kResultTrue);
  EXPECT_EQ(arrangement, SpeakerArr::kMono);

  EXPECT_EQ(plugin->Component()->getBusCount(kEvent, kInput), 1);
  BusInfo midi = {};
  ASSERT_EQ(plugin->Component()->getBusInfo(kEvent, kInput, 0, midi), kResultTrue);
  EXPECT_EQ(ToAscii(midi.name), "MIDI Input");
  EXPECT_EQ(midi.channelCount, 1);
}

TEST_F(Vst3AdapterTest, MonoHostFeedsOnlyTheFirstChannel) {
  SpeakerArrangement mono = SpeakerArr::kMono;
  SpeakerArrangement monoOut = SpeakerArr::kMono;
  ASSERT_EQ(plugin->Processor()->setBusArrangements(&mono, 1, &monoOut, 1), kResultOk);
  ASSERT_TRUE(Start(*plugin, kSample32, 48000.0, 512, 1));
  MakeStereoBlock(16);
  in.resize(1);
  out.resize(1);
  ASSERT_EQ(ProcessPlanar(*plugin->Processor(), in, out), kResultOk);
  for (int s = 0; s < 16; ++s) ASSERT_FLOAT_EQ(out[0][s], in[0][s] * 0.5f);
}

TEST_F(Vst3AdapterTest, SampleSizesAgreeWithinFloatPrecision) {
  EXPECT_EQ(plugin->Processor()->canProcessSampleSize(kSample32), kResultTrue);
  EXPECT_EQ(plugin->Processor()->canProcessSampleSize(kSample64), kResultTrue);
  EXPECT_EQ(plugin->Processor()->canProcessSampleSize(3), kResultFalse);

  ASSERT_TRUE(Start(*plugin, kSample32));
  MakeStereoBlock(128);
  HostParameterChanges changes;
  changes.Add(kLevel, 0, 0.77);
  ASSERT_EQ(ProcessPlanar(*plugin->Processor(), in, out, {&changes}), kResultOk);

  std::unique_ptr<PluginInstance> wide = Another();
  ASSERT_NE(wide, nullptr);
  ASSERT_TRUE(Start(*wide, kSample64));
  std::vector<std::vector<double>> inWide(2, std::vector<double>(128));
  std::vector<std::vector<double>> outWide(2, std::vector<double>(128, 0.0));
  for (int c = 0; c < 2; ++c) {
    for (int s = 0; s < 128; ++s) inWide[c][s] = in[c][s];
  }
  ASSERT_EQ(ProcessPlanar(*wide->Processor(), inWide, outWide, {&changes}), kResultOk);
  for (int c = 0; c < 2; ++c) {
    for (int s = 0; s < 128; ++s) {
      ASSERT_NEAR(out[c][s], outWide[c][s], 1e-6 * std::fabs(outWide[c][s]) + 1e-9);
    }
  }
}

TEST_F(Vst3AdapterTest, SetupRefusesWhatCannotBeProcessed) {
  ProcessSetup odd{kRealtime, 3, 512, 48000.0};
  EXPECT_EQ(plugin->Processor()->setupProcessing(odd), kResultFalse);
  ProcessSetup noRate{kRealtime, kSample32, 512, 0.0};
  EXPECT_EQ(plugin->Processor()->setupProcessing(noRate), kResultFalse);
  ProcessSetup negativeBlock{kRealtime, kSample32, -1, 48000.0};
  EXPECT_EQ(plugin->Processor()->setupProcessing(negativeBlock), kResultFalse);
}

TEST_F(Vst3AdapterTest, StateRoundTripCarriesParametersAndBypass) {
  ASSERT_TRUE(Start(*plugin, kSample32));
  HostParameterChanges changes;
  changes.Add(kLevel, 0, 0.25);
  changes.Add(kMode, 0, 1.0);
  changes.Add(kBypassId, 0, 1.0);
  ProcessChangesOnly(*plugin->Processor(), {&changes});

  const std::vector<uint8_t> state = SaveState(*plugin);
  ASSERT_EQ(state.size(), 8u * kEffectParams + 4u);
  const char bypassFlag[4] = {1, 0, 0, 0};
  EXPECT_EQ(std::memcmp(state.data() + state.size() - 4, bypassFlag, 4), 0);

  std::unique_ptr<PluginInstance> restored = Another();
  ASSERT_NE(restored, nullptr);
  ASSERT_EQ(LoadState(*restored, state), kResultOk);
  for (ParamID id : {kLevel, kMode, kSwitch, kBypassId}) {
    EXPECT_DOUBLE_EQ(restored->Controller()->getParamNormalized(id),
                     plugin->Controller()->getParamNormalized(id))
        << id;
  }

  // Preparing to process (as hosts do after loading a project) keeps it.
  ASSERT_TRUE(Start(*restored, kSample32));
  EXPECT_DOUBLE_EQ(restored->Controller()->getParamNormalized(kBypassId), 1.0);
}

TEST_F(Vst3AdapterTest, ShortStateStreamsAnswerFalseButKeepWhatWasRead) {
  ASSERT_TRUE(Start(*plugin, kSample32));
  HostParameterChanges changes;
  changes.Add(kLevel, 0, 0.25);
  changes.Add(kMode, 0, 0.0);
  ProcessChangesOnly(*plugin->Processor(), {&changes});
  std::vector<uint8_t> state = SaveState(*plugin);
  ASSERT_FALSE(state.empty());
  state.resize(state.size() - 4);

  std::unique_ptr<PluginInstance> restored = Another();
  ASSERT_NE(restored, nullptr);
  EXPECT_EQ(LoadState(*restored, state), kResultFalse);
  EXPECT_DOUBLE_EQ(restored->Controller()->getParamNormalized(kLevel), 0.25);
  EXPECT_DOUBLE_EQ(restored->Controller()->getParamNormalized(kMode), 0.0);

  EXPECT_EQ(LoadState(*restored, {}), kResultFalse);
  EXPECT_EQ(plugin->Controller()->getState(nullptr), kInvalidArgument);
  EXPECT_EQ(plugin->Controller()->setState(nullptr), kInvalidArgument);
}

TEST_F(Vst3AdapterTest, MidiReachesTheEffectAndItsNoticesLeaveAsOutputChanges) {
  ASSERT_TRUE(Start(*plugin, kSample32));
  auto lastOutput = [](HostParameterChanges& changes, ParamID id) {
    const double value = LastPoint(changes, id);
    return value < 0.0 ? -1.0 : value * 255.0;
  };

  HostParameterChanges controllerChange;
  controllerChange.Add(kFirstController + 7, 0, 0.5);
  HostParameterChanges outputs;
  ASSERT_EQ(ProcessChangesOnly(*plugin->Processor(), {&controllerChange, &outputs}), kResultOk);
  EXPECT_NEAR(lastOutput(outputs, TestEffect::kMidiStatus), 0xB0, 1e-9);
  EXPECT_NEAR(lastOutput(outputs, TestEffect::kMidiData1), 7, 1e-9);
  EXPECT_NEAR(lastOutput(outputs, TestEffect::kMidiData2), 63, 1e-9);

  HostEventList events;
  Event noteOn = {};
  noteOn.type = Event::kNoteOnEvent;
  noteOn.sampleOffset = 5;
  noteOn.noteOn.channel = 2;
  noteOn.noteOn.pitch = 60;
  noteOn.noteOn.velocity = 0.5f;
  Event noteOff = noteOn;
  noteOff.type = Event::kNoteOffEvent;
  noteOff.noteOff.channel = 3;
  noteOff.noteOff.pitch = 61;
  noteOff.noteOff.velocity = 1.0f;
  Event other = {};
  other.type = Event::kPolyPressureEvent;
  for (Event* event : {&noteOn, &noteOff, &other}) ASSERT_EQ(events.addEvent(*event), kResultTrue);

  MakeStereoBlock(16);
  HostParameterChanges blockOutputs;
  ASSERT_EQ(ProcessPlanar(*plugin->Processor(), in, out, {nullptr, &blockOutputs, &events}), kResultOk);
  // One point per parameter and block: the last message (the note-off) wins.
  ASSERT_NE(blockOutputs.Find(TestEffect::kMidiStatus), nullptr);
  EXPECT_EQ(blockOutputs.Find(TestEffect::kMidiStatus)->getPointCount(), 1);
  EXPECT_NEAR(lastOutput(blockOutputs, TestEffect::kMidiStatus), 0x83, 1e-9);
  EXPECT_NEAR(lastOutput(blockOutputs, TestEffect::kMidiData1), 61, 1e-9);
  EXPECT_NEAR(lastOutput(blockOutputs, TestEffect::kMidiData2), 0, 1e-9);

  // Nothing reached the component handler from inside process().
  EXPECT_TRUE(HandlerCalls().empty());

  // A host without output changes just doesn't hear of them; the next block starts clean.
  ASSERT_EQ(ProcessChangesOnly(*plugin->Processor(), {&controllerChange, nullptr}), kResultOk);
  HostParameterChanges quiet;
  ASSERT_EQ(ProcessChangesOnly(*plugin->Processor(), {nullptr, &quiet}), kResultOk);
  EXPECT_EQ(quiet.getParameterCount(), 0);
}

TEST_F(Vst3AdapterTest, LatencyRestartWaitsUntilProcessingReturns) {
  ASSERT_TRUE(Start(*plugin, kSample32));
  HostParameterChanges switchOn;
  switchOn.Add(kSwitch, 0, 1.0);
  ASSERT_EQ(ProcessChangesOnly(*plugin->Processor(), {&switchOn}), kResultOk);
  EXPECT_TRUE(HandlerCalls().empty());
  EXPECT_EQ(plugin->Processor()->getLatencySamples(), uint32(TestEffect::kSwitchLatency));

  plugin->Component()->setActive(false);
  ASSERT_FALSE(HandlerCalls().empty());
  EXPECT_EQ(HandlerCalls()[0].kind, HostComponentHandler::kRestart);
  EXPECT_EQ(HandlerCalls()[0].flags, kLatencyChanged);
  EXPECT_EQ(HandlerCalls()[0].thread, std::this_thread::get_id());
}

TEST_F(Vst3AdapterTest, GesturesOutsideProcessingGoToTheComponentHandler) {
  ASSERT_TRUE(Start(*plugin, kSample32));
  plugin->Component()->setActive(false);  // the test effect makes a gesture on "Level" here
  ASSERT_EQ(HandlerCalls().size(), 3u);
  EXPECT_EQ(HandlerCalls()[0].kind, HostComponentHandler::kBegin);
  EXPECT_EQ(HandlerCalls()[1].kind, HostComponentHandler::kPerform);
  EXPECT_DOUBLE_EQ(HandlerCalls()[1].value, TestEffect::kGestureValue);
  EXPECT_EQ(HandlerCalls()[2].kind, HostComponentHandler::kEnd);
  for (const auto& call : HandlerCalls()) {
    EXPECT_EQ(call.id, kLevel);
    EXPECT_EQ(call.thread, std::this_thread::get_id());
  }
}

TEST_F(Vst3AdapterTest, MidiControllersMapToTheirParameters) {
  FUnknownPtr<IMidiMapping> mapping(plugin->Controller());
  ASSERT_TRUE(mapping);
  ParamID id = 0;
  ASSERT_EQ(mapping->getMidiControllerAssignment(0, 0, 7, id), kResultOk);
  EXPECT_EQ(id, kFirstController + 7);
  ASSERT_EQ(mapping->getMidiControllerAssignment(3, 15, 127, id), kResultOk);
  EXPECT_EQ(id, kFirstController + 127);
  EXPECT_EQ(mapping->getMidiControllerAssignment(0, 0, kPitchBend, id), kResultFalse);
}

TEST_F(Vst3AdapterTest, UnitsAndProgramListDescribeTheParameters) {
  FUnknownPtr<IUnitInfo> units(plugin->Controller());
  ASSERT_TRUE(units);
  ASSERT_EQ(units->getUnitCount(), 3);
  UnitInfo info = {};
  ASSERT_EQ(units->getUnitInfo(0, info), kResultOk);
  EXPECT_EQ(info.id, 0);
  EXPECT_EQ(info.parentUnitId, -1);
  EXPECT_EQ(ToAscii(info.name), "Root Unit");
  ASSERT_EQ(units->getUnitInfo(2, info), kResultOk);
  EXPECT_EQ(info.id, 2);
  EXPECT_EQ(info.parentUnitId, 0);
  EXPECT_EQ(ToAscii(info.name), "Tone");
  EXPECT_EQ(info.programListId, kNoProgramListId);
  EXPECT_EQ(units->getUnitInfo(3, info), kResultFalse);
  EXPECT_EQ(units->getUnitInfo(-1, info), kResultFalse);

  EXPECT_EQ(units->getProgramListCount(), 0);
  ProgramListInfo list = {};
  ASSERT_EQ(units->getProgramListInfo(0, list), kResultOk);
  EXPECT_EQ(list.id, int32(kPresetId));
  EXPECT_EQ(ToAscii(list.name), "Factory Presets");
  EXPECT_EQ(list.programCount, 1);
  EXPECT_EQ(units->getProgramListInfo(1, list), kResultFalse);
  String128 name = {};
  ASSERT_EQ(units->getProgramName(kPresetId, 0, name), kResultOk);
  EXPECT_EQ(ToAscii(name), "-");
  EXPECT_EQ(units->getProgramName(1, 0, name), kResultFalse);
  EXPECT_EQ(units->getSelectedUnit(), kRootUnitId);
}

TEST_F(Vst3AdapterTest, ViewsKeepTheirEffectAlive) {
  EXPECT_EQ(plugin->Controller()->createView("other"), nullptr);
  EXPECT_EQ(plugin->Controller()->createView(nullptr), nullptr);
  IPlugView* view = plugin->Controller()->createView(ViewType::kEditor);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultFalse);
  ViewRect rect;
  EXPECT_EQ(view->getSize(&rect), kResultFalse);  // this effect has no editor
  EXPECT_EQ(view->attached(nullptr, kPlatformTypeX11EmbedWindowID), kResultFalse);
  EXPECT_EQ(view->onSize(nullptr), kResultOk);
  EXPECT_EQ(view->canResize(), kResultFalse);

  // The host lets go of the effect before the view: the view still works.
  plugin.reset();
  EXPECT_EQ(view->getSize(&rect), kResultFalse);
  view->release();
}

TEST_F(Vst3AdapterTest, BlocksWithoutBuffersOrSamplesAreHarmless) {
  ASSERT_TRUE(Start(*plugin, kSample32));
  MakeStereoBlock(32);
  ASSERT_EQ(ProcessPlanar(*plugin->Processor(), in, out), kResultOk);

  // The host's buffers of the last block are gone; a block without buses
  // must not write through them.
  ProcessData data;
  data.symbolicSampleSize = kSample32;
  data.numSamples = 32;
  ASSERT_EQ(plugin->Processor()->process(data), kResultOk);

  AudioBusBuffers noBuffers;
  noBuffers.numChannels = 2;
  data.numInputs = 1;
  data.numOutputs = 1;
  data.inputs = &noBuffers;
  data.outputs = &noBuffers;
  ASSERT_EQ(plugin->Processor()->process(data), kResultOk);

  HostParameterChanges nan;
  nan.Add(kLevel, 0, std::nan(""));
  ASSERT_EQ(ProcessChangesOnly(*plugin->Processor(), {&nan}), kResultOk);
  EXPECT_NEAR(plugin->Controller()->getParamNormalized(kLevel), std::sqrt(0.5), 1e-12);
}

}  // namespace
