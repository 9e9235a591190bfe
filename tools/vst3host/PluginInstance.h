#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "tools/vst3host/HostComponentHandler.h"
#include "tools/vst3host/HostEventList.h"
#include "tools/vst3host/HostParameterChanges.h"
#include "tools/vst3host/PluginState.h"
#include "tools/vst3host/Vst3Module.h"

namespace vst3host {

struct BusDescription {
  std::string name;
  bool audio = true;  // else an event bus
  bool input = true;  // else an output
  int channels = 0;
  bool main = true;   // else auxiliary
  bool defaultActive = false;
};

struct ParameterDescription {
  Steinberg::Vst::ParamID id = 0;
  std::string title;
  std::string shortTitle;
  std::string units;
  Steinberg::int32 stepCount = 0;
  double defaultNormalized = 0.0;
  Steinberg::int32 flags = 0;
};

// The musical position the host reports with every block.
struct TransportSettings {
  double tempo = 120.0;
  bool playing = false;
};

// One instance of a plug-in class, driven the way a host drives it: created
// and initialised with the host context, its controller found (the same
// object, or a separate one connected to the component), buses arranged,
// processing set up and activated, blocks processed with parameter changes
// and a process context, state saved and restored. The host keeps its own
// view of every parameter's normalised value, updated by what it sets and by
// every change the plug-in reports (output parameter changes, edits through
// the component handler, restart requests).
class PluginInstance {
 public:
  // Creates and initialises an instance of the class with the host context
  // (null: this library's HostContext()), and turns on the buses the plug-in
  // marks active by default. Null with a one-line reason on failure.
  static std::unique_ptr<PluginInstance> Create(Vst3Module& module, const ClassDescription& description,
                                                std::string* error, Steinberg::FUnknown* hostContext = nullptr);
  ~PluginInstance();
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  const ClassDescription& Description() const { return mDescription; }
  // The plug-in's own interfaces, for callers that drive it directly (see
  // PlanarProcess.h, StateStream.h). The instance keeps its references.
  Steinberg::Vst::IComponent* Component() const { return mComponent; }
  Steinberg::Vst::IAudioProcessor* Processor() const { return mProcessor; }
  Steinberg::Vst::IEditController* Controller() const { return mController; }
  // The component handler the controller was given, with its record of calls.
  HostComponentHandler& Handler() { return mHandler; }
  // True when one object is both the component and the controller.
  bool SingleObject() const { return mSeparateController == nullptr; }
  std::vector<BusDescription> Buses() const;

  // Parameters, addressed by their position in Parameters().
  const std::vector<ParameterDescription>& Parameters() const { return mParameters; }
  // The parameter with this title: exact first, then ignoring case or by
  // short title; -1 when there is none.
  int FindParameter(const std::string& title) const;
  // Reads a value given as a plain number or as a display text ("-6", "on",
  // "1 Bar") into a normalised value; false with a reason when the text is no
  // value of the parameter or lies outside its range.
  bool ParseValue(int index, const std::string& text, double* normalized, std::string* error);
  // Sets the parameter on the controller and sends it to the processor with
  // the next block.
  void SetParameter(int index, double normalized);
  double HostValue(int index) const { return mHostValues[index]; }
  std::string ValueText(int index, double normalized);
  std::string HostValueText(int index) { return ValueText(index, mHostValues[index]); }
  // The parameters whose value the plug-in changed since the last call, in
  // the order of their first change.
  std::vector<int> TakeChangedParameters();

  // Arranges the main buses for inputChannels in and as many out, sets up
  // and starts processing. False with a reason when the plug-in refuses.
  bool Prepare(int inputChannels, double sampleRate, int maxBlockSize, bool doublePrecision, bool offline,
               std::string* error);
  int InputChannels() const { return mInputChannels; }
  int OutputChannels() const { return mOutputChannels; }
  int MaxBlockSize() const { return mMaxBlockSize; }
  Steinberg::uint32 LatencySamples();
  // Processes one block of at most MaxBlockSize frames: input holds
  // InputChannels() channels, output OutputChannels().
  void Process(const double* const* input, double* const* output, int frames, const TransportSettings& transport);

  bool SaveState(PluginState* state, std::string* error);
  bool LoadState(const PluginState& state, std::string* error);

 private:
  struct BusBuffers {
    std::vector<std::vector<float>> samples32;
    std::vector<std::vector<double>> samples64;
    std::vector<float*> pointers32;
    std::vector<double*> pointers64;
  };

  explicit PluginInstance(const ClassDescription& description);
  bool Initialise(Vst3Module& module, Steinberg::FUnknown* hostContext, std::string* error);
  void ActivateDefaultBuses();
  void ReadParameters();
  void AllocateBuffers(std::vector<Steinberg::Vst::AudioBusBuffers>* buses, std::vector<BusBuffers>* storage,
                       Steinberg::Vst::BusDirection direction);
  void FillContext(const TransportSettings& transport);
  // Brings a value the plug-in reported into the host's view.
  void TakeReportedValue(Steinberg::Vst::ParamID id, double normalized, bool forwardToProcessor);
  void TakeHandlerReports();
  void RefreshHostValues(bool reportChanges);
  std::string Name() const { return "'" + mDescription.name + "'"; }

  ClassDescription mDescription;
  Steinberg::Vst::IComponent* mComponent = nullptr;
  Steinberg::Vst::IAudioProcessor* mProcessor = nullptr;
  Steinberg::Vst::IEditController* mController = nullptr;          // either object
  Steinberg::Vst::IEditController* mSeparateController = nullptr;  // only when separate
  Steinberg::Vst::IConnectionPoint* mComponentConnection = nullptr;
  Steinberg::Vst::IConnectionPoint* mControllerConnection = nullptr;
  bool mComponentInitialised = false;
  bool mControllerInitialised = false;
  bool mActive = false;
  bool mProcessing = false;

  HostComponentHandler mHandler;
  std::vector<HostComponentHandler::Edit> mHandlerEdits;

  std::vector<ParameterDescription> mParameters;
  std::unordered_map<Steinberg::Vst::ParamID, int> mParameterIndex;
  std::vector<double> mHostValues;
  std::vector<int> mChanged;
  std::vector<bool> mChangedFlag;
  std::vector<HostComponentHandler::Edit> mPendingEdits;  // for the processor's next block

  int mInputChannels = 0;
  int mOutputChannels = 0;
  int mMaxBlockSize = 0;
  bool mDoublePrecision = false;
  double mSampleRate = 44100.0;
  Steinberg::int32 mProcessMode = Steinberg::Vst::kRealtime;
  std::vector<Steinberg::Vst::AudioBusBuffers> mInputBuses;
  std::vector<Steinberg::Vst::AudioBusBuffers> mOutputBuses;
  std::vector<BusBuffers> mInputStorage;
  std::vector<BusBuffers> mOutputStorage;
  std::unique_ptr<HostParameterChanges> mInputChanges;  // sized once the parameters are known
  std::unique_ptr<HostParameterChanges> mOutputChanges;
  HostEventList mInputEvents;
  HostEventList mOutputEvents;
  Steinberg::Vst::ProcessContext mContext = {};
  Steinberg::int64 mProjectPosition = 0;
  Steinberg::int64 mContinuousPosition = 0;
};

}  // namespace vst3host
