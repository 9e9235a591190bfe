#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/vst2host/Vst2Plugin.h"
#include "tools/vst3host/PluginInstance.h"

namespace stratumhost {

// One plug-in instance as the commands drive it, whatever its format: a
// VST3 class (through the VST3 hosting library) or a VST2 effect (through
// the VST2 one). Parameters are addressed by index.
class HostedPlugin {
 public:
  virtual ~HostedPlugin() = default;

  // The format's own instance, for what only that format describes (info);
  // null for the other format.
  virtual vst3host::PluginInstance* Vst3() { return nullptr; }
  virtual vst2host::Vst2Plugin* Vst2() { return nullptr; }

  virtual std::string Name() = 0;
  virtual int NumParameters() = 0;
  virtual std::string ParameterTitle(int index) = 0;
  // The parameter with this title (exact first, then ignoring case); -1 when
  // there is none.
  virtual int FindParameter(const std::string& title) = 0;
  // Sets the parameter from a plain number or a display text; false with a
  // reason when the text is no value of the parameter.
  virtual bool SetFromText(int index, const std::string& text, std::string* error) = 0;
  // The parameter's value as the host sees it, as the plug-in shows it.
  virtual std::string ValueText(int index) = 0;
  // The parameters the plug-in changed since the last call.
  virtual std::vector<int> TakeChangedParameters() = 0;

  virtual bool Prepare(int inputChannels, double sampleRate, int maxBlockSize, bool doublePrecision,
                       bool offline, std::string* error) = 0;
  virtual int InputChannels() = 0;
  virtual int OutputChannels() = 0;
  virtual int MaxBlockSize() = 0;
  virtual int64_t LatencySamples() = 0;
  virtual void Process(const double* const* input, double* const* output, int frames,
                       const vst3host::TransportSettings& transport) = 0;

  // The state as the bytes of a state file of the format, and back.
  virtual bool SaveStateFile(std::vector<uint8_t>* bytes, std::string* error) = 0;
  virtual bool LoadStateFile(const std::vector<uint8_t>& bytes, std::string* error) = 0;
};

// Opens one instance of the plug-in at path, chosen by what the path is: a
// VST3 bundle folder or a module exporting the VST3 factory, else a module
// exporting a VST2 entry point. Null with a one-line reason on failure.
std::unique_ptr<HostedPlugin> OpenHostedPlugin(const std::string& path, std::string* error);

}  // namespace stratumhost
