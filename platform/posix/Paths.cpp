#include "platform/Paths.h"

#include <cstdlib>
#include <fstream>
#include <vector>

#include <dlfcn.h>
#include <link.h>
#include <limits.h>
#include <pwd.h>
#include <unistd.h>

#include "platform/ModuleHandle.h"

// Desktop and application-data folders follow the XDG base-directory and
// user-directory conventions of the Linux desktops.

namespace platform {

namespace {

std::string WithSeparator(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

// The folder part of a file path, with its separator; "" without one.
std::string FolderOf(const std::string& file) {
  const size_t slash = file.rfind('/');
  return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

std::string Canonical(const std::string& file) {
  char resolved[PATH_MAX];
  return realpath(file.c_str(), resolved) != nullptr ? std::string(resolved) : file;
}

std::string ProgramFile() {
  char buffer[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
  if (length <= 0 || static_cast<size_t>(length) >= sizeof buffer) return std::string();
  return std::string(buffer, static_cast<size_t>(length));
}

// The file a loaded object came from. The program itself has no name in its
// link map entry.
std::string ObjectFile(const link_map* object) {
  if (object == nullptr) return std::string();
  if (object->l_name == nullptr || object->l_name[0] == '\0') return ProgramFile();
  return Canonical(object->l_name);
}

// The module that holds this function's code. Asking by address cannot name
// a wrong module, whatever a host handed to the entry point.
std::string FileOfThisCode() {
  Dl_info info;
  link_map* object = nullptr;
  if (dladdr1(reinterpret_cast<void*>(&FileOfThisCode), &info, reinterpret_cast<void**>(&object),
              RTLD_DL_LINKMAP) == 0) {
    return std::string();
  }
  return ObjectFile(object);
}

std::string FileOfRecordedModule() {
  void* handle = ThisModuleHandle();
  link_map* object = nullptr;
  if (handle == nullptr || dlinfo(handle, RTLD_DI_LINKMAP, &object) != 0) return std::string();
  return ObjectFile(object);
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

// XDG folders given in the environment count only when absolute.
bool IsAbsolute(const std::string& path) { return !path.empty() && path[0] == '/'; }

std::string HomeFolder() {
  const std::string home = Environment("HOME");
  if (IsAbsolute(home)) return WithSeparator(home);
  // Without HOME (a host started by a service manager), the password entry.
  std::vector<char> buffer(16384);
  passwd entry;
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      IsAbsolute(found->pw_dir)) {
    return WithSeparator(found->pw_dir);
  }
  return std::string();
}

std::string ConfigHome(const std::string& home) {
  const std::string configured = Environment("XDG_CONFIG_HOME");
  if (IsAbsolute(configured)) return WithSeparator(configured);
  return home.empty() ? std::string() : home + ".config/";
}

// The XDG_DESKTOP_DIR line of user-dirs.dirs: XDG_DESKTOP_DIR="$HOME/Desk"
// or an absolute path in double quotes. "" when absent or malformed.
std::string DesktopFromUserDirs(const std::string& home) {
  const std::string config = ConfigHome(home);
  if (config.empty()) return std::string();
  std::ifstream file(config + "user-dirs.dirs");
  const std::string key = "XDG_DESKTOP_DIR=";
  std::string line;
  while (std::getline(file, line)) {
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
    std::string value = line.substr(start + key.size());
    if (value.size() < 2 || value.front() != '"') return std::string();
    const size_t close = value.find('"', 1);
    if (close == std::string::npos) return std::string();
    value = value.substr(1, close - 1);
    if (value.compare(0, 6, "$HOME/") == 0) {
      if (home.empty()) return std::string();
      value = home + value.substr(6);
    } else if (value == "$HOME") {
      return home;  // the desktop is the home folder itself
    }
    return IsAbsolute(value) ? WithSeparator(value) : std::string();
  }
  return std::string();
}

}  // namespace

std::string HostPath() { return FolderOf(ProgramFile()); }

std::string PluginPath() {
  std::string file = FileOfThisCode();
  if (file.empty()) file = FileOfRecordedModule();
  return FolderOf(file);
}

std::string DesktopPath() {
  const std::string home = HomeFolder();
  const std::string configured = DesktopFromUserDirs(home);
  if (!configured.empty()) return configured;
  return home.empty() ? std::string() : home + "Desktop/";
}

std::string AppDataPath(bool system) {
  if (system) {
    // The first folder of the system data search list.
    const std::string dirs = Environment("XDG_DATA_DIRS");
    const std::string first = dirs.substr(0, dirs.find(':'));
    return IsAbsolute(first) ? WithSeparator(first) : std::string("/usr/local/share/");
  }
  const std::string dataHome = Environment("XDG_DATA_HOME");
  if (IsAbsolute(dataHome)) return WithSeparator(dataHome);
  const std::string home = HomeFolder();
  return home.empty() ? std::string() : home + ".local/share/";
}

std::string UserAppDataPath() { return AppDataPath(false); }

}  // namespace platform
