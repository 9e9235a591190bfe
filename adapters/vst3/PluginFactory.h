#pragma once

// The class factory a VST3 module hands to its host: factory information plus
// a list of registered classes, each with its class information and a create
// function. The SDK copy we build against does not ship a factory helper, so
// this is our own.

#include <atomic>
#include <vector>

#include "pluginterfaces/base/ipluginbase.h"

class PluginFactory : public Steinberg::IPluginFactory3 {
 public:
  // Builds a new instance of a class; null when creation fails. The returned
  // object carries one reference, which the factory gives up after querying
  // the interface the host asked for.
  using CreateFunction = Steinberg::FUnknown* (*)();
  // Called from the destructor, so that a module can forget its factory.
  using DestroyedFunction = void (*)(PluginFactory* factory);

  explicit PluginFactory(const Steinberg::PFactoryInfo& info,
                         DestroyedFunction onDestroyed = nullptr);
  virtual ~PluginFactory();
  PluginFactory(const PluginFactory&) = delete;
  PluginFactory& operator=(const PluginFactory&) = delete;

  void registerClass(const Steinberg::PClassInfo2& info, CreateFunction create);

  // FUnknown
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) SMTG_OVERRIDE;
  Steinberg::uint32 PLUGIN_API addRef() SMTG_OVERRIDE;
  Steinberg::uint32 PLUGIN_API release() SMTG_OVERRIDE;

  // IPluginFactory
  Steinberg::tresult PLUGIN_API getFactoryInfo(Steinberg::PFactoryInfo* info) SMTG_OVERRIDE;
  Steinberg::int32 PLUGIN_API countClasses() SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getClassInfo(Steinberg::int32 index,
                                             Steinberg::PClassInfo* info) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API createInstance(Steinberg::FIDString cid, Steinberg::FIDString iid,
                                               void** obj) SMTG_OVERRIDE;
  // IPluginFactory2
  Steinberg::tresult PLUGIN_API getClassInfo2(Steinberg::int32 index,
                                              Steinberg::PClassInfo2* info) SMTG_OVERRIDE;
  // IPluginFactory3
  Steinberg::tresult PLUGIN_API getClassInfoUnicode(Steinberg::int32 index,
                                                    Steinberg::PClassInfoW* info) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API setHostContext(Steinberg::FUnknown* context) SMTG_OVERRIDE;

 private:
  struct ClassEntry {
    Steinberg::PClassInfo2 info;
    CreateFunction create;
  };
  const ClassEntry* findClass(Steinberg::FIDString cid) const;

  std::atomic<Steinberg::uint32> mRefCount{1};
  Steinberg::PFactoryInfo mFactoryInfo;
  DestroyedFunction mOnDestroyed;
  std::vector<ClassEntry> mClasses;
};
