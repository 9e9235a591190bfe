#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/stratum-host/HostedPlugin.h"
#include "tools/vst3host/PluginInstance.h"

namespace stratumhost {

// The commands are a thin layer over the hosting library.
using vst3host::BusDescription;
using vst3host::ClassDescription;
using vst3host::ParameterDescription;
using vst3host::PluginInstance;
using vst3host::TransportSettings;

// The tool's commands; each answers the process exit code and prints its own
// errors (one line on standard error).
int RunInfo(const std::vector<std::string>& args);
int RunRender(const std::vector<std::string>& args);
int RunScript(const std::vector<std::string>& args);
int RunGenerate(const std::vector<std::string>& args);
int RunEdit(const std::vector<std::string>& args);

// Exit codes: 0 done, 1 the work failed, 2 the command line is wrong.
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Prints "stratum-host: <message>" on standard error.
void ReportError(const std::string& message);

// Finds a parameter by title and sets it from a value text (see
// HostedPlugin::SetFromText).
bool ApplySetting(HostedPlugin& plugin, const std::string& title, const std::string& value, int* index,
                  std::string* error);

bool LoadStateFile(HostedPlugin& plugin, const std::string& path, std::string* error);
// Writes the state to a temporary file beside path, named in *temporary;
// CommitFile puts it in place.
bool SaveStateToTemporary(HostedPlugin& plugin, const std::string& path, std::string* temporary,
                          std::string* error);

}  // namespace stratumhost
