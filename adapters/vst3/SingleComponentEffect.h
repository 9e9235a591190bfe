#pragma once

// One object that is both the audio processor and the edit controller of a
// VST3 plug-in, built on the SDK's controller, bus and parameter classes. The
// SDK copy we build against does not ship this piece, so it lives here.
//
// Hosts see one component: its class flags say "processor and controller in
// one", queryInterface answers IComponent, IAudioProcessor, IEditController
// (and everything the SDK's EditControllerEx1 answers), and the component's
// state and the controller's state are the same stream (IComponent and
// IEditController declare getState/setState with one signature, so a single
// override serves both).

#include "base/source/fstring.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "public.sdk/source/vst/vstbus.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

class SingleComponentEffect : public Steinberg::Vst::EditControllerEx1,
                              public Steinberg::Vst::IComponent,
                              public Steinberg::Vst::IAudioProcessor {
 public:
  SingleComponentEffect();
  ~SingleComponentEffect() override;

  // Buses. The returned bus belongs to the effect's bus list.
  Steinberg::Vst::AudioBus* addAudioInput(
      const Steinberg::Vst::TChar* name, Steinberg::Vst::SpeakerArrangement arrangement,
      Steinberg::Vst::BusType busType = Steinberg::Vst::kMain,
      Steinberg::int32 flags = Steinberg::Vst::BusInfo::kDefaultActive);
  Steinberg::Vst::AudioBus* addAudioOutput(
      const Steinberg::Vst::TChar* name, Steinberg::Vst::SpeakerArrangement arrangement,
      Steinberg::Vst::BusType busType = Steinberg::Vst::kMain,
      Steinberg::int32 flags = Steinberg::Vst::BusInfo::kDefaultActive);
  Steinberg::Vst::EventBus* addEventInput(
      const Steinberg::Vst::TChar* name, Steinberg::int32 channels = 16,
      Steinberg::Vst::BusType busType = Steinberg::Vst::kMain,
      Steinberg::int32 flags = Steinberg::Vst::BusInfo::kDefaultActive);
  Steinberg::Vst::EventBus* addEventOutput(
      const Steinberg::Vst::TChar* name, Steinberg::int32 channels = 16,
      Steinberg::Vst::BusType busType = Steinberg::Vst::kMain,
      Steinberg::int32 flags = Steinberg::Vst::BusInfo::kDefaultActive);
  Steinberg::tresult removeAudioBusses();
  Steinberg::tresult removeEventBusses();

  // IPluginBase (shared by the component and the controller side).
  Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* context) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API terminate() SMTG_OVERRIDE;

  // IComponent
  Steinberg::tresult PLUGIN_API getControllerClassId(Steinberg::TUID classId) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API setIoMode(Steinberg::Vst::IoMode mode) SMTG_OVERRIDE;
  Steinberg::int32 PLUGIN_API getBusCount(Steinberg::Vst::MediaType type,
                                          Steinberg::Vst::BusDirection dir) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getBusInfo(Steinberg::Vst::MediaType type,
                                           Steinberg::Vst::BusDirection dir,
                                           Steinberg::int32 index,
                                           Steinberg::Vst::BusInfo& info) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getRoutingInfo(Steinberg::Vst::RoutingInfo& inInfo,
                                               Steinberg::Vst::RoutingInfo& outInfo) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API activateBus(Steinberg::Vst::MediaType type,
                                            Steinberg::Vst::BusDirection dir,
                                            Steinberg::int32 index,
                                            Steinberg::TBool state) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API setActive(Steinberg::TBool state) SMTG_OVERRIDE;

  // One state stream for both sides; the derived effect decides its content.
  Steinberg::tresult PLUGIN_API setState(Steinberg::IBStream* state) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getState(Steinberg::IBStream* state) SMTG_OVERRIDE;

  // IAudioProcessor
  Steinberg::tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs,
                                                   Steinberg::int32 numIns,
                                                   Steinberg::Vst::SpeakerArrangement* outputs,
                                                   Steinberg::int32 numOuts) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getBusArrangement(Steinberg::Vst::BusDirection dir,
                                                  Steinberg::int32 index,
                                                  Steinberg::Vst::SpeakerArrangement& arrangement)
      SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API canProcessSampleSize(Steinberg::int32 symbolicSampleSize)
      SMTG_OVERRIDE;
  Steinberg::uint32 PLUGIN_API getLatencySamples() SMTG_OVERRIDE { return 0; }
  Steinberg::tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API setProcessing(Steinberg::TBool state) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) SMTG_OVERRIDE;
  Steinberg::uint32 PLUGIN_API getTailSamples() SMTG_OVERRIDE {
    return Steinberg::Vst::kNoTail;
  }

  OBJ_METHODS(SingleComponentEffect, Steinberg::Vst::EditControllerEx1)
  DEFINE_INTERFACES
    DEF_INTERFACE(Steinberg::Vst::IComponent)
    DEF_INTERFACE(Steinberg::Vst::IAudioProcessor)
  END_DEFINE_INTERFACES(Steinberg::Vst::EditControllerEx1)
  REFCOUNT_METHODS(Steinberg::Vst::EditControllerEx1)

 protected:
  // The bus list for a media type and direction, or null for an unknown pair.
  Steinberg::Vst::BusList* getBusList(Steinberg::Vst::MediaType type,
                                      Steinberg::Vst::BusDirection dir);

  Steinberg::Vst::ProcessSetup processSetup;
  Steinberg::Vst::BusList audioInputs;
  Steinberg::Vst::BusList audioOutputs;
  Steinberg::Vst::BusList eventInputs;
  Steinberg::Vst::BusList eventOutputs;
};
