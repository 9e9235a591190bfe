// The effect-parameters and view bases: parameter calls by ID text, the
// defaults an effect inherits, and the view's container sequence.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "adapters/aax/support/AAX_CBinaryDisplayDelegate.h"
#include "adapters/aax/support/AAX_CBinaryTaperDelegate.h"
#include "adapters/aax/support/AAX_CEffectGUI.h"
#include "adapters/aax/support/AAX_CEffectParameters.h"
#include "adapters/aax/support/AAX_CParameter.h"
#include "adapters/aax/support/AAX_IController.h"
#include "adapters/aax/support/AAX_IViewContainer.h"

namespace {

class RecordingController : public AAX_IController {
 public:
  AAX_Result GetSampleRate(double* rate) const override {
    *rate = 48000.0;
    return AAX_SUCCESS;
  }
  AAX_Result GetInputStemFormat(AAX_EStemFormat* format) const override {
    *format = AAX_eStemFormat_Stereo;
    return AAX_SUCCESS;
  }
  AAX_Result GetOutputStemFormat(AAX_EStemFormat* format) const override {
    *format = AAX_eStemFormat_Stereo;
    return AAX_SUCCESS;
  }
  AAX_Result SetSignalLatency(int32_t) override { return AAX_SUCCESS; }
  AAX_Result PostTouchRequest(const char* id) override { return Record("touch ", id); }
  AAX_Result PostSetValueRequest(const char* id, double value) override {
    return Record("set " + std::to_string(value) + " ", id);
  }
  AAX_Result PostReleaseRequest(const char* id) override { return Record("release ", id); }

  std::vector<std::string> calls;

 private:
  AAX_Result Record(const std::string& what, const char* id) {
    calls.push_back(what + id);
    return AAX_SUCCESS;
  }
};

class OneSwitchEffect : public AAX_CEffectParameters {
 public:
  int inits = 0;

 protected:
  AAX_Result EffectInit() override {
    ++inits;
    mParameterManager.AddParameter(new AAX_CParameter<bool>(
        "sw", "Switch", true, AAX_CBinaryTaperDelegate<bool>(),
        AAX_CBinaryDisplayDelegate<bool>("off", "on"), true));
    return AAX_SUCCESS;
  }
};

TEST(AaxEffectParameters, ParametersByIdText) {
  RecordingController controller;
  OneSwitchEffect effect;
  EXPECT_EQ(effect.Initialize(nullptr), AAX_ERROR_NULL_OBJECT);
  ASSERT_EQ(effect.Initialize(&controller), AAX_SUCCESS);
  EXPECT_EQ(effect.inits, 1);

  int32_t count = 0;
  ASSERT_EQ(effect.GetNumberOfParameters(&count), AAX_SUCCESS);
  EXPECT_EQ(count, 1);
  AAX_CString text;
  ASSERT_EQ(effect.GetParameterIDFromIndex(0, &text), AAX_SUCCESS);
  EXPECT_STREQ(text.Get(), "sw");
  EXPECT_EQ(effect.GetParameterIDFromIndex(1, &text), AAX_ERROR_INVALID_PARAMETER_INDEX);
  ASSERT_EQ(effect.GetMasterBypassParameter(&text), AAX_SUCCESS);
  EXPECT_STREQ(text.Get(), "MasterBypassID");

  ASSERT_EQ(effect.GetParameterValueString("sw", &text, 32), AAX_SUCCESS);
  EXPECT_STREQ(text.Get(), "on");
  double normalized = -1.0;
  ASSERT_EQ(effect.GetParameterValueFromString("sw", &normalized, "off"), AAX_SUCCESS);
  EXPECT_DOUBLE_EQ(normalized, 0.0);
  EXPECT_EQ(effect.GetParameterValueFromString("sw", &normalized, "maybe"),
            AAX_ERROR_INVALID_STRING_CONVERSION);
  ASSERT_EQ(effect.GetParameterStringFromValue("sw", 0.2, &text, 32), AAX_SUCCESS);
  EXPECT_STREQ(text.Get(), "off");

  ASSERT_EQ(effect.UpdateParameterNormalizedValue("sw", 0.0, AAX_eUpdateSource_Unspecified),
            AAX_SUCCESS);
  ASSERT_EQ(effect.GetParameterNormalizedValue("sw", &normalized), AAX_SUCCESS);
  EXPECT_DOUBLE_EQ(normalized, 0.0);

  // Unknown IDs and missing out-pointers change nothing.
  const char* unknownIds[] = {"nope", "", nullptr};
  for (const char* id : unknownIds) {
    EXPECT_EQ(effect.UpdateParameterNormalizedValue(id, 1.0, AAX_eUpdateSource_Unspecified),
              AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ(effect.SetParameterNormalizedValue(id, 1.0), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ(effect.TouchParameter(id), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ(effect.GetParameterNormalizedValue(id, &normalized), AAX_ERROR_INVALID_PARAMETER_ID);
  }
  EXPECT_EQ(effect.GetParameterNormalizedValue("sw", nullptr), AAX_ERROR_NULL_OBJECT);
  EXPECT_TRUE(controller.calls.empty());

  // The plug-in's own change reaches the host and is taken at once.
  EXPECT_EQ(effect.TouchParameter("sw"), AAX_SUCCESS);
  EXPECT_EQ(effect.SetParameterNormalizedValue("sw", 1.0), AAX_SUCCESS);
  EXPECT_EQ(effect.ReleaseParameter("sw"), AAX_SUCCESS);
  ASSERT_EQ(effect.GetParameterNormalizedValue("sw", &normalized), AAX_SUCCESS);
  EXPECT_DOUBLE_EQ(normalized, 1.0);
  EXPECT_EQ(controller.calls,
            (std::vector<std::string>{"touch sw", "set 1.000000 sw", "release sw"}));
}

TEST(AaxEffectParameters, ChunkAndFieldDefaults) {
  OneSwitchEffect effect;
  int32_t chunks = 0;
  ASSERT_EQ(effect.GetNumberOfChunks(&chunks), AAX_SUCCESS);
  EXPECT_EQ(chunks, 1);
  AAX_CTypeID id = 7;
  EXPECT_EQ(effect.GetChunkIDFromIndex(0, &id), AAX_ERROR_INVALID_CHUNK_INDEX);
  EXPECT_EQ(id, 0u);
  uint32_t size = 9;
  EXPECT_EQ(effect.GetChunkSize(1, &size), AAX_ERROR_INVALID_CHUNK_ID);
  EXPECT_EQ(size, 0u);
  bool equal = false;
  EXPECT_EQ(effect.CompareActiveChunk(nullptr, &equal), AAX_SUCCESS);
  EXPECT_TRUE(equal);

  unsigned char field[8];
  std::memset(field, 0xAB, sizeof(field));
  EXPECT_EQ(effect.ResetFieldData(2, field, sizeof(field)), AAX_SUCCESS);
  for (unsigned char byte : field) EXPECT_EQ(byte, 0);
  EXPECT_EQ(effect.ResetFieldData(2, nullptr, 4), AAX_ERROR_NULL_OBJECT);
}

class Container : public AAX_IViewContainer {
 public:
  int32_t GetType() override { return AAX_eViewContainer_Type_X11Window; }
  void* GetPtr() override { return this; }
  AAX_Result SetViewSize(const AAX_Point&) override { return AAX_SUCCESS; }
};

class RecordingView : public AAX_CEffectGUI {
 public:
  AAX_Result GetViewSize(AAX_Point*) const override { return AAX_SUCCESS; }
  AAX_Result ParameterUpdated(const char*) override { return AAX_SUCCESS; }
  std::vector<std::string> calls;

 protected:
  void CreateViewContents() override { calls.push_back("contents"); }
  void CreateViewContainer() override { calls.push_back("create"); }
  void DeleteViewContainer() override { calls.push_back("delete"); }
};

TEST(AaxEffectGui, ContainerSequenceAndLiveObjects) {
  const int before = AAX_CEffectParameters::LiveObjects();
  {
    OneSwitchEffect effect;
    RecordingView view;
    EXPECT_EQ(AAX_CEffectParameters::LiveObjects(), before + 2);
    EXPECT_EQ(view.Initialize(nullptr), AAX_ERROR_NULL_OBJECT);
    ASSERT_EQ(view.Initialize(&effect), AAX_SUCCESS);
    EXPECT_EQ(view.GetEffectParameters(), &effect);
    EXPECT_EQ(view.GetViewContainerType(), AAX_eViewContainer_Type_NULL);
    Container first;
    Container second;
    view.SetViewContainer(&first);
    EXPECT_EQ(view.GetViewContainerPtr(), &first);
    view.SetViewContainer(&second);
    view.SetViewContainer(nullptr);
    view.SetViewContainer(nullptr);
    view.SetViewContainer(&first);
    view.Uninitialize();
    EXPECT_EQ(view.calls, (std::vector<std::string>{"contents", "create", "delete", "create",
                                                    "delete", "create", "delete"}));
  }
  EXPECT_EQ(AAX_CEffectParameters::LiveObjects(), before);
}

}  // namespace
