// A module loaded by the paths tests the way a host loads a plug-in: it
// answers the folders as seen from code linked into a module.
#include <string>

#include "platform/Paths.h"

namespace {
std::string gAnswer;
}

extern "C" __attribute__((visibility("default"))) const char* ProbePluginPath() {
  gAnswer = platform::PluginPath();
  return gAnswer.c_str();
}

extern "C" __attribute__((visibility("default"))) const char* ProbeHostPath() {
  gAnswer = platform::HostPath();
  return gAnswer.c_str();
}
