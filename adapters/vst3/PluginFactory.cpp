#include "adapters/vst3/PluginFactory.h"

#include <cstring>

#include "pluginterfaces/base/ustring.h"

using namespace Steinberg;

PluginFactory::PluginFactory(const PFactoryInfo& info, DestroyedFunction onDestroyed)
    : mFactoryInfo(info), mOnDestroyed(onDestroyed) {}

PluginFactory::~PluginFactory() {
  if (mOnDestroyed != nullptr) mOnDestroyed(this);
}

void PluginFactory::registerClass(const PClassInfo2& info, CreateFunction create) {
  mClasses.push_back(ClassEntry{info, create});
}

tresult PLUGIN_API PluginFactory::queryInterface(const TUID iid, void** obj) {
  if (obj == nullptr) return kInvalidArgument;
  if (FUnknownPrivate::iidEqual(iid, IPluginFactory::iid) ||
      FUnknownPrivate::iidEqual(iid, IPluginFactory2::iid) ||
      FUnknownPrivate::iidEqual(iid, IPluginFactory3::iid) ||
      FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
    addRef();
    *obj = static_cast<IPluginFactory3*>(this);
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

uint32 PLUGIN_API PluginFactory::addRef() { return ++mRefCount; }

uint32 PLUGIN_API PluginFactory::release() {
  const uint32 remaining = --mRefCount;
  if (remaining == 0) delete this;
  return remaining;
}

tresult PLUGIN_API PluginFactory::getFactoryInfo(PFactoryInfo* info) {
  if (info == nullptr) return kInvalidArgument;
  *info = mFactoryInfo;
  return kResultOk;
}

int32 PLUGIN_API PluginFactory::countClasses() { return static_cast<int32>(mClasses.size()); }

tresult PLUGIN_API PluginFactory::getClassInfo(int32 index, PClassInfo* info) {
  if (info == nullptr) return kInvalidArgument;
  if (index < 0 || index >= countClasses()) return kInvalidArgument;
  const PClassInfo2& source = mClasses[index].info;
  std::memcpy(info->cid, source.cid, sizeof(TUID));
  info->cardinality = source.cardinality;
  std::memcpy(info->category, source.category, sizeof(info->category));
  std::memcpy(info->name, source.name, sizeof(info->name));
  return kResultOk;
}

tresult PLUGIN_API PluginFactory::getClassInfo2(int32 index, PClassInfo2* info) {
  if (info == nullptr) return kInvalidArgument;
  if (index < 0 || index >= countClasses()) return kInvalidArgument;
  *info = mClasses[index].info;
  return kResultOk;
}

tresult PLUGIN_API PluginFactory::getClassInfoUnicode(int32 index, PClassInfoW* info) {
  if (info == nullptr) return kInvalidArgument;
  if (index < 0 || index >= countClasses()) return kInvalidArgument;
  info->fromAscii(mClasses[index].info);
  return kResultOk;
}

tresult PLUGIN_API PluginFactory::setHostContext(FUnknown* /*context*/) { return kNotImplemented; }

const PluginFactory::ClassEntry* PluginFactory::findClass(FIDString cid) const {
  for (const ClassEntry& entry : mClasses) {
    if (std::memcmp(entry.info.cid, cid, sizeof(TUID)) == 0) return &entry;
  }
  return nullptr;
}

tresult PLUGIN_API PluginFactory::createInstance(FIDString cid, FIDString iid, void** obj) {
  if (obj == nullptr) return kInvalidArgument;
  *obj = nullptr;
  if (cid == nullptr || iid == nullptr) return kInvalidArgument;
  const ClassEntry* entry = findClass(cid);
  if (entry == nullptr) return kNoInterface;
  FUnknown* instance = entry->create();
  if (instance == nullptr) return kOutOfMemory;
  TUID wanted;
  std::memcpy(wanted, iid, sizeof(TUID));
  const tresult result = instance->queryInterface(wanted, obj);
  instance->release();
  if (result != kResultOk) *obj = nullptr;
  return result;
}
