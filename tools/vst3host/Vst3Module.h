#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/LoadableModule.h"
#include "pluginterfaces/base/ipluginbase.h"

namespace vst3host {

// What the factory says about one of its classes.
struct ClassDescription {
  Steinberg::TUID classId = {};
  std::string name;
  std::string category;       // "Audio Module Class" for effects
  std::string subCategories;  // e.g. "Fx|Dynamics"; empty when the factory gives none
  std::string vendor;         // the class's vendor, else the factory's
  std::string version;
  std::string sdkVersion;
  Steinberg::uint32 flags = 0;
};

// A loaded VST3 module: the shared library inside a bundle, entered through
// its module entry and holding its plug-in factory. Destroying it releases
// the factory, leaves the module and unloads the library, in that order.
class Vst3Module {
 public:
  // Loads a bundle folder (NAME.vst3/Contents/<arch>-linux/NAME.so) or a
  // module file directly. On failure answers null with a one-line reason.
  static std::unique_ptr<Vst3Module> Load(const std::string& path, std::string* error);
  ~Vst3Module();
  Vst3Module(const Vst3Module&) = delete;
  Vst3Module& operator=(const Vst3Module&) = delete;

  Steinberg::IPluginFactory* Factory() const { return mFactory; }
  const std::string& FactoryVendor() const { return mFactoryVendor; }
  const std::string& LibraryPath() const { return mLibraryPath; }
  const std::vector<ClassDescription>& Classes() const { return mClasses; }
  // The first class of the audio effect category, or null.
  const ClassDescription* FirstAudioEffect() const;

  // An exported symbol of the module's library, or null.
  void* Symbol(const char* name) const { return mLibrary.Symbol(name); }

  // Hands the host context to factories that take one (IPluginFactory3).
  void SetHostContext(Steinberg::FUnknown* context);

 private:
  Vst3Module() = default;
  bool Enter(std::string* error);
  void ReadClasses();

  platform::LoadableModule mLibrary;
  std::string mLibraryPath;
  bool (*mExit)() = nullptr;
  Steinberg::IPluginFactory* mFactory = nullptr;
  std::string mFactoryVendor;
  std::vector<ClassDescription> mClasses;
};

// The library inside a bundle folder, or the path itself when it names a
// file. False with a reason when there is nothing loadable there.
bool ResolveModuleLibrary(const std::string& path, std::string* library, std::string* error);

}  // namespace vst3host
