// The host harness: the AAX module loaded with the dynamic loader and driven
// through the sequence a host follows: entry points and registration, the
// description, instances and their parameters by ID text, rendering several
// instances in one call with a faked transport, chunks, the master bypass
// and change counter, the editor view, unloading and shutdown.

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "adapters/aax/support/AAX_IComponentDescriptor.h"
#include "adapters/aax/support/AAX_IEffectDescriptor.h"
#include "adapters/aax/support/AAX_IPropertyMap.h"
#include "adapters/aax/support/AAX_SPlugInChunk.h"
#include "tests/deliverables/aax-linux/AaxHostedTest.h"
#include "tools/aaxhost/HostViewContainer.h"

using aaxhost::AaxInstance;

namespace {

// A chunk record with room for size data bytes.
struct ChunkRecord {
  explicit ChunkRecord(uint32_t size) : bytes(kAAX_ChunkHeaderSize + size + 8, 0) {}
  AAX_SPlugInChunk* Get() { return reinterpret_cast<AAX_SPlugInChunk*>(bytes.data()); }
  std::vector<unsigned char> bytes;
};

ChunkRecord SaveChunk(AAX_IEffectParameters* parameters) {
  uint32_t size = 0;
  EXPECT_EQ(parameters->GetChunkSize(kPluginCode, &size), AAX_SUCCESS);
  ChunkRecord record(size);
  EXPECT_EQ(parameters->GetChunk(kPluginCode, record.Get()), AAX_SUCCESS);
  return record;
}

int32_t Changes(AAX_IEffectParameters* parameters) {
  int32_t changes = -1;
  EXPECT_EQ(parameters->GetNumberOfChanges(&changes), AAX_SUCCESS);
  return changes;
}

void FillSine(FloatBlock& block, int startFrame) {
  for (size_t c = 0; c < block.samples.size(); ++c) {
    for (size_t s = 0; s < block.samples[c].size(); ++s) {
      const double t = static_cast<double>(startFrame + static_cast<int>(s));
      block.samples[c][s] = static_cast<float>((0.5 - 0.2 * c) * std::sin(0.03 * t + c));
    }
  }
}

using VelmarStratumAaxHarness = AaxHostedTest;

TEST_F(VelmarStratumAaxHarness, EntryPointsStartRegisterAndHandOutTheEffect) {
  uint64_t version = 0;
  ASSERT_EQ(module.getSDKVersion(&version), AAX_SUCCESS);
  EXPECT_EQ(version, kAAX_SupportLibraryVersion);
  EXPECT_EQ(module.getSDKVersion(nullptr), AAX_ERROR_NULL_OBJECT);
  EXPECT_EQ(module.RegisterResult(), AAX_SUCCESS);

  const AAX_IEffectDescriptor* registered = nullptr;
  ASSERT_EQ(module.registerComponent(nullptr, 0, &registered), AAX_SUCCESS);
  EXPECT_EQ(registered, effect);
  EXPECT_EQ(module.registerComponent(nullptr, 1, &registered), AAX_ERROR_INVALID_ARGUMENT);
  EXPECT_EQ(registered, nullptr);

  void* proc = nullptr;
  ASSERT_EQ(module.getClassFactory(nullptr, "com.Velmar.aax.VelmarStratum",
                                   kAAX_ProcPtrID_Create_EffectParameters, &proc),
            AAX_SUCCESS);
  EXPECT_EQ(proc, effect->GetProcPtr(kAAX_ProcPtrID_Create_EffectParameters));
  EXPECT_EQ(module.getClassFactory(nullptr, "com.other", kAAX_ProcPtrID_Create_EffectGUI, &proc),
            AAX_ERROR_INVALID_ARGUMENT);
  EXPECT_EQ(proc, nullptr);
  EXPECT_EQ(module.canUnloadNow(nullptr), AAX_SUCCESS);
}

TEST_F(VelmarStratumAaxHarness, DescriptionNamesTheEffectItsConfigurationsAndNodes) {
  const AAX_ICollection& collection = *module.Collection();
  EXPECT_STREQ(collection.GetEffectID(0), "com.Velmar.aax.VelmarStratum");
  EXPECT_STREQ(collection.GetManufacturerName(), "Velmar");
  ASSERT_EQ(collection.NumPackageNames(), 1);
  EXPECT_STREQ(collection.GetPackageName(0), "VelmarStratum");
  EXPECT_EQ(collection.GetPackageVersion(), 0x20003u);
  ASSERT_EQ(effect->NumNames(), 1);
  EXPECT_STREQ(effect->GetName(0), "VelmarStratum");
  ASSERT_EQ(effect->NumCategories(), 1);
  EXPECT_EQ(effect->GetCategory(0), 0u);
  EXPECT_NE(effect->GetProcPtr(kAAX_ProcPtrID_Create_EffectGUI), nullptr);

  const struct {
    uint32_t stem;
    AAX_CTypeID nativeId;
    AAX_CTypeID audioSuiteId;
  } configurations[] = {{AAX_eStemFormat_Mono, 0x45464E31, 0x45464131},
                        {AAX_eStemFormat_Stereo, 0x45464E32, 0x45464132}};
  ASSERT_EQ(effect->NumComponents(), 2);
  for (int n = 0; n < 2; ++n) {
    SCOPED_TRACE(n);
    const AAX_IComponentDescriptor& component = *effect->GetComponent(n);
    EXPECT_NE(component.GetProcessProc(), nullptr);
    const AAX_IPropertyMap& properties = *component.GetProcessProperties();
    const struct {
      AAX_EProperty property;
      int64_t value;
    } expected[] = {{AAX_eProperty_InputStemFormat, configurations[n].stem},
                    {AAX_eProperty_OutputStemFormat, configurations[n].stem},
                    {AAX_eProperty_PlugInID_Native, configurations[n].nativeId},
                    {AAX_eProperty_PlugInID_AudioSuite, configurations[n].audioSuiteId},
                    {AAX_eProperty_ManufacturerID, 0x566C4D72},
                    {AAX_eProperty_ProductID, 0x5374526D},
                    {AAX_eProperty_CanBypass, 1},
                    {AAX_eProperty_LatencyContribution, 0}};
    for (const auto& e : expected) {
      int64_t value = -1;
      EXPECT_TRUE(properties.GetProperty(e.property, &value)) << e.property;
      EXPECT_EQ(value, e.value) << e.property;
    }
    EXPECT_FALSE(properties.GetProperty(AAX_eProperty_UsesClientGUI, nullptr));

    // Field by field: kind, node type, name, mask, data size.
    ASSERT_EQ(component.NumFields(), 8);
    const auto field = [&](AAX_CFieldIndex index) -> const AAX_SFieldDescription* {
      for (int32_t i = 0; i < component.NumFields(); ++i) {
        if (component.GetField(i)->index == index) return component.GetField(i);
      }
      return nullptr;
    };
    ASSERT_NE(field(5), nullptr);
    EXPECT_EQ(field(5)->kind, AAX_eField_MIDINode);
    EXPECT_EQ(field(5)->nodeType, AAX_eMIDINodeType_LocalInput);
    EXPECT_STREQ(field(5)->name.Get(), "VelmarStratum Midi");
    EXPECT_EQ(field(5)->mask, 0x0001u);
    ASSERT_NE(field(7), nullptr);
    EXPECT_EQ(field(7)->nodeType, AAX_eMIDINodeType_Transport);
    EXPECT_STREQ(field(7)->name.Get(), "Transport");
    EXPECT_EQ(field(7)->mask, 0xFFFFu);
    EXPECT_EQ(field(6)->kind, AAX_eField_Reserved);
    EXPECT_EQ(field(9)->kind, AAX_eField_Reserved);
    EXPECT_EQ(field(0)->kind, AAX_eField_AudioIn);
    EXPECT_EQ(field(1)->kind, AAX_eField_AudioOut);
    EXPECT_EQ(field(3)->kind, AAX_eField_AudioBufferLength);
    EXPECT_EQ(field(8)->kind, AAX_eField_PrivateData);
    EXPECT_EQ(field(8)->dataSize, sizeof(void*));
  }
}

TEST_F(VelmarStratumAaxHarness, HostSeesTheBypassFirstThenTheEffectParameters) {
  auto instance = Make(kStereoConfiguration);
  ASSERT_NE(instance, nullptr);
  AAX_IEffectParameters* parameters = instance->Parameters();
  int32_t count = 0;
  ASSERT_EQ(parameters->GetNumberOfParameters(&count), AAX_SUCCESS);
  ASSERT_EQ(count, 32);

  const struct {
    int index;
    const char* id;
    const char* name;
    int32_t steps;
    AAX_EParameterType type;
    const char* text;
  } cases[] = {
      {0, "MasterBypassID", "Master Bypass", 2, AAX_eParameterType_Discrete, "bypass"},
      {1, "1", "DC Block", 2, AAX_eParameterType_Discrete, "off"},
      {3, "3", "Channel Selector", 4, AAX_eParameterType_Discrete, "LR"},
      {8, "8", "Gain Level", 128, AAX_eParameterType_Continuous, "0.00 dB"},
      {10, "10", "Pan", 128, AAX_eParameterType_Continuous, "0.00"},
      {14, "14", "Limiter release sync", 3, AAX_eParameterType_Discrete, "1 Bar"},
      {15, "15", "RMS wind. size", 128, AAX_eParameterType_Continuous, "600.00 ms"},
      {16, "16", "Group", 17, AAX_eParameterType_Discrete, "No group"},
      {31, "31", "Group RMS wind. size", 2, AAX_eParameterType_Discrete, "on"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    AAX_CString text;
    ASSERT_EQ(parameters->GetParameterIDFromIndex(c.index, &text), AAX_SUCCESS);
    EXPECT_STREQ(text.Get(), c.id);
    ASSERT_EQ(parameters->GetParameterName(c.id, &text), AAX_SUCCESS);
    EXPECT_STREQ(text.Get(), c.name);
    int32_t steps = 0;
    ASSERT_EQ(parameters->GetParameterNumberOfSteps(c.id, &steps), AAX_SUCCESS);
    EXPECT_EQ(steps, c.steps);
    AAX_EParameterType type = AAX_eParameterType_Continuous;
    ASSERT_EQ(parameters->GetParameterType(c.id, &type), AAX_SUCCESS);
    EXPECT_EQ(type, c.type);
    bool automatable = false;
    ASSERT_EQ(parameters->GetParameterIsAutomatable(c.id, &automatable), AAX_SUCCESS);
    EXPECT_TRUE(automatable);
    EXPECT_EQ(instance->ValueText(c.id), c.text);
  }
  double value = 0.0;
  EXPECT_EQ(parameters->GetParameterNormalizedValue("32", &value), AAX_ERROR_INVALID_PARAMETER_ID);
  EXPECT_EQ(parameters->GetParameterNormalizedValue("0", &value), AAX_ERROR_INVALID_PARAMETER_ID);
}

TEST_F(VelmarStratumAaxHarness, ParametersAreSetByIdTextThroughTheirDelegates) {
  auto instance = Make(kStereoConfiguration);
  ASSERT_NE(instance, nullptr);
  const struct {
    const char* id;
    const char* typed;
    const char* shown;
  } cases[] = {
      {"8", "-6 dB", "-6.00 dB"}, {"8", "-12.5", "-12.50 dB"}, {"8", "999", "60.00 dB"},
      {"3", "R", "R"},            {"10", "-50", "-50.00"},      {"2", "on", "on"},
      {"14", "2 Bars", "2 Bars"}, {"MasterBypassID", "on", "on"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.id) + " " + c.typed);
    const int32_t before = Changes(instance->Parameters());
    ASSERT_EQ(instance->SetFromText(c.id, c.typed), AAX_SUCCESS);
    EXPECT_EQ(instance->ValueText(c.id), c.shown);
    EXPECT_EQ(Changes(instance->Parameters()), before + 1);
  }
  // Texts that are no value are refused and change nothing.
  EXPECT_EQ(instance->SetFromText("3", "middle"), AAX_ERROR_INVALID_STRING_CONVERSION);
  EXPECT_EQ(instance->SetFromText("8", "loud"), AAX_ERROR_INVALID_STRING_CONVERSION);
  EXPECT_EQ(instance->ValueText("3"), "R");

  // The effect took each value: its saved state holds the gain in dB.
  ChunkRecord chunk = SaveChunk(instance->Parameters());
  double gain = 0.0;
  std::memcpy(&gain, chunk.Get()->fData + 4 + 8 * 7, sizeof(gain));
  EXPECT_DOUBLE_EQ(gain, 60.0);

  // The bypass and unknown IDs touch no effect parameter; only the bypass
  // counts as a change. Values outside 0..1 are held inside.
  AAX_IEffectParameters* parameters = instance->Parameters();
  const int32_t before = Changes(parameters);
  EXPECT_EQ(parameters->UpdateParameterNormalizedValue("MasterBypassID", 0.0,
                                                       AAX_eUpdateSource_Unspecified),
            AAX_SUCCESS);
  EXPECT_EQ(parameters->UpdateParameterNormalizedValue("32", 1.0, AAX_eUpdateSource_Unspecified),
            AAX_ERROR_INVALID_PARAMETER_ID);
  EXPECT_EQ(Changes(parameters), before + 1);
  EXPECT_EQ(SaveChunk(parameters).bytes, chunk.bytes);
  EXPECT_EQ(parameters->UpdateParameterNormalizedValue("8", std::nan(""),
                                                       AAX_eUpdateSource_Unspecified),
            AAX_SUCCESS);
  EXPECT_EQ(instance->ValueText("8"), "-60.00 dB");
}

TEST_F(VelmarStratumAaxHarness, RendersSeveralInstancesInOneCallWithTheFakedTransport) {
  auto plain = Make(kStereoConfiguration);
  auto muted = Make(kStereoConfiguration);
  auto mono = Make(kMonoConfiguration);
  ASSERT_TRUE(plain && muted && mono);
  ASSERT_EQ(muted->SetFromText("2", "on"), AAX_SUCCESS);
  ASSERT_EQ(plain->SetFromText("7", "on"), AAX_SUCCESS);  // auto gain
  AAX_CMidiPacket note;
  note.mLength = 3;
  note.mData[0] = 0x90;
  note.mData[1] = 60;
  note.mData[2] = 100;
  plain->Midi().packets = {note};

  constexpr int kFrames = 256;
  FloatBlock stereoIn(2, kFrames), plainOut(2, kFrames), mutedOut(2, kFrames);
  FloatBlock monoIn(1, kFrames), monoOut(1, kFrames);
  plain->Transport().playing = true;
  plain->Transport().tempo = 90.0;
  for (int block = 0; block < 8; ++block) {
    FillSine(stereoIn, block * kFrames);
    FillSine(monoIn, block * kFrames);
    plain->PrepareBlock(stereoIn.Pointers(), plainOut.Pointers(), kFrames);
    muted->PrepareBlock(stereoIn.Pointers(), mutedOut.Pointers(), kFrames);
    mono->PrepareBlock(monoIn.Pointers(), monoOut.Pointers(), kFrames);
    AaxInstance::RenderTogether({plain.get(), muted.get(), mono.get()});
  }
  // Every instance rendered its own block: silence from the muted one,
  // signal from the others.
  float plainPeak = 0.0f, mutedPeak = 0.0f, monoPeak = 0.0f;
  for (int s = 0; s < kFrames; ++s) {
    plainPeak = std::max(plainPeak, std::fabs(plainOut.samples[0][s]));
    mutedPeak = std::max(mutedPeak, std::fabs(mutedOut.samples[1][s]));
    monoPeak = std::max(monoPeak, std::fabs(monoOut.samples[0][s]));
  }
  EXPECT_GT(plainPeak, 0.01f);  // auto gain pulls it towards its reference
  EXPECT_EQ(mutedPeak, 0.0f);
  EXPECT_GT(monoPeak, 0.05f);

  // The transport is read at every render: stopping it ends auto gain, and
  // the host hears of it.
  EXPECT_EQ(plain->ValueText("7"), "on");
  plain->Transport().playing = false;
  plain->Render(stereoIn.Pointers(), plainOut.Pointers(), kFrames);
  EXPECT_EQ(plain->ValueText("7"), "off");
  const auto& requests = plain->Controller().requests;
  EXPECT_NE(std::find(requests.begin(), requests.end(), "set 7"), requests.end());
}

TEST_F(VelmarStratumAaxHarness, ChunksSaveRestoreCompareAndRefuseBadOnes) {
  auto instance = Make(kStereoConfiguration);
  ASSERT_NE(instance, nullptr);
  AAX_IEffectParameters* parameters = instance->Parameters();

  int32_t chunks = 0;
  ASSERT_EQ(parameters->GetNumberOfChunks(&chunks), AAX_SUCCESS);
  EXPECT_EQ(chunks, 1);
  AAX_CTypeID id = 0;
  ASSERT_EQ(parameters->GetChunkIDFromIndex(0, &id), AAX_SUCCESS);
  EXPECT_EQ(id, kPluginCode);
  EXPECT_EQ(parameters->GetChunkIDFromIndex(1, &id), AAX_ERROR_INVALID_CHUNK_INDEX);
  EXPECT_EQ(id, 0u);
  uint32_t size = 0;
  ASSERT_EQ(parameters->GetChunkSize(kPluginCode, &size), AAX_SUCCESS);
  EXPECT_EQ(size, 252u);
  EXPECT_EQ(parameters->GetChunkSize(0x41424344, &size), AAX_ERROR_INVALID_CHUNK_ID);
  EXPECT_EQ(size, 0u);

  ChunkRecord saved = SaveChunk(parameters);
  EXPECT_EQ(saved.Get()->fSize, 252);
  ChunkRecord other(252);
  EXPECT_EQ(parameters->GetChunk(0x41424344, other.Get()), AAX_ERROR_INVALID_CHUNK_ID);

  bool equal = false;
  ASSERT_EQ(parameters->CompareActiveChunk(saved.Get(), &equal), AAX_SUCCESS);
  EXPECT_TRUE(equal);
  ASSERT_EQ(instance->SetFromText("8", "-6"), AAX_SUCCESS);
  ASSERT_EQ(parameters->CompareActiveChunk(saved.Get(), &equal), AAX_SUCCESS);
  EXPECT_FALSE(equal);
  // A record of another chunk compares equal: it is none of this effect's.
  other.Get()->fChunkID = 0x41424344;
  ASSERT_EQ(parameters->CompareActiveChunk(other.Get(), &equal), AAX_SUCCESS);
  EXPECT_TRUE(equal);

  // Restoring brings the effect and the host's parameters back, and counts.
  instance->Controller().requests.clear();
  const int32_t before = Changes(parameters);
  ASSERT_EQ(parameters->SetChunk(kPluginCode, saved.Get()), AAX_SUCCESS);
  EXPECT_EQ(instance->ValueText("8"), "0.00 dB");
  ASSERT_EQ(parameters->CompareActiveChunk(saved.Get(), &equal), AAX_SUCCESS);
  EXPECT_TRUE(equal);
  EXPECT_GT(Changes(parameters), before);
  ASSERT_EQ(instance->Controller().requests.size(), 31u);
  EXPECT_EQ(instance->Controller().requests.front(), "set 1");
  EXPECT_EQ(instance->Controller().requests.back(), "set 31");

  // Bad chunks: another ID, a size that lies, a short state.
  ASSERT_EQ(instance->SetFromText("8", "-6"), AAX_SUCCESS);
  EXPECT_EQ(parameters->SetChunk(0x41424344, saved.Get()), AAX_ERROR_INVALID_CHUNK_ID);
  EXPECT_EQ(parameters->SetChunk(kPluginCode, nullptr), AAX_ERROR_NULL_OBJECT);
  ChunkRecord lying = saved;
  lying.Get()->fSize = -1;
  EXPECT_EQ(parameters->SetChunk(kPluginCode, lying.Get()), AAX_ERROR_INCORRECT_CHUNK_SIZE);
  EXPECT_EQ(instance->ValueText("8"), "-6.00 dB");
  // A state that ends early restores what it holds and says it was not whole.
  ChunkRecord shortChunk = saved;
  shortChunk.Get()->fSize = 100;
  EXPECT_EQ(parameters->SetChunk(kPluginCode, shortChunk.Get()), AAX_ERROR_INVALID_CHUNK_DATA);
  EXPECT_EQ(instance->ValueText("8"), "0.00 dB");
}

TEST_F(VelmarStratumAaxHarness, MasterBypassPassesTheInputAndAMonoStemFeedsOneChannel) {
  auto instance = Make(kStereoConfiguration);
  ASSERT_NE(instance, nullptr);
  ASSERT_EQ(instance->SetFromText("8", "-20"), AAX_SUCCESS);
  const int32_t before = Changes(instance->Parameters());
  ASSERT_EQ(instance->SetFromText("MasterBypassID", "on"), AAX_SUCCESS);
  EXPECT_EQ(Changes(instance->Parameters()), before + 1);

  constexpr int kFrames = 512;
  FloatBlock in(2, kFrames), out(2, kFrames);
  FillSine(in, 0);
  instance->Render(in.Pointers(), out.Pointers(), kFrames);
  EXPECT_EQ(out.samples, in.samples);

  // A stereo instance on a mono input stem reads only channel 0; its second
  // input is its own silent buffer.
  instance->Controller().inputStem = AAX_eStemFormat_Mono;
  FloatBlock monoIn(1, kFrames);
  FillSine(monoIn, 0);
  instance->Render(monoIn.Pointers(), out.Pointers(), kFrames);
  EXPECT_EQ(out.samples[0], monoIn.samples[0]);
  EXPECT_EQ(out.samples[1], std::vector<float>(kFrames, 0.0f));

  // Blocks longer than the effect's block size render whole, in pieces.
  instance->Controller().inputStem = AAX_eStemFormat_Stereo;
  FloatBlock longIn(2, 3000), longOut(2, 3000);
  FillSine(longIn, 0);
  instance->Render(longIn.Pointers(), longOut.Pointers(), 3000);
  EXPECT_EQ(longOut.samples, longIn.samples);
}

TEST_F(VelmarStratumAaxHarness, EditorViewUnderAViewContainer) {
  auto instance = Make(kStereoConfiguration);
  ASSERT_NE(instance, nullptr);
  std::string error;
  AAX_IEffectGUI* view = instance->OpenView(&error);
  ASSERT_NE(view, nullptr) << error;
  AAX_Point size;
  ASSERT_EQ(view->GetViewSize(&size), AAX_SUCCESS);
  EXPECT_EQ(size.horz, 410.0f);
  EXPECT_EQ(size.vert, 522.0f);
  EXPECT_EQ(view->ParameterUpdated("8"), AAX_SUCCESS);

  // Containers with and without a native window come and go.
  int nativeWindow = 0;
  aaxhost::HostViewContainer withWindow(AAX_eViewContainer_Type_X11Window, &nativeWindow);
  aaxhost::HostViewContainer withoutWindow(AAX_eViewContainer_Type_NULL, nullptr);
  EXPECT_EQ(view->SetViewContainer(&withWindow), AAX_SUCCESS);
  EXPECT_EQ(view->SetViewContainer(&withoutWindow), AAX_SUCCESS);
  EXPECT_EQ(view->SetViewContainer(nullptr), AAX_SUCCESS);
  EXPECT_TRUE(withWindow.sizeRequests.empty());
  instance->CloseView();
}

TEST_F(VelmarStratumAaxHarness, DiagnosticLinesOnlyInTheTraceBuild) {
  // The configuration and attachment lines follow the build's trace option.
  testing::internal::CaptureStdout();
  AAX_ICollection* collection = nullptr;
  EXPECT_EQ(module.registerPlugin(nullptr, &collection), AAX_SUCCESS);
  effect = collection->GetEffect(0);
  auto instance = Make(kStereoConfiguration);
  ASSERT_NE(instance, nullptr);
  FloatBlock in(2, 64), out(2, 64);
  instance->Render(in.Pointers(), out.Pointers(), 64);
  const std::string printed = testing::internal::GetCapturedStdout();
  if (STRATUM_TRACE_ON) {
    EXPECT_NE(printed.find("***** inputs 1 *****\n***** inputs 2 *****\n"), std::string::npos);
    EXPECT_NE(printed.find("attach input buffers: 0 - 2\n"), std::string::npos);
  } else {
    EXPECT_EQ(printed, "");
  }
}

TEST_F(VelmarStratumAaxHarness, UnloadsOnlyWhenNothingLivesAndShutsDown) {
  auto instance = Make(kMonoConfiguration);
  ASSERT_NE(instance, nullptr);
  std::string error;
  ASSERT_NE(instance->OpenView(&error), nullptr) << error;
  EXPECT_EQ(module.canUnloadNow(nullptr), kAAX_ACF_ObjectsAlive);
  instance->CloseView();
  EXPECT_EQ(module.canUnloadNow(nullptr), kAAX_ACF_ObjectsAlive);
  instance.reset();
  EXPECT_EQ(module.canUnloadNow(nullptr), AAX_SUCCESS);

  EXPECT_EQ(module.Shutdown(), AAX_SUCCESS);
  AAX_ICollection* collection = nullptr;
  EXPECT_EQ(module.registerPlugin(nullptr, &collection), AAX_ERROR_NOT_INITIALIZED);
  EXPECT_EQ(collection, nullptr);
}

}  // namespace
