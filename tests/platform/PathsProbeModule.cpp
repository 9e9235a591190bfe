// A module loaded by the paths tests the way a host loads a plug-in: it
// answers the folders as seen from code linked into a module.
#include <string>

#include "platform/ModuleHandle.h"
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

// What an entry point does with the handle its host passed in.
extern "C" __attribute__((visibility("default"))) void ProbeRecordModuleHandle(void* handle) {
  platform::SetThisModuleHandle(handle);
}
