#pragma once

// A fixture holding the AAX module, loaded, started and registered the way
// a host does it, with helpers to make instances of its one effect.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "adapters/aax/support/AAX_ICollection.h"
#include "tools/aaxhost/AaxInstance.h"
#include "tools/aaxhost/AaxModule.h"

constexpr int kMonoConfiguration = 0;
constexpr int kStereoConfiguration = 1;
constexpr AAX_CTypeID kPluginCode = 0x5374526D;  // 'StRm'

class AaxHostedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(module.Open(STRATUM_AAX_MODULE, &error)) << error;
    ASSERT_TRUE(module.StartAndRegister(&error)) << error;
    ASSERT_EQ(module.Collection()->NumEffects(), 1);
    effect = module.Collection()->GetEffect(0);
  }

  std::unique_ptr<aaxhost::AaxInstance> Make(int configuration) {
    std::string error;
    std::unique_ptr<aaxhost::AaxInstance> instance =
        aaxhost::AaxInstance::Create(*effect, configuration, &error);
    EXPECT_NE(instance, nullptr) << error;
    return instance;
  }

  aaxhost::AaxModule module;
  const AAX_IEffectDescriptor* effect = nullptr;
};

// Planar float buffers for one block.
struct FloatBlock {
  FloatBlock(int channels, int frames) : samples(channels, std::vector<float>(frames, 0.0f)) {
    for (auto& channel : samples) pointers.push_back(channel.data());
  }
  float* const* Pointers() { return pointers.data(); }
  std::vector<std::vector<float>> samples;
  std::vector<float*> pointers;
};
