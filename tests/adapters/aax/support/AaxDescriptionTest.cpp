// The description classes: what a plug-in describes, a host reads back, and
// descriptions that would mislead a host are refused.

#include <gtest/gtest.h>

#include "adapters/aax/support/AAX.h"
#include "adapters/aax/support/AAX_CCollection.h"
#include "adapters/aax/support/AAX_IComponentDescriptor.h"
#include "adapters/aax/support/AAX_IPropertyMap.h"

namespace {

void RenderNothing(void* const /*begin*/[], const void* /*end*/) {}

TEST(AaxStemFormat, ChannelCountsMapToFormatsAndBack) {
  const struct {
    int channels;
    uint32_t format;
  } cases[] = {{1, 0x1},     {2, 0x10002}, {3, 0x20003},     {4, 0x40004},     {5, 0x50005},
               {6, 0x60006}, {7, 0x80007}, {8, 0xC0008},     {0, 0xFF9C0000u}, {9, 0xFF9C0000u},
               {-1, 0xFF9C0000u}};
  for (const auto& c : cases) {
    EXPECT_EQ(static_cast<uint32_t>(AAX_StemFormatForChannels(c.channels)), c.format) << c.channels;
    if (c.channels >= 1 && c.channels <= 8) {
      EXPECT_EQ(AAX_StemFormatChannelCount(c.format), c.channels);
    }
  }
  EXPECT_EQ(AAX_StemFormatChannelCount(AAX_eStemFormat_None), 0);
}

TEST(AaxDescription, HostReadsBackWhatThePluginDescribed) {
  AAX_CCollection collection;
  AAX_IEffectDescriptor* effect = collection.NewDescriptor();
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(effect->AddName("Effect"), AAX_SUCCESS);
  EXPECT_EQ(effect->AddCategory(AAX_ePlugInCategory_None), AAX_SUCCESS);
  int marker = 0;
  EXPECT_EQ(effect->AddProcPtr(&marker, kAAX_ProcPtrID_Create_EffectGUI), AAX_SUCCESS);

  AAX_IComponentDescriptor* component = effect->NewComponentDescriptor();
  EXPECT_EQ(component->AddAudioIn(0), AAX_SUCCESS);
  EXPECT_EQ(component->AddMIDINode(5, AAX_eMIDINodeType_LocalInput, "In", 1), AAX_SUCCESS);
  EXPECT_EQ(component->AddPrivateData(8, 4), AAX_SUCCESS);
  // A field index is described once.
  EXPECT_EQ(component->AddAudioOut(0), AAX_ERROR_DUPLICATE_ID);
  EXPECT_EQ(component->AddReservedField(-1), AAX_ERROR_INVALID_ARGUMENT);
  AAX_IPropertyMap* properties = component->NewPropertyMap();
  properties->AddProperty(AAX_eProperty_InputStemFormat, AAX_eStemFormat_Stereo);
  properties->AddProperty(AAX_eProperty_InputStemFormat, AAX_eStemFormat_Mono);
  EXPECT_EQ(component->AddProcessProc_Native(&RenderNothing, properties), AAX_SUCCESS);
  EXPECT_EQ(effect->AddComponent(component), AAX_SUCCESS);
  EXPECT_EQ(effect->AddComponent(component), AAX_ERROR_DUPLICATE_ID);
  EXPECT_EQ(collection.AddEffect("com.example.effect", effect), AAX_SUCCESS);
  EXPECT_EQ(collection.AddEffect("com.example.effect", effect), AAX_ERROR_DUPLICATE_ID);
  collection.SetManufacturerName("Maker");
  collection.AddPackageName("Package");
  collection.SetPackageVersion(0x10203);

  const AAX_ICollection& host = collection;
  ASSERT_EQ(host.NumEffects(), 1);
  EXPECT_STREQ(host.GetEffectID(0), "com.example.effect");
  EXPECT_EQ(host.GetEffectID(1), nullptr);
  EXPECT_STREQ(host.GetManufacturerName(), "Maker");
  ASSERT_EQ(host.NumPackageNames(), 1);
  EXPECT_STREQ(host.GetPackageName(0), "Package");
  EXPECT_EQ(host.GetPackageVersion(), 0x10203u);
  const AAX_IEffectDescriptor* readEffect = host.GetEffect(0);
  EXPECT_STREQ(readEffect->GetName(0), "Effect");
  EXPECT_EQ(readEffect->GetProcPtr(kAAX_ProcPtrID_Create_EffectGUI), &marker);
  EXPECT_EQ(readEffect->GetProcPtr(kAAX_ProcPtrID_Create_EffectParameters), nullptr);
  ASSERT_EQ(readEffect->NumComponents(), 1);
  const AAX_IComponentDescriptor* readComponent = readEffect->GetComponent(0);
  ASSERT_EQ(readComponent->NumFields(), 3);
  EXPECT_EQ(readComponent->GetField(1)->kind, AAX_eField_MIDINode);
  EXPECT_STREQ(readComponent->GetField(1)->name.Get(), "In");
  EXPECT_EQ(readComponent->GetField(2)->dataSize, 4u);
  EXPECT_EQ(readComponent->GetField(3), nullptr);
  EXPECT_EQ(readComponent->GetProcessProc(), &RenderNothing);
  int64_t format = 0;
  ASSERT_TRUE(readComponent->GetProcessProperties()->GetProperty(AAX_eProperty_InputStemFormat, &format));
  EXPECT_EQ(format, AAX_eStemFormat_Mono);
  EXPECT_FALSE(readComponent->GetProcessProperties()->GetProperty(AAX_eProperty_CanBypass, &format));
}

TEST(AaxDescription, ObjectsFromElsewhereAreRefused) {
  AAX_CCollection collection;
  AAX_CCollection other;
  AAX_IEffectDescriptor* foreign = other.NewDescriptor();
  EXPECT_EQ(collection.AddEffect("id", foreign), AAX_ERROR_INVALID_ARGUMENT);
  EXPECT_EQ(collection.AddEffect(nullptr, collection.NewDescriptor()), AAX_ERROR_NULL_OBJECT);

  AAX_IEffectDescriptor* effect = collection.NewDescriptor();
  AAX_IComponentDescriptor* foreignComponent = foreign->NewComponentDescriptor();
  EXPECT_EQ(effect->AddComponent(foreignComponent), AAX_ERROR_INVALID_ARGUMENT);
  AAX_IComponentDescriptor* component = effect->NewComponentDescriptor();
  EXPECT_EQ(component->AddProcessProc_Native(&RenderNothing, foreignComponent->NewPropertyMap()),
            AAX_ERROR_INVALID_ARGUMENT);
  EXPECT_EQ(component->AddProcessProc_Native(nullptr, nullptr), AAX_ERROR_NULL_OBJECT);
  EXPECT_EQ(component->AddMeters(9, nullptr, 1), AAX_ERROR_INVALID_ARGUMENT);
}

}  // namespace
