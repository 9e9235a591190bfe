#include "platform/Paths.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/ModuleContaining.h"
#include "platform/ModuleHandle.h"

// Folders come from the module file names and the shell's special folders,
// as ANSI paths ending in a backslash.

namespace platform {

namespace {

std::string FolderOf(const std::string& file) {
  const size_t separator = file.find_last_of("\\/");
  return separator == std::string::npos ? std::string() : file.substr(0, separator + 1);
}

std::string ModuleFile(void* module) {
  char buffer[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameA(static_cast<HMODULE>(module), buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return std::string();
  return std::string(buffer, length);
}

std::string SpecialFolder(int which) {
  char buffer[MAX_PATH];
  if (SHGetFolderPathA(nullptr, which, nullptr, SHGFP_TYPE_CURRENT, buffer) != S_OK) return std::string();
  std::string folder(buffer);
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

void AddressInThisModule() {}

}  // namespace

std::string HostPath() { return FolderOf(ModuleFile(nullptr)); }

std::string PluginPath() {
  // The module holding this code cannot be a wrong one, whatever a host
  // handed to the entry point; the recorded handle is the fallback.
  void* module = ModuleHandleContaining(reinterpret_cast<const void*>(&AddressInThisModule));
  if (module == nullptr) module = ThisModuleHandle();
  if (module == nullptr) return std::string();
  return FolderOf(ModuleFile(module));
}

std::string DesktopPath() { return SpecialFolder(CSIDL_DESKTOPDIRECTORY); }

std::string AppDataPath(bool system) { return SpecialFolder(system ? CSIDL_COMMON_APPDATA : CSIDL_APPDATA); }

std::string UserAppDataPath() { return AppDataPath(false); }

}  // namespace platform
