#include "tools/stratum-host/Commands.h"

#include <cstdio>

#include "tools/stratum-host/Files.h"

namespace stratumhost {

void ReportError(const std::string& message) {
  std::fprintf(stderr, "stratum-host: %s\n", message.c_str());
  std::fflush(stderr);
}

bool ApplySetting(HostedPlugin& plugin, const std::string& title, const std::string& value, int* index,
                  std::string* error) {
  *index = plugin.FindParameter(title);
  if (*index < 0) {
    *error = "unknown parameter '" + title + "'";
    return false;
  }
  return plugin.SetFromText(*index, value, error);
}

bool LoadStateFile(HostedPlugin& plugin, const std::string& path, std::string* error) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, &bytes, error)) return false;
  std::string reason;
  if (!plugin.LoadStateFile(bytes, &reason)) {
    *error = "cannot load '" + path + "': " + reason;
    return false;
  }
  return true;
}

bool SaveStateToTemporary(HostedPlugin& plugin, const std::string& path, std::string* temporary,
                          std::string* error) {
  std::vector<uint8_t> bytes;
  if (!plugin.SaveStateFile(&bytes, error)) return false;
  *temporary = TemporaryPathBeside(path);
  if (!WriteTemporaryFile(*temporary, bytes, error)) {
    *error = "cannot write '" + path + "'";
    return false;
  }
  return true;
}

}  // namespace stratumhost
