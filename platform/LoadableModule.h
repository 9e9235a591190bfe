#pragma once

#include <string>

namespace platform {

// A shared library loaded at run time, the way a host loads a plug-in module.
// Closing (or destroying) the object unloads the library again.
class LoadableModule {
 public:
  LoadableModule() = default;
  ~LoadableModule();
  LoadableModule(const LoadableModule&) = delete;
  LoadableModule& operator=(const LoadableModule&) = delete;

  // Loads the library at path; on failure answers false and describes why in
  // error (when given). A module already open is closed first.
  bool Open(const std::string& path, std::string* error = nullptr);
  void Close();
  bool IsOpen() const { return mHandle != nullptr; }

  // The address of an exported symbol, or null when the module does not export it.
  void* Symbol(const char* name) const;

  // The operating system's handle for the module (what its entry point receives).
  void* Handle() const { return mHandle; }

 private:
  void* mHandle = nullptr;
};

}  // namespace platform
