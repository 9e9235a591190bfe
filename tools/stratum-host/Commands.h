#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/stratum-host/PluginInstance.h"
#include "tools/stratum-host/Vst3Module.h"

namespace stratumhost {

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

// A module with one instance of its first audio effect class. The instance
// goes before the module that holds its code.
struct LoadedPlugin {
  std::unique_ptr<Vst3Module> module;
  std::unique_ptr<PluginInstance> instance;
};
bool LoadPlugin(const std::string& bundle, LoadedPlugin* plugin, std::string* error);

// Finds a parameter by title and reads a value for it (see PluginInstance::ParseValue).
bool ResolveSetting(PluginInstance& instance, const std::string& title, const std::string& value, int* index,
                    double* normalized, std::string* error);

bool LoadStateFile(PluginInstance& instance, const std::string& path, std::string* error);
// Writes the state to a temporary file beside path, named in *temporary;
// CommitFile puts it in place.
bool SaveStateToTemporary(PluginInstance& instance, const std::string& path, std::string* temporary,
                          std::string* error);

}  // namespace stratumhost
