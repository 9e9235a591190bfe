#include "platform/LoadableModule.h"

#include <windows.h>

namespace platform {

namespace {

std::string LastErrorText(const std::string& path) {
  const DWORD code = GetLastError();
  char text[512] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                      text, sizeof text, nullptr);
  std::string reason = length > 0 ? std::string(text, length) : "error " + std::to_string(code);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
  return "cannot load '" + path + "': " + reason;
}

}  // namespace

LoadableModule::~LoadableModule() { Close(); }

bool LoadableModule::Open(const std::string& path, std::string* error) {
  Close();
  // No error dialog boxes for a missing dependency: the caller reports it.
  const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  mHandle = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (mHandle == nullptr && error != nullptr) *error = LastErrorText(path);
  SetErrorMode(previousMode);
  return mHandle != nullptr;
}

void LoadableModule::Close() {
  if (mHandle != nullptr) {
    FreeLibrary(static_cast<HMODULE>(mHandle));
    mHandle = nullptr;
  }
}

void* LoadableModule::Symbol(const char* name) const {
  if (mHandle == nullptr) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(mHandle), name));
}

}  // namespace platform
