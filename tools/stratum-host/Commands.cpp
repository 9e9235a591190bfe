#include "tools/stratum-host/Commands.h"

#include <cstdio>

#include "tools/stratum-host/Files.h"

namespace stratumhost {

void ReportError(const std::string& message) {
  std::fprintf(stderr, "stratum-host: %s\n", message.c_str());
  std::fflush(stderr);
}

bool ResolveSetting(PluginInstance& instance, const std::string& title, const std::string& value, int* index,
                    double* normalized, std::string* error) {
  *index = instance.FindParameter(title);
  if (*index < 0) {
    *error = "unknown parameter '" + title + "'";
    return false;
  }
  return instance.ParseValue(*index, value, normalized, error);
}

bool LoadStateFile(PluginInstance& instance, const std::string& path, std::string* error) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, &bytes, error)) return false;
  PluginState state;
  std::string reason;
  if (!vst3host::DecodeStateFile(bytes, &state, &reason)) {
    *error = "cannot load '" + path + "': " + reason;
    return false;
  }
  if (!instance.LoadState(state, &reason)) {
    *error = "cannot load '" + path + "': " + reason;
    return false;
  }
  return true;
}

bool SaveStateToTemporary(PluginInstance& instance, const std::string& path, std::string* temporary,
                          std::string* error) {
  PluginState state;
  if (!instance.SaveState(&state, error)) return false;
  *temporary = TemporaryPathBeside(path);
  if (!WriteTemporaryFile(*temporary, vst3host::EncodeStateFile(state), error)) {
    *error = "cannot write '" + path + "'";
    return false;
  }
  return true;
}

}  // namespace stratumhost
