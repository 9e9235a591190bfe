#pragma once

// A test fixture holding one module, loaded the way a host loads it, and one
// created instance of its class with a recording component handler.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/adapters/vst3/Vst3TestHost.h"

class HostedPluginTest : public ::testing::Test {
 protected:
  // Loads the module at path and creates the instance; call from SetUp.
  void Open(const char* path) {
    std::string error;
    ASSERT_TRUE(module.Load(path, &error)) << error;
    ASSERT_TRUE(plugin.Create(module.Factory(), &hostApplication));
    ASSERT_EQ(plugin.controller->setComponentHandler(&handler), Steinberg::kResultTrue);
  }

  Steinberg::Vst::ParameterInfo InfoAt(Steinberg::int32 index) {
    Steinberg::Vst::ParameterInfo info = {};
    EXPECT_EQ(plugin.controller->getParameterInfo(index, info), Steinberg::kResultOk);
    return info;
  }

  // The controller's text for a normalised value, or "<refused>".
  std::string Text(Steinberg::Vst::ParamID id, double normalized) {
    Steinberg::Vst::String128 text = {};
    if (plugin.controller->getParamStringByValue(id, normalized, text) != Steinberg::kResultOk) {
      return "<refused>";
    }
    return ToAscii(text);
  }

  TestHostApplication hostApplication{"Test Host"};
  RecordingComponentHandler handler;
  LoadedModule module;
  PluginInstance plugin;
  // Planar stereo blocks for the tests to fill.
  std::vector<std::vector<float>> in;
  std::vector<std::vector<float>> out;
};
