#include "tests/adapters/vst3/Vst3TestHost.h"

#include "public.sdk/source/common/memorystream.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

tresult PLUGIN_API TestParamQueue::getPoint(int32 index, int32& offset, ParamValue& value) {
  if (index < 0 || index >= getPointCount()) return kResultFalse;
  offset = points[index].offset;
  value = points[index].value;
  return kResultOk;
}

tresult PLUGIN_API TestParamQueue::addPoint(int32 offset, ParamValue value, int32& index) {
  points.push_back({offset, value});
  index = getPointCount() - 1;
  return kResultOk;
}

IParamValueQueue* PLUGIN_API TestParameterChanges::getParameterData(int32 index) {
  if (index < 0 || index >= getParameterCount()) return nullptr;
  return mQueues[index].get();
}

IParamValueQueue* PLUGIN_API TestParameterChanges::addParameterData(const ParamID& id,
                                                                    int32& index) {
  for (size_t i = 0; i < mQueues.size(); ++i) {
    if (mQueues[i]->getParameterId() == id) {
      index = static_cast<int32>(i);
      return mQueues[i].get();
    }
  }
  mQueues.push_back(std::make_unique<TestParamQueue>(id));
  index = getParameterCount() - 1;
  return mQueues.back().get();
}

void TestParameterChanges::Add(ParamID id, double value, int32 offset) {
  int32 index = 0;
  int32 point = 0;
  addParameterData(id, index)->addPoint(offset, value, point);
}

TestParamQueue* TestParameterChanges::Find(ParamID id) {
  for (auto& queue : mQueues) {
    if (queue->getParameterId() == id) return queue.get();
  }
  return nullptr;
}

tresult PLUGIN_API TestEventList::getEvent(int32 index, Event& e) {
  if (index < 0 || index >= getEventCount()) return kResultFalse;
  e = events[index];
  return kResultOk;
}

tresult PLUGIN_API TestEventList::addEvent(Event& e) {
  events.push_back(e);
  return kResultOk;
}

tresult PLUGIN_API RecordingComponentHandler::beginEdit(ParamID id) {
  calls.push_back({kBegin, id, 0.0, 0, std::this_thread::get_id()});
  return kResultOk;
}

tresult PLUGIN_API RecordingComponentHandler::performEdit(ParamID id, ParamValue value) {
  calls.push_back({kPerform, id, value, 0, std::this_thread::get_id()});
  return kResultOk;
}

tresult PLUGIN_API RecordingComponentHandler::endEdit(ParamID id) {
  calls.push_back({kEnd, id, 0.0, 0, std::this_thread::get_id()});
  return kResultOk;
}

tresult PLUGIN_API RecordingComponentHandler::restartComponent(int32 flags) {
  calls.push_back({kRestart, 0, 0.0, flags, std::this_thread::get_id()});
  return kResultOk;
}

tresult PLUGIN_API TestHostApplication::getName(String128 name) {
  size_t i = 0;
  for (; i < mName.size() && i < 127; ++i) name[i] = static_cast<char16>(mName[i]);
  name[i] = 0;
  return kResultOk;
}

LoadedModule::~LoadedModule() {
  if (mFactory != nullptr) mFactory->release();
  if (mEntered) {
    using ExitFunction = bool (*)();
    if (auto exitModule = reinterpret_cast<ExitFunction>(mLibrary.Symbol("ModuleExit"))) {
      exitModule();
    }
  }
}

bool LoadedModule::Load(const std::string& path, std::string* error) {
  if (!mLibrary.Open(path, error)) return false;
  using EntryFunction = bool (*)(void*);
  using FactoryFunction = IPluginFactory* (PLUGIN_API*)();
  auto entry = reinterpret_cast<EntryFunction>(mLibrary.Symbol("ModuleEntry"));
  auto getFactory = reinterpret_cast<FactoryFunction>(mLibrary.Symbol("GetPluginFactory"));
  if (entry == nullptr || getFactory == nullptr) {
    if (error != nullptr) *error = "module lacks its entry points";
    return false;
  }
  if (!entry(mLibrary.Handle())) {
    if (error != nullptr) *error = "ModuleEntry failed";
    return false;
  }
  mEntered = true;
  mFactory = getFactory();
  if (mFactory == nullptr && error != nullptr) *error = "no factory";
  return mFactory != nullptr;
}

PluginInstance::~PluginInstance() {
  if (component != nullptr) {
    component->setActive(false);
    component->terminate();
  }
  if (controller != nullptr) controller->release();
  if (processor != nullptr) processor->release();
  if (component != nullptr) component->release();
}

bool PluginInstance::Create(IPluginFactory* factory, FUnknown* host) {
  PClassInfo info;
  if (factory == nullptr || factory->getClassInfo(0, &info) != kResultOk) return false;
  void* object = nullptr;
  if (factory->createInstance(info.cid, IComponent::iid, &object) != kResultOk) return false;
  component = static_cast<IComponent*>(object);
  if (component->queryInterface(IAudioProcessor::iid, &object) != kResultOk) return false;
  processor = static_cast<IAudioProcessor*>(object);
  if (component->queryInterface(IEditController::iid, &object) != kResultOk) return false;
  controller = static_cast<IEditController*>(object);
  if (component->initialize(host) != kResultOk) return false;
  // Like a host, turn on the buses the plug-in marks active by default.
  for (MediaType type : {kAudio, kEvent}) {
    for (BusDirection direction : {kInput, kOutput}) {
      for (int32 i = 0; i < component->getBusCount(type, direction); ++i) {
        BusInfo info = {};
        if (component->getBusInfo(type, direction, i, info) == kResultTrue &&
            (info.flags & BusInfo::kDefaultActive) != 0) {
          component->activateBus(type, direction, i, true);
        }
      }
    }
  }
  return true;
}

bool PluginInstance::Start(int32 sampleSize, double sampleRate, int maxBlock) {
  ProcessSetup setup{kRealtime, sampleSize, maxBlock, sampleRate};
  if (processor->setupProcessing(setup) != kResultOk) return false;
  if (component->setActive(true) != kResultOk) return false;
  return processor->setProcessing(true) == kResultOk;
}

namespace {

template <typename Sample>
tresult ProcessPlanar(IAudioProcessor* processor, std::vector<std::vector<Sample>>& inputs,
                      std::vector<std::vector<Sample>>& outputs, IParameterChanges* inChanges,
                      IParameterChanges* outChanges, IEventList* events) {
  std::vector<Sample*> in;
  std::vector<Sample*> out;
  for (auto& channel : inputs) in.push_back(channel.data());
  for (auto& channel : outputs) out.push_back(channel.data());
  AudioBusBuffers inBus;
  AudioBusBuffers outBus;
  inBus.numChannels = static_cast<int32>(in.size());
  outBus.numChannels = static_cast<int32>(out.size());
  if constexpr (sizeof(Sample) == sizeof(float)) {
    inBus.channelBuffers32 = in.data();
    outBus.channelBuffers32 = out.data();
  } else {
    inBus.channelBuffers64 = in.data();
    outBus.channelBuffers64 = out.data();
  }
  ProcessData data;
  data.processMode = kRealtime;
  data.symbolicSampleSize = sizeof(Sample) == sizeof(float) ? kSample32 : kSample64;
  data.numSamples = outputs.empty() ? 0 : static_cast<int32>(outputs[0].size());
  data.numInputs = 1;
  data.numOutputs = 1;
  data.inputs = &inBus;
  data.outputs = &outBus;
  data.inputParameterChanges = inChanges;
  data.outputParameterChanges = outChanges;
  data.inputEvents = events;
  return processor->process(data);
}

}  // namespace

tresult PluginInstance::ProcessFloat(std::vector<std::vector<float>>& inputs,
                                     std::vector<std::vector<float>>& outputs,
                                     IParameterChanges* inChanges, IParameterChanges* outChanges,
                                     IEventList* events) {
  return ProcessPlanar(processor, inputs, outputs, inChanges, outChanges, events);
}

tresult PluginInstance::ProcessDouble(std::vector<std::vector<double>>& inputs,
                                      std::vector<std::vector<double>>& outputs,
                                      IParameterChanges* inChanges,
                                      IParameterChanges* outChanges) {
  return ProcessPlanar(processor, inputs, outputs, inChanges, outChanges, nullptr);
}

tresult PluginInstance::ProcessChangesOnly(IParameterChanges* inChanges,
                                           IParameterChanges* outChanges, IEventList* events) {
  ProcessData data;
  data.processMode = kRealtime;
  data.symbolicSampleSize = kSample32;
  data.numSamples = 0;
  data.inputParameterChanges = inChanges;
  data.outputParameterChanges = outChanges;
  data.inputEvents = events;
  return processor->process(data);
}

std::vector<char> PluginInstance::SaveState() {
  MemoryStream stream;
  if (controller->getState(&stream) != kResultOk) return {};
  int64 size = 0;
  stream.tell(&size);
  return std::vector<char>(stream.getData(), stream.getData() + size);
}

tresult PluginInstance::LoadState(const std::vector<char>& bytes) {
  MemoryStream stream;
  int32 written = 0;
  if (!bytes.empty()) {
    stream.write(const_cast<char*>(bytes.data()), static_cast<int32>(bytes.size()), &written);
  }
  stream.seek(0, IBStream::kIBSeekSet, nullptr);
  return controller->setState(&stream);
}

std::string ToAscii(const char16* text) {
  std::string result;
  for (size_t i = 0; text != nullptr && text[i] != 0; ++i) {
    result += static_cast<char>(text[i] < 0x80 ? text[i] : '?');
  }
  return result;
}
