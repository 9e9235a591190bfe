#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/vst3host/LoadedPlugin.h"
#include "tools/vst3host/PluginInstance.h"
#include "tools/vst3host/PluginState.h"
#include "tools/vst3host/Vst3Module.h"

namespace stratumhost {

// The commands are a thin layer over the hosting library.
using vst3host::BusDescription;
using vst3host::ClassDescription;
using vst3host::LoadedPlugin;
using vst3host::LoadPlugin;
using vst3host::ParameterDescription;
using vst3host::PluginInstance;
using vst3host::PluginState;
using vst3host::TransportSettings;
using vst3host::Vst3Module;

// The tool's commands; each answers the process exit code and prints its own
// errors (one line on standard error).
int RunInfo(const std::vector<std::string>& args);
int RunRender(const std::vector<std::string>& args);
int RunScript(const std::vector<std::string>& args);
int RunGenerate(const std::vector<std::string>& args);

// Exit codes: 0 done, 1 the work failed, 2 the command line is wrong.
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Prints "stratum-host: <message>" on standard error.
void ReportError(const std::string& message);

// Finds a parameter by title and reads a value for it (see PluginInstance::ParseValue).
bool ResolveSetting(PluginInstance& instance, const std::string& title, const std::string& value, int* index,
                    double* normalized, std::string* error);

bool LoadStateFile(PluginInstance& instance, const std::string& path, std::string* error);
// Writes the state to a temporary file beside path, named in *temporary;
// CommitFile puts it in place.
bool SaveStateToTemporary(PluginInstance& instance, const std::string& path, std::string* temporary,
                          std::string* error);

}  // namespace stratumhost
