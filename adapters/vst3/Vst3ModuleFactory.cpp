#include "adapters/vst3/Vst3ModuleFactory.h"

#include <cstdio>
#include <cstring>

#include "adapters/vst3/IFxVST3.h"
#include "adapters/vst3/PluginFactory.h"
#include "adapters/vst3/Vst3ModuleHooks.h"
#include "platform/ModuleHandle.h"
#include "platform/RecursiveLock.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"

using namespace Steinberg;

namespace {

// The SDK version hosts are told the class was built against.
constexpr const char* kSdkVersionText = "VST 3.5.2";
// Class flags of a component that is its own controller.
constexpr uint32 kSingleComponentClassFlags = 2;

int gEntryCount = 0;
PluginFactory* gFactory = nullptr;

// Guards the factory pointer and the entry count.
platform::RecursiveLock& ModuleLock() {
  static platform::RecursiveLock lock;
  return lock;
}

// Serialises the creation of effect instances in this process.
platform::RecursiveLock& CreationLock() {
  static platform::RecursiveLock lock;
  return lock;
}

void ForgetFactory(PluginFactory* factory) {
  platform::LockGuard guard(ModuleLock());
  if (gFactory == factory) gFactory = nullptr;
}

FUnknown* CreateEffect() {
  platform::LockGuard guard(CreationLock());
  IFxVST3* effect = MakeEffectInstance();
  if (effect == nullptr) return nullptr;
  return static_cast<Vst::IAudioProcessor*>(effect);
}

void CopyText(char8* destination, size_t size, const char* text) {
  std::snprintf(destination, size, "%s", text != nullptr ? text : "");
}

PluginFactory* MakeFactory() {
  const Vst3ModuleDescription& module = kVst3ModuleDescription;

  PFactoryInfo factoryInfo(module.vendor, module.vendorUrl, module.vendorEmail,
                           PFactoryInfo::kUnicode);
  auto* factory = new PluginFactory(factoryInfo, ForgetFactory);

  // Class ID: a fixed prefix, then the maker and the plug-in code as four
  // characters each, in reading order.
  const uint8_t prefix[8] = {0x0D, 0xE7, 0xAE, 0xF2, 0xDE, 0x00, 0x4E, 0x4F};
  TUID classId;
  std::memcpy(classId, prefix, sizeof(prefix));
  for (int i = 0; i < 4; ++i) {
    classId[8 + i] = static_cast<char>((module.makerCode >> (24 - 8 * i)) & 0xFF);
    classId[12 + i] = static_cast<char>((module.uniqueCode >> (24 - 8 * i)) & 0xFF);
  }

  char version[32];
  std::snprintf(version, sizeof(version), "%d.%d.%d", (module.version >> 16) & 0xFFFF,
                (module.version >> 8) & 0xFF, module.version & 0xFF);

  PClassInfo2 classInfo;
  std::memcpy(classInfo.cid, classId, sizeof(TUID));
  classInfo.cardinality = PClassInfo::kManyInstances;
  CopyText(classInfo.category, sizeof(classInfo.category), kVstAudioEffectClass);
  CopyText(classInfo.name, sizeof(classInfo.name), module.effectName);
  classInfo.classFlags = kSingleComponentClassFlags;
  CopyText(classInfo.subCategories, sizeof(classInfo.subCategories), module.subCategories);
  CopyText(classInfo.vendor, sizeof(classInfo.vendor), "");
  CopyText(classInfo.version, sizeof(classInfo.version), version);
  CopyText(classInfo.sdkVersion, sizeof(classInfo.sdkVersion), kSdkVersionText);
  factory->registerClass(classInfo, CreateEffect);
  return factory;
}

}  // namespace

bool EnterVst3Module(void* moduleHandle) {
  platform::LockGuard guard(ModuleLock());
  if (gEntryCount++ == 0) platform::SetThisModuleHandle(moduleHandle);
  return true;
}

bool ExitVst3Module() {
  platform::LockGuard guard(ModuleLock());
  if (gEntryCount > 0 && --gEntryCount == 0) platform::SetThisModuleHandle(nullptr);
  return true;
}

IPluginFactory* AcquireVst3ModuleFactory() {
  platform::LockGuard guard(ModuleLock());
  if (gFactory == nullptr) {
    gFactory = MakeFactory();
  } else {
    gFactory->addRef();
  }
  return gFactory;
}
