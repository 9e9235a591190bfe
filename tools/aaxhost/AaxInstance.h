#pragma once

#include <memory>
#include <string>
#include <vector>

#include "adapters/aax/support/AAX_IComponentDescriptor.h"
#include "adapters/aax/support/AAX_IEffectDescriptor.h"
#include "adapters/aax/support/AAX_IEffectGUI.h"
#include "adapters/aax/support/AAX_IEffectParameters.h"
#include "tools/aaxhost/HostController.h"
#include "tools/aaxhost/HostMidiNode.h"
#include "tools/aaxhost/HostTransport.h"

namespace aaxhost {

// One instance of an effect in one of its configurations, wired the way a
// host wires it: the effect parameters created through the descriptor's
// procedure and initialised with a controller offering the configuration's
// stems, a render context laid out from the component's fields (its private
// data reset by the plug-in), a MIDI node and a transport the host fakes.
class AaxInstance {
 public:
  // Most channels a stem may have.
  static constexpr int kMaxChannels = 8;

  // Null with a one-line reason when the configuration or a procedure is
  // missing or the plug-in refuses.
  static std::unique_ptr<AaxInstance> Create(const AAX_IEffectDescriptor& effect, int component,
                                             std::string* error, double sampleRate = 48000.0);
  // Deletes the view first, then uninitialises and deletes the parameters.
  ~AaxInstance();
  AaxInstance(const AaxInstance&) = delete;
  AaxInstance& operator=(const AaxInstance&) = delete;

  AAX_IEffectParameters* Parameters() const { return mParameters; }
  HostController& Controller() { return mController; }
  HostTransport& Transport() { return mTransport; }
  HostMidiNode& Midi() { return mMidi; }
  int InputChannels() const { return AAX_StemFormatChannelCount(mController.inputStem); }
  int OutputChannels() const { return AAX_StemFormatChannelCount(mController.outputStem); }

  // Reads the text through the parameter's display and taper and sets the
  // value as the host does; the answer of the failing call, else success.
  AAX_Result SetFromText(const char* id, const char* text);
  double NormalizedValue(const char* id) const;
  std::string ValueText(const char* id) const;

  // Points the render context at the caller's buffers (InputChannels() and
  // OutputChannels() of them, as the controller's stems now say) for a block
  // of frames.
  void PrepareBlock(float* const* inputs, float* const* outputs, int frames);
  // The render context, as the render procedure receives it.
  void* Context() { return mContext.data(); }
  AAX_CProcessProc RenderProc() const { return mRenderProc; }
  // One render call for this instance alone.
  void Render(float* const* inputs, float* const* outputs, int frames);
  // One render call for several prepared instances of one effect.
  static void RenderTogether(const std::vector<AaxInstance*>& instances);

  // The editor view: created and initialised for these parameters.
  AAX_IEffectGUI* OpenView(std::string* error);
  void CloseView();

 private:
  AaxInstance() = default;
  bool Wire(const AAX_IComponentDescriptor& component, std::string* error);

  HostController mController;
  HostTransport mTransport;
  HostMidiNode mMidi;
  AAX_IEffectParameters* mParameters = nullptr;
  AAX_CCreateEffectGUIProc mCreateView = nullptr;
  AAX_IEffectGUI* mView = nullptr;
  AAX_CProcessProc mRenderProc = nullptr;
  std::vector<void*> mContext;
  std::vector<void*> mPrivateData;
  std::vector<float*> mInputs;
  std::vector<float*> mOutputs;
  int32_t mFrames = 0;
};

}  // namespace aaxhost
