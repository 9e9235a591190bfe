// The dispatcher: every opcode the host sends through the record.

#include <cmath>
#include <cstdio>
#include <cstring>

#include "adapters/vst2/IFxVST.h"
#include "core/IFxEditorLink.h"
#include "platform/RecursiveLock.h"

namespace {

// Room in the host's buffers, as the published interface gives it: program
// names 24 characters, effect names 32, vendor and product texts 64.
// Parameter texts get the parameter's own 32 bytes, which hosts allow for
// although the published limit is 8.
constexpr size_t kProgramNameSize = 24 + 1;
constexpr size_t kEffectNameSize = 32;
constexpr size_t kVendorTextSize = 64;
constexpr size_t kParamTextSize = 32;
// Longest program name read from a host.
constexpr size_t kMaxHostTextLength = 127;

// The parent window type a VST2 host's editor window handle stands for.
#ifdef _WIN32
constexpr const char* kParentWindowType = "HWND";
#else
constexpr const char* kParentWindowType = "X11EmbedWindowID";
#endif

// Copies at most size - 1 characters and the terminator.
void CopyText(void* destination, size_t size, const char* text) {
  char* out = static_cast<char*>(destination);
  const size_t length = text != nullptr ? strnlen(text, size - 1) : 0;
  if (length > 0) std::memcpy(out, text, length);
  out[length] = '\0';
}

}  // namespace

VstIntPtr IFxVST::VSTDispatcher(AEffect* effect, int opcode, int index, VstIntPtr value,
                                void* ptr, float opt) {
  IFxVST* self = FromRecord(effect);
  if (self == nullptr) return 0;
  try {
    // The host's idle calls run the editor window without the instance lock:
    // the window's handlers take it where they touch the plug-in.
    if (opcode == effEditIdle) {
      self->mIdleRunLoop.Idle();
      return 0;
    }
    if (opcode == vst2::kEffIdle) return 0;
    if (opcode == effClose) {
      // Waits for a call still running on another thread, then lets go of
      // the lock before the instance (and its lock) goes away.
      self->Lock();
      self->Unlock();
      delete self;
      return 0;
    }
    platform::LockGuard guard(self->GetLock());
    return self->Dispatch(opcode, index, value, ptr, opt);
  } catch (...) {
    return 0;
  }
}

VstIntPtr IFxVST::Dispatch(int opcode, int index, VstIntPtr value, void* ptr, float opt) {
  switch (opcode) {
    case effOpen:
      InitForHost();
      NotifyAllParams(SourceReset);
      return 0;
    case effSetProgram:
      if (!DoesStateChunks()) ModifyCurrentPreset(nullptr);
      if (value >= 0 && value < NumPresets()) SelectPreset(static_cast<int>(value));
      return 0;
    case effGetProgram:
      return GetCurrentPresetIndex();
    case effSetProgramName:
      if (ptr != nullptr) {
        char name[kMaxHostTextLength + 1] = {};
        std::memcpy(name, ptr, strnlen(static_cast<const char*>(ptr), kMaxHostTextLength));
        ModifyCurrentPreset(name);
        HostChangedPresets();
      }
      return 0;
    case effGetProgramName:
      if (ptr != nullptr) CopyText(ptr, kProgramNameSize, PresetName(GetCurrentPresetIndex()));
      return 0;
    case effGetParamLabel:
      if (ptr != nullptr && IsParamIndex(index)) {
        CopyText(ptr, kParamTextSize, GetParam(index)->DisplayLabel());
      }
      return 0;
    case effGetParamDisplay:
      if (ptr != nullptr && IsParamIndex(index)) {
        GetParam(index)->FormatCurrent(static_cast<char*>(ptr), kParamTextSize);
      }
      return 0;
    case effGetParamName:
      if (ptr != nullptr && IsParamIndex(index)) {
        CopyText(ptr, kParamTextSize, GetParam(index)->Name());
      }
      return 0;
    case effSetSampleRate:
      // A rate of zero, below it or not a number would break every filter.
      if (!(opt > 0.0f) || !std::isfinite(opt)) return 0;
      ChangeSampleRate(opt);
      ResetProcessing();
      return 0;
    case effSetBlockSize:
      if (value < 1 || value > kMaxBlockSize) return 0;
      ChangeBlockSize(static_cast<int>(value));
      ResetProcessing();
      return 0;
    case effMainsChanged:
      if (value == 0) {
        ActivationChanged(false);
        ResetProcessing();
      } else {
        ActivationChanged(true);
      }
      return 0;
    case effEditGetRect:
      if (ptr == nullptr || GetEditor() == nullptr) return 0;
      *static_cast<ERect**>(ptr) = &mEditRect;
      return 1;
    case effEditOpen:
      return EditOpen(ptr);
    case effEditClose:
      return EditClose();
    case effIdentify:
      return vst2::kIdentifyAnswer;
    case effGetChunk:
      return GetChunk(index, ptr);
    case effSetChunk:
      return SetChunk(index, value, ptr);
    case effProcessEvents:
      return ProcessEvents(static_cast<const VstEvents*>(ptr));
    case effCanBeAutomated:
      return 1;
    case effString2Parameter:
      return String2Parameter(index, static_cast<const char*>(ptr));
    case effGetProgramNameIndexed: {
      if (ptr == nullptr) return 0;
      const char* name = PresetName(index);
      CopyText(ptr, kProgramNameSize, name);
      return name[0] != '\0' ? 1 : 0;
    }
    case effGetInputProperties:
      return GetPinProperties(true, index, ptr);
    case effGetOutputProperties:
      return GetPinProperties(false, index, ptr);
    case effGetPlugCategory:
      return IsInstrument() ? kPlugCategSynth : kPlugCategEffect;
    case vst2::kEffProcessVarIo:
      return 0;
    case effSetSpeakerArrangement:
      return SetSpeakerArrangement(value, ptr);
    case effGetEffectName:
      if (ptr == nullptr) return 0;
      CopyText(ptr, kEffectNameSize, GetEffectName());
      return 1;
    case effGetVendorString:
      if (ptr == nullptr) return 0;
      CopyText(ptr, kVendorTextSize, GetMakerName());
      return 1;
    case effGetProductString:
      if (ptr == nullptr) return 0;
      CopyText(ptr, kVendorTextSize, GetProductName());
      return 1;
    case effGetVendorVersion:
      return EffectVersion(true);
    case effVendorSpecific:
      return VendorSpecific(index, value, ptr, opt);
    case effCanDo:
      return CanDo(static_cast<const char*>(ptr));
    case vst2::kEffGetTailSize:
      return GetTailSize();
    case effGetVstVersion:
      return vst2::kVstVersion2400;
    case vst2::kEffGetMidiKeyName: {
      auto* key = static_cast<vst2::MidiKeyName*>(ptr);
      if (key == nullptr) return 0;
      key->keyName[0] = '\0';
      const bool named = GetMidiNoteText(key->thisKeyNumber, key->keyName, sizeof(key->keyName));
      key->keyName[sizeof(key->keyName) - 1] = '\0';
      return named ? 1 : 0;
    }
    case effGetSpeakerArrangement:
      if (value != 0) {
        *reinterpret_cast<VstSpeakerArrangement**>(value) =
            reinterpret_cast<VstSpeakerArrangement*>(&mInputArrangement);
      }
      if (ptr != nullptr) {
        *static_cast<VstSpeakerArrangement**>(ptr) =
            reinterpret_cast<VstSpeakerArrangement*>(&mOutputArrangement);
      }
      return 1;
    default:  // effSetBypass included: bypassing is left to the host
      return 0;
  }
}

// --- Editor ---------------------------------------------------------------------

VstIntPtr IFxVST::EditOpen(void* parent) {
  IFxEditorLink* editor = GetEditor();
  if (editor == nullptr || parent == nullptr) return 0;
  if (!editor->AcceptsParentType(kParentWindowType)) return 0;
  if (!editor->OpenEditorWindow(parent, kParentWindowType, &mIdleRunLoop)) return 0;
  EditorOpened();
  return 1;
}

VstIntPtr IFxVST::EditClose() {
  IFxEditorLink* editor = GetEditor();
  if (editor == nullptr) return 0;
  EditorClosed();
  editor->CloseEditorWindow();
  return 1;
}

// --- State chunks ---------------------------------------------------------------

VstIntPtr IFxVST::GetChunk(int index, void* ptr) {
  if (ptr == nullptr) return 0;
  const bool bank = index == 0;
  StateChunk& chunk = bank ? mBankChunk : mProgramChunk;
  WriteChunkHeader(chunk);
  bool saved;
  if (bank) {
    ModifyCurrentPreset(nullptr);
    saved = SerializePresets(chunk);
  } else {
    saved = SaveState(chunk);
  }
  if (!saved || chunk.Empty()) return 0;
  *static_cast<void**>(ptr) = chunk.Data();
  return chunk.Size();
}

VstIntPtr IFxVST::SetChunk(int index, VstIntPtr size, const void* data) {
  // Bounded before anything is allocated.
  if (data == nullptr || size <= 0 || size > kMaxChunkBytes) return 0;
  const bool bankIndex = index == 0;
  StateChunk& chunk = bankIndex ? mBankChunk : mProgramChunk;
  chunk.Resize(static_cast<int>(size));
  std::memcpy(chunk.Data(), data, static_cast<size_t>(size));

  int position = 0;
  const int version = ReadChunkHeader(chunk, position);
  if (position < 0) return 0;
  const bool bank = bankIndex && version >= kFrameworkVersion;

  // A chunk that turns out damaged leaves the instance as it was: the
  // presets and the current state are kept aside and put back.
  StateChunk keptState;
  SaveState(keptState);
  StateChunk keptPresets;
  if (bank) SerializePresets(keptPresets);

  if (bank) {
    position = UnserializePresets(chunk, position);
  } else {
    // A program is exactly one state: shorter data would set only some
    // parameters, longer data is not a state of this plug-in.
    if (chunk.Size() - position != keptState.Size()) {
      return 0;
    }
    position = LoadState(chunk, position);
    if (position >= 0) ModifyCurrentPreset(nullptr);
  }

  if (position < 0) {
    if (bank) UnserializePresets(keptPresets, 0);
    LoadState(keptState, 0);
    RefreshParamControls();
    return 0;
  }
  RefreshParamControls();
  return 1;
}

// --- MIDI input -----------------------------------------------------------------

VstIntPtr IFxVST::ProcessEvents(const VstEvents* events) {
  if (events == nullptr) return 0;
  for (int i = 0; i < events->numEvents; ++i) {
    const VstEvent* event = events->events[i];
    if (event == nullptr) continue;
    // The header types the field as an enumeration; a host may send any
    // number, so it is read as the plain 32-bit value it is.
    int32_t type = 0;
    std::memcpy(&type, &event->type, sizeof(type));
    if (type == kVstMidiType) {
      const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
      MidiMessage message;
      message.offset = midi->deltaFrames;
      message.status = static_cast<uint8_t>(midi->midiData[0]);
      message.data1 = static_cast<uint8_t>(midi->midiData[1]);
      message.data2 = static_cast<uint8_t>(midi->midiData[2]);
      HandleMidiMessage(message);
    } else if (type == kVstSysExType) {
      const auto* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
      SysExMessage message;
      message.offset = sysex->deltaFrames;
      // The published length is 32 bits; the bytes above are padding.
      message.size = static_cast<int32_t>(sysex->dumpBytes);
      message.data = reinterpret_cast<const uint8_t*>(sysex->sysexDump);
      if (message.size < 0 || (message.size > 0 && message.data == nullptr)) continue;
      HandleSysEx(message);
    }
  }
  return 1;
}

// --- Text to parameter, vendor calls, capabilities --------------------------------

VstIntPtr IFxVST::String2Parameter(int index, const char* text) {
  if (!IsParamIndex(index)) return 0;
  if (text == nullptr) return 1;
  IFxParam* param = GetParam(index);
  double value = 0.0;
  if (param->NamedValueCount() > 0) {
    if (!param->NamedValueFromText(text, &value)) return 0;
  } else if (!param->ValueFromText(text, &value)) {
    return 0;  // not a finite number
  }
  value = param->ClampToRange(value);
  if (IFxEditorLink* editor = GetEditor()) editor->PushParamToControls(index, value, false);
  param->SetValue(value);
  ParamChanged(index, SourceHost);
  return 1;
}

VstIntPtr IFxVST::VendorSpecific(int index, VstIntPtr value, void* ptr, float opt) {
  if (index == effGetParamDisplay) {
    if (ptr == nullptr) return 0;
    if (value >= 0 && value < NumParams()) {
      GetParam(static_cast<int>(value))->FormatValue(opt, true, static_cast<char*>(ptr),
                                                      kParamTextSize);
    }
    return vst2::kVendorAnswer;
  }
  if (index == vst2::kVendorParamUsesIntStep) {
    if (value >= 0 && value < NumParams() &&
        GetParam(static_cast<int>(value))->Kind() != ParamKindDouble) {
      return vst2::kVendorAnswer;
    }
    return 0;
  }
  return 0;
}

VstIntPtr IFxVST::CanDo(const char* text) {
  if (text == nullptr) return 0;
  if (std::strcmp(text, "receiveVstTimeInfo") == 0) return 1;
  if (DoesMidi() && (std::strcmp(text, "sendVstEvents") == 0 ||
                     std::strcmp(text, "sendVstMidiEvent") == 0 ||
                     std::strcmp(text, "receiveVstEvents") == 0 ||
                     std::strcmp(text, "receiveVstMidiEvent") == 0)) {
    return 1;
  }
  if (std::strcmp(text, kHostExtensionsCanDo) == 0) {
    mHostExtensionBits |= 1;
    return vst2::kVendorCanDoAnswer;
  }
  if (std::strcmp(text, kHostViewAsConfigCanDo) == 0) {
    mHostExtensionBits |= 2;
    return vst2::kVendorCanDoAnswer;
  }
  return 0;
}

// --- Pins -----------------------------------------------------------------------

VstIntPtr IFxVST::GetPinProperties(bool input, int index, void* ptr) {
  const int count = input ? NumInputChannels() : NumOutputChannels();
  if (ptr == nullptr || index < 0 || index >= count) return 0;
  auto* pin = static_cast<VstPinProperties*>(ptr);
  pin->flags = vst2::kPinIsActive;
  if (index % 2 == 0 && index < count - 1) pin->flags |= vst2::kPinIsStereo;
  const char* label = input ? GetInputLabel(index) : GetOutputLabel(index);
  if (label != nullptr && label[0] != '\0') {
    CopyText(pin->label, sizeof(pin->label), label);
  } else {
    std::snprintf(pin->label, sizeof(pin->label), input ? "Input %d" : "Output %d", index + 1);
  }
  return 1;
}

VstIntPtr IFxVST::SetSpeakerArrangement(VstIntPtr inputs, void* outputs) {
  if (inputs != 0) {
    const auto* arrangement = reinterpret_cast<const VstSpeakerArrangement*>(inputs);
    int n = arrangement->numChannels;
    if (n < 0) n = 0;
    if (n > NumInputChannels()) n = NumInputChannels();
    ConnectInputs(0, n, true);
    ConnectInputs(n, NumInputChannels() - n, false);
  }
  if (outputs != nullptr) {
    const auto* arrangement = static_cast<const VstSpeakerArrangement*>(outputs);
    int n = arrangement->numChannels;
    if (n < 0) n = 0;
    if (n > NumOutputChannels()) n = NumOutputChannels();
    ConnectOutputs(0, n, true);
    ConnectOutputs(n, NumOutputChannels() - n, false);
  }
  return 1;
}
