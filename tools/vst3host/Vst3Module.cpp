#include "tools/vst3host/Vst3Module.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "tools/vst3host/TextConvert.h"

namespace vst3host {

using namespace Steinberg;
namespace fs = std::filesystem;

namespace {

// The bundle's folder for this machine's architecture.
const char* BundleArchitectureFolder() {
#if defined(__x86_64__)
  return "x86_64-linux";
#elif defined(__aarch64__)
  return "aarch64-linux";
#elif defined(__i386__)
  return "i386-linux";
#elif defined(__arm__)
  return "armv7l-linux";
#else
  return "unknown-linux";
#endif
}

std::string FixedText(const char8* text, size_t size) {
  return std::string(text, strnlen(text, size));
}

}  // namespace

bool ResolveModuleLibrary(const std::string& path, std::string* library, std::string* error) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (ec || !fs::exists(status)) {
    *error = "cannot open plug-in '" + path + "': no such file or folder";
    return false;
  }
  if (!fs::is_directory(status)) {
    *library = path;
    return true;
  }
  fs::path bundle(path);
  if (!bundle.has_filename()) bundle = bundle.parent_path();  // "X.vst3/"
  const fs::path folder = bundle / "Contents" / BundleArchitectureFolder();
  const fs::path named = folder / (bundle.stem().string() + ".so");
  if (fs::is_regular_file(named, ec)) {
    *library = named.string();
    return true;
  }
  // A bundle renamed after it was built keeps its library's first name.
  std::vector<std::string> found;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->path().extension() == ".so" && it->is_regular_file(ec)) found.push_back(it->path().string());
  }
  if (found.empty()) {
    *error = "'" + path + "' is not a VST3 bundle: it has no " + named.lexically_relative(bundle).string();
    return false;
  }
  std::sort(found.begin(), found.end());
  *library = found.front();
  return true;
}

std::unique_ptr<Vst3Module> Vst3Module::Load(const std::string& path, std::string* error) {
  std::string library;
  if (!ResolveModuleLibrary(path, &library, error)) return nullptr;
  std::unique_ptr<Vst3Module> module(new Vst3Module());
  module->mLibraryPath = library;
  std::string reason;
  if (!module->mLibrary.Open(library, &reason)) {
    *error = "cannot load '" + path + "' as a plug-in module: " + reason;
    return nullptr;
  }
  if (!module->Enter(error)) return nullptr;
  module->ReadClasses();
  return module;
}

bool Vst3Module::Enter(std::string* error) {
  using GetFactory = IPluginFactory* (*)();
  auto getFactory = reinterpret_cast<GetFactory>(mLibrary.Symbol("GetPluginFactory"));
  if (getFactory == nullptr) {
    *error = "'" + mLibraryPath + "' is not a VST3 module: it has no GetPluginFactory entry point";
    return false;
  }
  // Linux modules are entered with their library handle; modules built the
  // Windows way offer InitDll/ExitDll instead, which is taken as well.
  using EnterWithHandle = bool (*)(void*);
  using EnterPlain = bool (*)();
  auto moduleEntry = reinterpret_cast<EnterWithHandle>(mLibrary.Symbol("ModuleEntry"));
  auto initDll = reinterpret_cast<EnterPlain>(mLibrary.Symbol("InitDll"));
  if (moduleEntry != nullptr) {
    if (!moduleEntry(mLibrary.Handle())) {
      *error = "'" + mLibraryPath + "' refused to start: its ModuleEntry answered false";
      return false;
    }
    mExit = reinterpret_cast<EnterPlain>(mLibrary.Symbol("ModuleExit"));
  } else if (initDll != nullptr) {
    if (!initDll()) {
      *error = "'" + mLibraryPath + "' refused to start: its InitDll answered false";
      return false;
    }
    mExit = reinterpret_cast<EnterPlain>(mLibrary.Symbol("ExitDll"));
  }
  mFactory = getFactory();
  if (mFactory == nullptr) {
    *error = "'" + mLibraryPath + "' gave no plug-in factory";
    return false;
  }
  return true;
}

void Vst3Module::ReadClasses() {
  PFactoryInfo factoryInfo;
  if (mFactory->getFactoryInfo(&factoryInfo) == kResultOk) {
    mFactoryVendor = FixedText(factoryInfo.vendor, sizeof factoryInfo.vendor);
  }
  FUnknownPtr<IPluginFactory2> factory2(mFactory);
  FUnknownPtr<IPluginFactory3> factory3(mFactory);
  const int32 count = mFactory->countClasses();
  for (int32 i = 0; i < count; ++i) {
    ClassDescription description;
    PClassInfo info;
    if (mFactory->getClassInfo(i, &info) != kResultOk) continue;
    std::memcpy(description.classId, info.cid, sizeof(TUID));
    description.name = FixedText(info.name, sizeof info.name);
    description.category = FixedText(info.category, sizeof info.category);
    PClassInfoW infoW;
    PClassInfo2 info2;
    if (factory3 && factory3->getClassInfoUnicode(i, &infoW) == kResultOk) {
      description.name = Utf16ToUtf8(infoW.name);
      description.subCategories = FixedText(infoW.subCategories, sizeof infoW.subCategories);
      description.vendor = Utf16ToUtf8(infoW.vendor);
      description.version = Utf16ToUtf8(infoW.version);
      description.sdkVersion = Utf16ToUtf8(infoW.sdkVersion);
      description.flags = infoW.classFlags;
    } else if (factory2 && factory2->getClassInfo2(i, &info2) == kResultOk) {
      description.subCategories = FixedText(info2.subCategories, sizeof info2.subCategories);
      description.vendor = FixedText(info2.vendor, sizeof info2.vendor);
      description.version = FixedText(info2.version, sizeof info2.version);
      description.sdkVersion = FixedText(info2.sdkVersion, sizeof info2.sdkVersion);
      description.flags = info2.classFlags;
    }
    if (description.vendor.empty()) description.vendor = mFactoryVendor;
    mClasses.push_back(description);
  }
}

const ClassDescription* Vst3Module::FirstAudioEffect() const {
  for (const ClassDescription& description : mClasses) {
    if (description.category == kVstAudioEffectClass) return &description;
  }
  return nullptr;
}

void Vst3Module::SetHostContext(FUnknown* context) {
  FUnknownPtr<IPluginFactory3> factory3(mFactory);
  if (factory3) factory3->setHostContext(context);
}

Vst3Module::~Vst3Module() {
  if (mFactory != nullptr) mFactory->release();
  mFactory = nullptr;
  if (mExit != nullptr) mExit();
  mLibrary.Close();
}

}  // namespace vst3host
