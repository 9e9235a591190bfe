#include "tools/aaxhost/AaxModule.h"

namespace aaxhost {

namespace {

template <typename Proc>
bool Find(const platform::LoadableModule& library, const char* name, Proc* proc,
          std::string* error) {
  *proc = reinterpret_cast<Proc>(library.Symbol(name));
  if (*proc == nullptr && error != nullptr) *error = std::string("no entry point ") + name;
  return *proc != nullptr;
}

}  // namespace

AaxModule::~AaxModule() {
  if (mStarted) Shutdown();
}

bool AaxModule::Open(const std::string& path, std::string* error) {
  if (!mLibrary.Open(path, error)) return false;
  return Find(mLibrary, "ACFStartup", &startup, error) &&
         Find(mLibrary, "ACFShutdown", &shutdown, error) &&
         Find(mLibrary, "ACFGetSDKVersion", &getSDKVersion, error) &&
         Find(mLibrary, "ACFRegisterPlugin", &registerPlugin, error) &&
         Find(mLibrary, "ACFRegisterComponent", &registerComponent, error) &&
         Find(mLibrary, "ACFGetClassFactory", &getClassFactory, error) &&
         Find(mLibrary, "ACFCanUnloadNow", &canUnloadNow, error);
}

bool AaxModule::StartAndRegister(std::string* error) {
  if (startup == nullptr || startup(nullptr) != AAX_SUCCESS) {
    if (error != nullptr) *error = "ACFStartup failed";
    return false;
  }
  mStarted = true;
  mRegisterResult = registerPlugin(nullptr, &mCollection);
  if (mRegisterResult != AAX_SUCCESS || mCollection == nullptr) {
    if (error != nullptr) *error = "ACFRegisterPlugin answered " + std::to_string(mRegisterResult);
    return false;
  }
  return true;
}

AAX_Result AaxModule::Shutdown() {
  mCollection = nullptr;
  mStarted = false;
  return shutdown != nullptr ? shutdown(nullptr) : AAX_ERROR_NULL_OBJECT;
}

}  // namespace aaxhost
