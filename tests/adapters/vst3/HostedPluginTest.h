#pragma once

// A test fixture holding one module, loaded the way a host loads it, and one
// created instance of its first class, through the hosting library. The
// instance's component handler records every call it receives.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tools/vst3host/HostComponentHandler.h"
#include "tools/vst3host/HostEventList.h"
#include "tools/vst3host/HostParameterChanges.h"
#include "tools/vst3host/LoadedPlugin.h"
#include "tools/vst3host/PlanarProcess.h"
#include "tools/vst3host/StateStream.h"
#include "tools/vst3host/TextConvert.h"

using vst3host::HostComponentHandler;
using vst3host::HostEventList;
using vst3host::HostParameterChanges;
using vst3host::HostParamValueQueue;
using vst3host::PluginInstance;
using vst3host::ProcessChangesOnly;
using vst3host::ProcessPlanar;
using vst3host::Vst3Module;

// Sets up processing at the rate and block size and activates, with the main
// buses arranged for two channels (one: mono).
inline bool Start(PluginInstance& plugin, Steinberg::int32 sampleSize, double sampleRate = 48000.0,
                  int maxBlock = 512, int channels = 2) {
  std::string error;
  const bool started = plugin.Prepare(channels, sampleRate, maxBlock, sampleSize == Steinberg::Vst::kSample64,
                                      false, &error);
  EXPECT_TRUE(started) << error;
  return started;
}

// The controller's state stream; empty when getState fails.
inline std::vector<uint8_t> SaveState(PluginInstance& plugin) {
  std::vector<uint8_t> bytes;
  if (!vst3host::ReadStateStream(*plugin.Controller(), &bytes)) bytes.clear();
  return bytes;
}

inline Steinberg::tresult LoadState(PluginInstance& plugin, const std::vector<uint8_t>& bytes) {
  return vst3host::WriteStateStream(*plugin.Controller(), bytes);
}

// The value of the last point the block gave id, or -1 when it gave none.
inline double LastPoint(HostParameterChanges& changes, Steinberg::Vst::ParamID id) {
  HostParamValueQueue* queue = changes.Find(id);
  double value = -1.0;
  if (queue == nullptr || !queue->LastValue(&value)) return -1.0;
  return value;
}

inline std::string ToAscii(const Steinberg::char16* text) { return vst3host::Utf16ToUtf8(text); }

class HostedPluginTest : public ::testing::Test {
 protected:
  // Loads the module at path and creates the instance; call from SetUp.
  void Open(const char* path) {
    vst3host::LoadedPlugin loaded;
    std::string error;
    ASSERT_TRUE(vst3host::LoadPlugin(path, &loaded, &error)) << error;
    module = std::move(loaded.module);
    plugin = std::move(loaded.instance);
  }

  // One more instance of the module's class.
  std::unique_ptr<PluginInstance> Another() {
    std::string error;
    std::unique_ptr<PluginInstance> instance = vst3host::CreateFirstEffect(*module, &error);
    EXPECT_NE(instance, nullptr) << error;
    return instance;
  }

  Steinberg::Vst::ParameterInfo InfoAt(Steinberg::int32 index) {
    Steinberg::Vst::ParameterInfo info = {};
    EXPECT_EQ(plugin->Controller()->getParameterInfo(index, info), Steinberg::kResultOk);
    return info;
  }

  // The controller's text for a normalised value, or "<refused>".
  std::string Text(Steinberg::Vst::ParamID id, double normalized) {
    Steinberg::Vst::String128 text = {};
    if (plugin->Controller()->getParamStringByValue(id, normalized, text) != Steinberg::kResultOk) {
      return "<refused>";
    }
    return ToAscii(text);
  }

  std::vector<HostComponentHandler::Call> HandlerCalls() { return plugin->Handler().Calls(); }

  // The module goes after the instance that runs its code.
  std::unique_ptr<Vst3Module> module;
  std::unique_ptr<PluginInstance> plugin;
  // Planar stereo blocks for the tests to fill.
  std::vector<std::vector<float>> in;
  std::vector<std::vector<float>> out;
};
