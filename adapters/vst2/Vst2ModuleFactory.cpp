#include "adapters/vst2/Vst2ModuleFactory.h"

#include <memory>

#include "adapters/vst2/IFxVST.h"
#include "adapters/vst2/Vst2ModuleHooks.h"
#include "platform/ModuleContaining.h"
#include "platform/ModuleHandle.h"
#include "platform/RecursiveLock.h"

namespace {

// Serialises the creation of effect instances in this process.
platform::RecursiveLock& CreationLock() {
  static platform::RecursiveLock lock;
  return lock;
}

}  // namespace

AEffect* CreateVst2Instance(audioMasterCallback hostCallback) {
  // A VST2 host hands no module handle; the module finds its own, for the
  // editor's images and paths.
  platform::SetThisModuleHandle(
      platform::ModuleHandleContaining(reinterpret_cast<const void*>(&CreateVst2Instance)));
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
