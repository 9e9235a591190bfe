#pragma once

#include <cstdint>
#include <string>

#include "adapters/aax/support/AAX_Exports.h"
#include "platform/LoadableModule.h"

class AAX_ICollection;

namespace aaxhost {

// An AAX module loaded the way a host loads it: the library, its seven ACF
// entry points, and the description its registration gives.
class AaxModule {
 public:
  AaxModule() = default;
  // Shuts the module down (when started) before unloading it.
  ~AaxModule();
  AaxModule(const AaxModule&) = delete;
  AaxModule& operator=(const AaxModule&) = delete;

  // Loads the library and finds every entry point; false with a reason.
  bool Open(const std::string& path, std::string* error);
  // ACFStartup, then ACFRegisterPlugin; the description stays valid until
  // Shutdown. False with a reason when either fails.
  bool StartAndRegister(std::string* error);
  AAX_Result Shutdown();

  const AAX_ICollection* Collection() const { return mCollection; }
  AAX_Result RegisterResult() const { return mRegisterResult; }

  ACFStartupProc startup = nullptr;
  ACFShutdownProc shutdown = nullptr;
  ACFGetSDKVersionProc getSDKVersion = nullptr;
  ACFRegisterPluginProc registerPlugin = nullptr;
  ACFRegisterComponentProc registerComponent = nullptr;
  ACFGetClassFactoryProc getClassFactory = nullptr;
  ACFCanUnloadNowProc canUnloadNow = nullptr;

 private:
  platform::LoadableModule mLibrary;
  AAX_ICollection* mCollection = nullptr;
  AAX_Result mRegisterResult = AAX_SUCCESS;
  bool mStarted = false;
};

}  // namespace aaxhost
