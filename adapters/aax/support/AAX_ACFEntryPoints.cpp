// The seven entry points of a module built on this library, compiled into
// each module (the module rule exports them and nothing else). Registration
// describes the module once, through the module's GetEffectDescriptions hook,
// into a collection the module keeps until ACFShutdown.

#include <memory>
#include <string>

#include "adapters/aax/support/AAX_CCollection.h"
#include "adapters/aax/support/AAX_CEffectParameters.h"
#include "adapters/aax/support/AAX_Exports.h"
#include "platform/RecursiveLock.h"

#define AAX_ACF_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct ModuleState {
  platform::RecursiveLock lock;
  bool started = false;
  std::unique_ptr<AAX_CCollection> collection;
};

ModuleState& State() {
  static ModuleState state;
  return state;
}

// The registered effect with the ID, or null.
const AAX_IEffectDescriptor* FindEffect(const AAX_CCollection& collection, const char* effectID) {
  if (effectID == nullptr) return nullptr;
  for (int32_t i = 0; i < collection.NumEffects(); ++i) {
    if (std::string(collection.GetEffectID(i)) == effectID) return collection.GetEffect(i);
  }
  return nullptr;
}

}  // namespace

AAX_ACF_EXPORT AAX_Result AAX_ACF_API ACFStartup(void* /*hostUnknown*/) {
  platform::LockGuard guard(State().lock);
  State().started = true;
  return AAX_SUCCESS;
}

AAX_ACF_EXPORT AAX_Result AAX_ACF_API ACFShutdown(void* /*hostUnknown*/) {
  platform::LockGuard guard(State().lock);
  State().collection.reset();
  State().started = false;
  return AAX_SUCCESS;
}

AAX_ACF_EXPORT AAX_Result AAX_ACF_API ACFGetSDKVersion(uint64_t* version) {
  if (version == nullptr) return AAX_ERROR_NULL_OBJECT;
  *version = kAAX_SupportLibraryVersion;
  return AAX_SUCCESS;
}

AAX_ACF_EXPORT AAX_Result AAX_ACF_API ACFRegisterPlugin(void* /*hostUnknown*/,
                                                       AAX_ICollection** collection) {
  if (collection == nullptr) return AAX_ERROR_NULL_OBJECT;
  *collection = nullptr;
  platform::LockGuard guard(State().lock);
  if (!State().started) return AAX_ERROR_NOT_INITIALIZED;
  // A second registration describes afresh; the host's earlier pointer goes.
  try {
    auto described = std::make_unique<AAX_CCollection>();
    const AAX_Result result = GetEffectDescriptions(described.get());
    State().collection = std::move(described);
    *collection = State().collection.get();
    return result;
  } catch (...) {
    State().collection.reset();
    return AAX_ERROR_ACF_ERROR;
  }
}

AAX_ACF_EXPORT AAX_Result AAX_ACF_API ACFRegisterComponent(void* /*hostUnknown*/, uint32_t index,
                                                          const AAX_IEffectDescriptor** effect) {
  if (effect == nullptr) return AAX_ERROR_NULL_OBJECT;
  *effect = nullptr;
  platform::LockGuard guard(State().lock);
  if (State().collection == nullptr) return AAX_ERROR_NOT_INITIALIZED;
  if (index >= static_cast<uint32_t>(State().collection->NumEffects())) {
    return AAX_ERROR_INVALID_ARGUMENT;
  }
  *effect = State().collection->GetEffect(static_cast<int32_t>(index));
  return AAX_SUCCESS;
}

AAX_ACF_EXPORT AAX_Result AAX_ACF_API ACFGetClassFactory(void* /*hostUnknown*/,
                                                        const char* effectID, int32_t procID,
                                                        void** proc) {
  if (proc == nullptr) return AAX_ERROR_NULL_OBJECT;
  *proc = nullptr;
  platform::LockGuard guard(State().lock);
  if (State().collection == nullptr) return AAX_ERROR_NOT_INITIALIZED;
  const AAX_IEffectDescriptor* effect = FindEffect(*State().collection, effectID);
  if (effect == nullptr) return AAX_ERROR_INVALID_ARGUMENT;
  *proc = effect->GetProcPtr(static_cast<AAX_EProcPtrID>(procID));
  return *proc != nullptr ? AAX_SUCCESS : AAX_ERROR_UNIMPLEMENTED;
}

AAX_ACF_EXPORT AAX_Result AAX_ACF_API ACFCanUnloadNow(void* /*hostUnknown*/) {
  return AAX_CEffectParameters::LiveObjects() == 0 ? AAX_SUCCESS : kAAX_ACF_ObjectsAlive;
}
