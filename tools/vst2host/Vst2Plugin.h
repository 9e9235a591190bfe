#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "adapters/vst2/Vst2Interface.h"
#include "platform/LoadableModule.h"

namespace vst2host {

// What the host tells the plug-in about the musical position with every block.
struct Vst2Transport {
  double tempo = 120.0;
  bool playing = false;
};

// A VST2 module with one instance of its effect, driven the way a host
// drives it: loaded with dlopen, created through VSTPluginMain (or main),
// opened, given a sample rate and block size, switched on, and processed in
// blocks with a time record the host callback hands out. The host callback
// answers the usual queries and records which parameters the plug-in
// automated. The instance is closed before the module is unloaded.
class Vst2Plugin {
 public:
  // Loads the module file and opens one instance. Null with a one-line reason
  // when the file is no VST2 module or the plug-in makes no instance.
  static std::unique_ptr<Vst2Plugin> Load(const std::string& path, std::string* error);
  // True when the file exports a VST2 entry point (VSTPluginMain or main).
  static bool IsVst2Module(const std::string& path);
  ~Vst2Plugin();
  Vst2Plugin(const Vst2Plugin&) = delete;
  Vst2Plugin& operator=(const Vst2Plugin&) = delete;

  AEffect* Effect() { return mEffect; }
  VstIntPtr Dispatch(int opcode, int index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);

  // --- Description.
  std::string EffectName();
  std::string VendorName();
  std::string ProductName();
  int VendorVersion();
  int32_t UniqueId() const { return mEffect->uniqueID; }
  int NumInputs() const { return mEffect->numInputs; }
  int NumOutputs() const { return mEffect->numOutputs; }
  int NumParameters() const { return mEffect->numParams; }
  int NumPrograms() const { return mEffect->numPrograms; }
  int Latency() const { return mEffect->initialDelay; }
  bool KeepsChunks() const { return (mEffect->flags & effFlagsProgramChunks) != 0; }
  bool CanDoubleReplacing() const { return (mEffect->flags & effFlagsCanDoubleReplacing) != 0; }

  // --- Parameters, by index.
  std::string ParameterName(int index);
  std::string ParameterLabel(int index);
  std::string ParameterDisplay(int index);
  float Normalized(int index) { return mEffect->getParameter(mEffect, index); }
  void SetNormalized(int index, float value) { mEffect->setParameter(mEffect, index, value); }
  // The parameter with this name: exact first, then ignoring case; -1 when
  // there is none.
  int FindParameter(const std::string& name);
  // Sets a parameter from a plain number or a display text: through the
  // plug-in's own text reading when it has one, else by finding the
  // normalised value whose display is the text (or, for a number, the
  // closest display). False with a reason when nothing matches.
  bool SetFromText(int index, const std::string& text, std::string* error);
  // The parameters the plug-in automated since the last call, in the order
  // of their first change.
  std::vector<int> TakeChangedParameters();

  // --- Processing.
  // Sample rate, block size and switch-on. Processing in 64 bit needs the
  // plug-in's double entry. False with a reason when refused.
  bool Prepare(int inputChannels, double sampleRate, int maxBlockSize, bool doublePrecision,
               bool offline, std::string* error);
  int InputChannels() const { return mInputChannels; }
  int OutputChannels() const { return mEffect->numOutputs; }
  int MaxBlockSize() const { return mMaxBlockSize; }
  // One block of at most MaxBlockSize frames: input holds InputChannels()
  // channels (the count given to Prepare), output OutputChannels().
  void Process(const double* const* input, double* const* output, int frames,
               const Vst2Transport& transport);

  // --- State: the program chunk (or the bank), or for plug-ins without
  // chunks every parameter's normalised value.
  bool SaveState(bool bank, std::vector<uint8_t>* bytes, std::string* error);
  bool LoadState(bool bank, const std::vector<uint8_t>& bytes, std::string* error);

 private:
  Vst2Plugin() = default;
  static VstIntPtr HostCallback(AEffect* effect, int opcode, int index, VstIntPtr value,
                                void* ptr, float opt);
  VstIntPtr Answer(int opcode, int index, VstIntPtr value, void* ptr, float opt);
  std::string Text(int opcode, int index = 0);
  void FillTime(const Vst2Transport& transport);

  platform::LoadableModule mModule;
  AEffect* mEffect = nullptr;
  bool mSwitchedOn = false;
  double mSampleRate = 44100.0;
  int mMaxBlockSize = 0;
  int mInputChannels = 0;
  bool mDoublePrecision = false;
  bool mOffline = false;
  int64_t mPosition = 0;
  VstTimeInfo mTime = {};
  std::vector<std::vector<float>> mFloatIn, mFloatOut;
  std::vector<std::vector<double>> mDoubleIn, mDoubleOut;
  std::vector<float*> mFloatInPointers, mFloatOutPointers;
  std::vector<double*> mDoubleInPointers, mDoubleOutPointers;
  std::vector<int> mChanged;
  std::vector<bool> mChangedFlag;
};

}  // namespace vst2host
