#include "tools/vst2host/Vst2Plugin.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace vst2host {

namespace {

using EntryPoint = AEffect* (*)(audioMasterCallback);

constexpr const char* kHostProduct = "stratum-host";
constexpr const char* kHostVendor = "Velmar";
constexpr VstIntPtr kHostVersion = 20003;
// Generous room for texts a plug-in writes: the published limits are far
// smaller, and many plug-ins write past them.
constexpr int kTextRoom = 256;
// Steps of the search for a display text among normalised values.
constexpr int kSearchSteps = 1000;

// The plug-in being created: it may call back before the record's user
// field can point at its host.
thread_local Vst2Plugin* gCreating = nullptr;

EntryPoint FindEntry(const platform::LoadableModule& module) {
  if (void* entry = module.Symbol("VSTPluginMain")) return reinterpret_cast<EntryPoint>(entry);
  return reinterpret_cast<EntryPoint>(module.Symbol("main"));
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Trim(const std::string& text) {
  const size_t start = text.find_first_not_of(' ');
  if (start == std::string::npos) return "";
  return text.substr(start, text.find_last_not_of(' ') - start + 1);
}

bool ReadNumber(const std::string& text, double* value) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty()) return false;
  char* end = nullptr;
  *value = std::strtod(trimmed.c_str(), &end);
  return end != trimmed.c_str() && std::isfinite(*value);
}

}  // namespace

bool Vst2Plugin::IsVst2Module(const std::string& path) {
  platform::LoadableModule module;
  return module.Open(path) && FindEntry(module) != nullptr;
}

std::unique_ptr<Vst2Plugin> Vst2Plugin::Load(const std::string& path, std::string* error) {
  std::unique_ptr<Vst2Plugin> plugin(new Vst2Plugin());
  std::string reason;
  if (!plugin->mModule.Open(path, &reason)) {
    *error = "cannot load " + path + ": " + reason;
    return nullptr;
  }
  EntryPoint entry = FindEntry(plugin->mModule);
  if (entry == nullptr) {
    *error = path + " exports no VST2 entry point";
    return nullptr;
  }
  gCreating = plugin.get();
  AEffect* effect = entry(HostCallback);
  gCreating = nullptr;
  if (effect == nullptr || effect->magic != kEffectMagic || effect->dispatcher == nullptr) {
    *error = path + " made no VST2 instance";
    return nullptr;
  }
  effect->user = plugin.get();
  plugin->mEffect = effect;
  plugin->mChangedFlag.assign(std::max(effect->numParams, 0), false);
  plugin->Dispatch(effOpen);
  return plugin;
}

Vst2Plugin::~Vst2Plugin() {
  if (mEffect == nullptr) return;
  if (mSwitchedOn) Dispatch(effMainsChanged, 0, 0);
  Dispatch(effClose);
  mEffect = nullptr;
}

VstIntPtr Vst2Plugin::Dispatch(int opcode, int index, VstIntPtr value, void* ptr, float opt) {
  return mEffect->dispatcher(mEffect, opcode, index, value, ptr, opt);
}

std::string Vst2Plugin::Text(int opcode, int index) {
  char text[kTextRoom] = {};
  Dispatch(opcode, index, 0, text);
  text[kTextRoom - 1] = '\0';
  return text;
}

std::string Vst2Plugin::EffectName() { return Text(effGetEffectName); }
std::string Vst2Plugin::VendorName() { return Text(effGetVendorString); }
std::string Vst2Plugin::ProductName() { return Text(effGetProductString); }
int Vst2Plugin::VendorVersion() { return static_cast<int>(Dispatch(effGetVendorVersion)); }
std::string Vst2Plugin::ParameterName(int index) { return Text(effGetParamName, index); }
std::string Vst2Plugin::ParameterLabel(int index) { return Text(effGetParamLabel, index); }
std::string Vst2Plugin::ParameterDisplay(int index) { return Trim(Text(effGetParamDisplay, index)); }

int Vst2Plugin::FindParameter(const std::string& name) {
  for (int i = 0; i < NumParameters(); ++i) {
    if (ParameterName(i) == name) return i;
  }
  for (int i = 0; i < NumParameters(); ++i) {
    if (Lower(ParameterName(i)) == Lower(name)) return i;
  }
  return -1;
}

bool Vst2Plugin::SetFromText(int index, const std::string& text, std::string* error) {
  if (index < 0 || index >= NumParameters()) {
    *error = "no parameter " + std::to_string(index);
    return false;
  }
  std::string copy = text;
  if (Dispatch(effString2Parameter, index, 0, &copy[0]) == 1) return true;

  // The plug-in reads no text: look for the normalised value whose display
  // is the text, or the closest display to the number.
  const float before = Normalized(index);
  double number = 0.0;
  const bool isNumber = ReadNumber(text, &number);
  int exact = -1;
  int closest = -1;
  double closestDistance = 0.0;
  for (int step = 0; step <= kSearchSteps && exact < 0; ++step) {
    SetNormalized(index, static_cast<float>(step) / kSearchSteps);
    const std::string shown = ParameterDisplay(index);
    if (Lower(shown) == Lower(Trim(text))) exact = step;
    double shownNumber = 0.0;
    if (isNumber && ReadNumber(shown, &shownNumber)) {
      const double distance = std::fabs(shownNumber - number);
      if (closest < 0 || distance < closestDistance) {
        closest = step;
        closestDistance = distance;
      }
    }
  }
  const int found = exact >= 0 ? exact : closest;
  if (found < 0) {
    SetNormalized(index, before);
    *error = "'" + text + "' is no value of " + ParameterName(index);
    return false;
  }
  SetNormalized(index, static_cast<float>(found) / kSearchSteps);
  return true;
}

std::vector<int> Vst2Plugin::TakeChangedParameters() {
  std::vector<int> changed;
  changed.swap(mChanged);
  for (int index : changed) mChangedFlag[index] = false;
  return changed;
}

bool Vst2Plugin::Prepare(int inputChannels, double sampleRate, int maxBlockSize,
                         bool doublePrecision, bool offline, std::string* error) {
  if (doublePrecision && !CanDoubleReplacing()) {
    *error = "the plug-in does not process in 64 bit";
    return false;
  }
  if ((mEffect->flags & effFlagsCanReplacing) == 0 && mEffect->processReplacing == nullptr) {
    *error = "the plug-in has no replacing process entry";
    return false;
  }
  if (mSwitchedOn) Dispatch(effMainsChanged, 0, 0);
  mSampleRate = sampleRate;
  mMaxBlockSize = maxBlockSize;
  // The host's channels: those beyond the plug-in's inputs are dropped, its
  // inputs beyond them get silence.
  mInputChannels = std::max(inputChannels, 0);
  const int fed = std::min(mInputChannels, std::max(mEffect->numInputs, 0));
  mDoublePrecision = doublePrecision;
  mOffline = offline;
  mPosition = 0;

  // The channels the host feeds, in speaker arrangements of the published size.
  vst2::SpeakerArrangement in = {};
  vst2::SpeakerArrangement out = {};
  in.type = fed == 1 ? kSpeakerArrMono : kSpeakerArrStereo;
  in.numChannels = fed;
  out.type = mEffect->numOutputs == 1 ? kSpeakerArrMono : kSpeakerArrStereo;
  out.numChannels = mEffect->numOutputs;
  Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out);
  Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
  Dispatch(effSetBlockSize, 0, maxBlockSize);

  const int ins = std::max(mEffect->numInputs, 0);
  const int outs = std::max(mEffect->numOutputs, 0);
  mFloatIn.assign(ins, std::vector<float>(maxBlockSize));
  mFloatOut.assign(outs, std::vector<float>(maxBlockSize));
  mDoubleIn.assign(ins, std::vector<double>(maxBlockSize));
  mDoubleOut.assign(outs, std::vector<double>(maxBlockSize));
  mFloatInPointers.clear();
  mFloatOutPointers.clear();
  mDoubleInPointers.clear();
  mDoubleOutPointers.clear();
  for (int c = 0; c < ins; ++c) {
    mFloatInPointers.push_back(mFloatIn[c].data());
    mDoubleInPointers.push_back(mDoubleIn[c].data());
  }
  for (int c = 0; c < outs; ++c) {
    mFloatOutPointers.push_back(mFloatOut[c].data());
    mDoubleOutPointers.push_back(mDoubleOut[c].data());
  }
  Dispatch(effMainsChanged, 0, 1);
  mSwitchedOn = true;
  return true;
}

void Vst2Plugin::FillTime(const Vst2Transport& transport) {
  // The same position a VST3 host reports: project time in samples and
  // quarter notes, the bar start, 4/4, no cycle.
  mTime = VstTimeInfo();
  mTime.samplePos = static_cast<double>(mPosition);
  mTime.sampleRate = mSampleRate;
  mTime.tempo = transport.tempo;
  mTime.ppqPos = static_cast<double>(mPosition) / mSampleRate * transport.tempo / 60.0;
  mTime.barStartPos = std::floor(mTime.ppqPos / 4.0) * 4.0;
  mTime.timeSigNumerator = 4;
  mTime.timeSigDenominator = 4;
  mTime.flags = kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstTimeSigValid;
  if (transport.playing) mTime.flags |= kVstTransportPlaying;
}

void Vst2Plugin::Process(const double* const* input, double* const* output, int frames,
                         const Vst2Transport& transport) {
  frames = std::min(frames, mMaxBlockSize);
  if (frames <= 0) return;
  FillTime(transport);
  const int ins = static_cast<int>(mDoubleIn.size());
  const int outs = static_cast<int>(mDoubleOut.size());
  for (int c = 0; c < ins; ++c) {
    const double* source = c < mInputChannels ? input[c] : nullptr;
    for (int i = 0; i < frames; ++i) {
      const double sample = source != nullptr ? source[i] : 0.0;
      mDoubleIn[c][i] = sample;
      mFloatIn[c][i] = static_cast<float>(sample);
    }
  }
  if (mDoublePrecision) {
    mEffect->processDoubleReplacing(mEffect, mDoubleInPointers.data(), mDoubleOutPointers.data(),
                                    frames);
    for (int c = 0; c < outs; ++c) std::copy_n(mDoubleOut[c].data(), frames, output[c]);
  } else {
    mEffect->processReplacing(mEffect, mFloatInPointers.data(), mFloatOutPointers.data(), frames);
    for (int c = 0; c < outs; ++c) {
      for (int i = 0; i < frames; ++i) output[c][i] = mFloatOut[c][i];
    }
  }
  mPosition += frames;
}

bool Vst2Plugin::SaveState(bool bank, std::vector<uint8_t>* bytes, std::string* error) {
  bytes->clear();
  if (!KeepsChunks()) {
    for (int i = 0; i < NumParameters(); ++i) {
      const float value = Normalized(i);
      const auto* raw = reinterpret_cast<const uint8_t*>(&value);
      bytes->insert(bytes->end(), raw, raw + sizeof(value));
    }
    return true;
  }
  void* data = nullptr;
  const VstIntPtr size = Dispatch(effGetChunk, bank ? 0 : 1, 0, &data);
  if (size <= 0 || data == nullptr) {
    *error = "the plug-in handed out no state";
    return false;
  }
  const auto* start = static_cast<const uint8_t*>(data);
  bytes->assign(start, start + size);
  return true;
}

bool Vst2Plugin::LoadState(bool bank, const std::vector<uint8_t>& bytes, std::string* error) {
  if (!KeepsChunks()) {
    if (bytes.size() != sizeof(float) * static_cast<size_t>(NumParameters())) {
      *error = "the state does not hold every parameter of the plug-in";
      return false;
    }
    for (int i = 0; i < NumParameters(); ++i) {
      float value = 0.0f;
      std::memcpy(&value, bytes.data() + sizeof(float) * i, sizeof(value));
      SetNormalized(i, value);
    }
    return true;
  }
  std::vector<uint8_t> copy = bytes;
  if (copy.empty() ||
      Dispatch(effSetChunk, bank ? 0 : 1, static_cast<VstIntPtr>(copy.size()), copy.data()) != 1) {
    *error = "the plug-in refused the state";
    return false;
  }
  return true;
}

VstIntPtr Vst2Plugin::HostCallback(AEffect* effect, int opcode, int index, VstIntPtr value,
                                   void* ptr, float opt) {
  Vst2Plugin* host = effect != nullptr && effect->user != nullptr
                         ? static_cast<Vst2Plugin*>(effect->user)
                         : gCreating;
  if (opcode == audioMasterVersion) return 2400;
  if (host == nullptr) return 0;
  return host->Answer(opcode, index, value, ptr, opt);
}

VstIntPtr Vst2Plugin::Answer(int opcode, int index, VstIntPtr /*value*/, void* ptr,
                             float /*opt*/) {
  switch (opcode) {
    case audioMasterAutomate:
      if (index >= 0 && index < static_cast<int>(mChangedFlag.size()) && !mChangedFlag[index]) {
        mChangedFlag[index] = true;
        mChanged.push_back(index);
      }
      return 0;
    case audioMasterGetTime:
      return reinterpret_cast<VstIntPtr>(&mTime);
    case audioMasterGetSampleRate:
      return static_cast<VstIntPtr>(mSampleRate);
    case audioMasterGetBlockSize:
      return mMaxBlockSize;
    case audioMasterGetCurrentProcessLevel:
      return mOffline ? kVstProcessLevelOffline : kVstProcessLevelRealtime;
    case audioMasterGetProductString:
      if (ptr != nullptr) std::strcpy(static_cast<char*>(ptr), kHostProduct);
      return 1;
    case audioMasterGetVendorString:
      if (ptr != nullptr) std::strcpy(static_cast<char*>(ptr), kHostVendor);
      return 1;
    case audioMasterGetVendorVersion:
      return kHostVersion;
    case audioMasterCanDo: {
      const char* text = static_cast<const char*>(ptr);
      if (text == nullptr) return 0;
      return std::strcmp(text, "sendVstTimeInfo") == 0 || std::strcmp(text, "sendVstEvents") == 0 ||
                     std::strcmp(text, "sendVstMidiEvent") == 0 ||
                     std::strcmp(text, "receiveVstEvents") == 0 ||
                     std::strcmp(text, "receiveVstMidiEvent") == 0
                 ? 1
                 : 0;
    }
    case audioMasterWantMidi:
    case audioMasterProcessEvents:
    case audioMasterBeginEdit:
    case audioMasterEndEdit:
    case vst2::kAudioMasterUpdateDisplay:
      return 1;
    default:
      return 0;
  }
}

}  // namespace vst2host
