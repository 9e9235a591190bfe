// The entry points of a VST2 module: VSTPluginMain and its legacy alias
// main, which do the same. Compiled into each module next to the module's
// MakeEffectInstance; nothing else of the module is exported.

#include <memory>

#include "adapters/vst2/IFxVST.h"
#include "adapters/vst2/Vst2EffectFactory.h"
#include "platform/ModuleContaining.h"
#include "platform/ModuleHandle.h"
#include "platform/RecursiveLock.h"

#define STRATUM_VST2_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// Serialises the creation of effect instances in this process.
platform::RecursiveLock& CreationLock() {
  static platform::RecursiveLock lock;
  return lock;
}

AEffect* CreateInstance(audioMasterCallback hostCallback) {
  // A VST2 host hands no module handle; the module finds its own, for the
  // editor's images and paths.
  platform::SetThisModuleHandle(
      platform::ModuleHandleContaining(reinterpret_cast<const void*>(&CreateInstance)));
  try {
    platform::LockGuard guard(CreationLock());
    std::unique_ptr<IFxVST> effect(MakeEffectInstance());
    if (effect == nullptr) return nullptr;
    effect->SetHostCallback(hostCallback);
    effect->FillEmptyPresets();
    AEffect* record = effect->GetAEffect();
    if (record->numPrograms < 1) record->numPrograms = 1;
    effect.release();  // from here on the host owns it, until effClose
    return record;
  } catch (...) {
    return nullptr;
  }
}

}  // namespace

STRATUM_VST2_EXPORT AEffect* VSTPluginMain(audioMasterCallback hostCallback) {
  return CreateInstance(hostCallback);
}

// The legacy entry point is exported under the name "main", which C++ keeps
// for the program's own entry; the assembler name gives it to this function.
STRATUM_VST2_EXPORT AEffect* VSTPluginMainLegacy(audioMasterCallback hostCallback)
    __asm__("main");
AEffect* VSTPluginMainLegacy(audioMasterCallback hostCallback) {
  return CreateInstance(hostCallback);
}
