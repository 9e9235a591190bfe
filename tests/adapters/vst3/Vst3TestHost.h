#pragma once

// A small in-process VST3 host for the adapter tests: it loads a module the
// way a host does (dlopen, ModuleEntry, GetPluginFactory), creates and
// initialises its one class, and offers the host-side objects process calls
// need (parameter changes, event lists, a recording component handler).

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/LoadableModule.h"
#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

// Host objects below live on the test's stack or in its fixture; their
// reference counts are not used to free them.
#define STRATUM_TEST_UNKNOWN(Interface)                                                    \
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj)      \
      override {                                                                           \
    if (Steinberg::FUnknownPrivate::iidEqual(iid, Interface::iid) ||                       \
        Steinberg::FUnknownPrivate::iidEqual(iid, Steinberg::FUnknown::iid)) {             \
      *obj = static_cast<Interface*>(this);                                                \
      return Steinberg::kResultOk;                                                         \
    }                                                                                      \
    *obj = nullptr;                                                                        \
    return Steinberg::kNoInterface;                                                        \
  }                                                                                        \
  Steinberg::uint32 PLUGIN_API addRef() override { return 1; }                             \
  Steinberg::uint32 PLUGIN_API release() override { return 1; }

class TestParamQueue : public Steinberg::Vst::IParamValueQueue {
 public:
  explicit TestParamQueue(Steinberg::Vst::ParamID id) : mId(id) {}
  struct Point {
    Steinberg::int32 offset;
    double value;
  };
  Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return mId; }
  Steinberg::int32 PLUGIN_API getPointCount() override {
    return static_cast<Steinberg::int32>(points.size());
  }
  Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& offset,
                                         Steinberg::Vst::ParamValue& value) override;
  Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 offset, Steinberg::Vst::ParamValue value,
                                         Steinberg::int32& index) override;
  STRATUM_TEST_UNKNOWN(Steinberg::Vst::IParamValueQueue)

  std::vector<Point> points;

 private:
  Steinberg::Vst::ParamID mId;
};

class TestParameterChanges : public Steinberg::Vst::IParameterChanges {
 public:
  Steinberg::int32 PLUGIN_API getParameterCount() override {
    return static_cast<Steinberg::int32>(mQueues.size());
  }
  Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override;
  Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                Steinberg::int32& index) override;
  STRATUM_TEST_UNKNOWN(Steinberg::Vst::IParameterChanges)

  // Adds a point to the queue of id (made on first use).
  void Add(Steinberg::Vst::ParamID id, double value, Steinberg::int32 offset = 0);
  // The queue for id, or null.
  TestParamQueue* Find(Steinberg::Vst::ParamID id);
  void Clear() { mQueues.clear(); }

 private:
  std::vector<std::unique_ptr<TestParamQueue>> mQueues;
};

class TestEventList : public Steinberg::Vst::IEventList {
 public:
  Steinberg::int32 PLUGIN_API getEventCount() override {
    return static_cast<Steinberg::int32>(events.size());
  }
  Steinberg::tresult PLUGIN_API getEvent(Steinberg::int32 index,
                                         Steinberg::Vst::Event& e) override;
  Steinberg::tresult PLUGIN_API addEvent(Steinberg::Vst::Event& e) override;
  STRATUM_TEST_UNKNOWN(Steinberg::Vst::IEventList)

  std::vector<Steinberg::Vst::Event> events;
};

// Records every call a plug-in makes on its component handler, with the
// calling thread.
class RecordingComponentHandler : public Steinberg::Vst::IComponentHandler {
 public:
  enum Kind { kBegin, kPerform, kEnd, kRestart };
  struct Call {
    Kind kind;
    Steinberg::Vst::ParamID id;
    double value;
    Steinberg::int32 flags;
    std::thread::id thread;
  };
  Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) override;
  Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id,
                                            Steinberg::Vst::ParamValue value) override;
  Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) override;
  Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) override;
  STRATUM_TEST_UNKNOWN(Steinberg::Vst::IComponentHandler)

  std::vector<Call> calls;
};

// IHostApplication with a chosen name.
class TestHostApplication : public Steinberg::Vst::IHostApplication {
 public:
  explicit TestHostApplication(const char* name) : mName(name) {}
  Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 name) override;
  Steinberg::tresult PLUGIN_API createInstance(Steinberg::TUID, Steinberg::TUID,
                                               void** obj) override {
    *obj = nullptr;
    return Steinberg::kResultFalse;
  }
  STRATUM_TEST_UNKNOWN(Steinberg::Vst::IHostApplication)

 private:
  std::string mName;
};

// A module loaded the way a host loads it. The factory reference and the
// module stay until the object is destroyed.
class LoadedModule {
 public:
  ~LoadedModule();
  // Loads the library, calls ModuleEntry and takes the factory.
  bool Load(const std::string& path, std::string* error);
  Steinberg::IPluginFactory* Factory() const { return mFactory; }
  platform::LoadableModule& Library() { return mLibrary; }

 private:
  platform::LoadableModule mLibrary;
  Steinberg::IPluginFactory* mFactory = nullptr;
  bool mEntered = false;
};

// One created, initialised instance of a module's first class, seen through
// its three main interfaces.
class PluginInstance {
 public:
  ~PluginInstance();
  // Creates the class at index 0 and initialises it with host.
  bool Create(Steinberg::IPluginFactory* factory, Steinberg::FUnknown* host);
  Steinberg::Vst::IComponent* component = nullptr;
  Steinberg::Vst::IAudioProcessor* processor = nullptr;
  Steinberg::Vst::IEditController* controller = nullptr;

  // setupProcessing with the sample size and rate, then setActive(true).
  bool Start(Steinberg::int32 sampleSize, double sampleRate = 48000.0, int maxBlock = 512);

  // Processes one block of planar float audio (channels × frames).
  Steinberg::tresult ProcessFloat(std::vector<std::vector<float>>& inputs,
                                  std::vector<std::vector<float>>& outputs,
                                  Steinberg::Vst::IParameterChanges* inChanges = nullptr,
                                  Steinberg::Vst::IParameterChanges* outChanges = nullptr,
                                  Steinberg::Vst::IEventList* events = nullptr);
  Steinberg::tresult ProcessDouble(std::vector<std::vector<double>>& inputs,
                                   std::vector<std::vector<double>>& outputs,
                                   Steinberg::Vst::IParameterChanges* inChanges = nullptr,
                                   Steinberg::Vst::IParameterChanges* outChanges = nullptr);

  // Applies parameter changes in a block without audio (a flush call).
  Steinberg::tresult ProcessChangesOnly(Steinberg::Vst::IParameterChanges* inChanges,
                                        Steinberg::Vst::IParameterChanges* outChanges = nullptr,
                                        Steinberg::Vst::IEventList* events = nullptr);

  // The controller's state stream as bytes; empty when getState fails.
  std::vector<char> SaveState();
  Steinberg::tresult LoadState(const std::vector<char>& bytes);
};

// UTF-16 to std::string (ASCII texts of the tests).
std::string ToAscii(const Steinberg::char16* text);
