#pragma once

// Gives this process its own runtime directory, so the shared group segment
// of effects made here never meets other processes' (parallel tests, fuzz or
// benchmark runs, plug-ins the developer is running). Taken once per process;
// the directory is removed when the process ends.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace effect_test {

inline void UsePrivateSegmentDirectory() {
  namespace fs = std::filesystem;
  struct PrivateDirectory {
    fs::path path;
    PrivateDirectory() {
      path = fs::temp_directory_path() /
             ("stratum-effect-" + std::to_string(static_cast<long>(::getpid())));
      fs::create_directories(path);
      fs::permissions(path, fs::perms::owner_all, fs::perm_options::replace);
      ::setenv("XDG_RUNTIME_DIR", path.c_str(), 1);
    }
    ~PrivateDirectory() {
      std::error_code ignored;
      fs::remove_all(path, ignored);
    }
  };
  static PrivateDirectory directory;
}

}  // namespace effect_test
