#include "tests/adapters/vst2/Vst2TestHost.h"

#include <cstring>

namespace {

using EntryPoint = AEffect* (*)(audioMasterCallback);

// The host an instance being created belongs to: the plug-in may call back
// before the record's user field can be set.
thread_local Vst2TestHost* gCreatingHost = nullptr;

}  // namespace

Vst2TestHost::~Vst2TestHost() { Close(); }

bool Vst2TestHost::Open(const std::string& path, const char* entryName, std::string* error) {
  if (!mModule.Open(path, error)) return false;
  auto entry = reinterpret_cast<EntryPoint>(mModule.Symbol(entryName));
  if (entry == nullptr) {
    if (error != nullptr) *error = std::string("no entry point ") + entryName;
    return false;
  }
  gCreatingHost = this;
  mEffect = entry(Callback);
  gCreatingHost = nullptr;
  if (mEffect == nullptr) {
    if (error != nullptr) *error = "the entry point made no instance";
    return false;
  }
  mEffect->user = this;
  return true;
}

void Vst2TestHost::Close() {
  if (mEffect != nullptr) mEffect->dispatcher(mEffect, effClose, 0, 0, nullptr, 0.0f);
  mEffect = nullptr;
}

VstIntPtr Vst2TestHost::Dispatch(int opcode, int index, VstIntPtr value, void* ptr, float opt) {
  return mEffect->dispatcher(mEffect, opcode, index, value, ptr, opt);
}

std::vector<Vst2TestHost::Call> Vst2TestHost::CallsOf(int opcode) {
  std::lock_guard<std::mutex> guard(mMutex);
  std::vector<Call> calls;
  for (const Call& call : mCalls) {
    if (call.opcode == opcode) calls.push_back(call);
  }
  return calls;
}

std::vector<Vst2TestHost::SentEvent> Vst2TestHost::SentEvents() {
  std::lock_guard<std::mutex> guard(mMutex);
  return mSentEvents;
}

void Vst2TestHost::ClearCalls() {
  std::lock_guard<std::mutex> guard(mMutex);
  mCalls.clear();
  mSentEvents.clear();
}

VstIntPtr Vst2TestHost::Callback(AEffect* effect, int opcode, int index, VstIntPtr value,
                                 void* ptr, float opt) {
  Vst2TestHost* host = effect != nullptr && effect->user != nullptr
                           ? static_cast<Vst2TestHost*>(effect->user)
                           : gCreatingHost;
  if (host == nullptr) return 0;
  return host->Answer(opcode, index, value, ptr, opt);
}

VstIntPtr Vst2TestHost::Answer(int opcode, int index, VstIntPtr value, void* ptr, float opt) {
  std::lock_guard<std::mutex> guard(mMutex);
  mCalls.push_back({opcode, index, value, opt});
  switch (opcode) {
    case audioMasterVersion:
      return 2400;
    case audioMasterGetTime:
      return answerTime ? reinterpret_cast<VstIntPtr>(&time) : 0;
    case audioMasterGetCurrentProcessLevel:
      return processLevel;
    case audioMasterGetProductString:
      std::strncpy(static_cast<char*>(ptr), productName.c_str(), 63);
      return 1;
    case audioMasterGetVendorVersion:
      return vendorVersion;
    case audioMasterProcessEvents: {
      const auto* events = static_cast<const VstEvents*>(ptr);
      for (int i = 0; i < events->numEvents; ++i) {
        const VstEvent* event = events->events[i];
        SentEvent sent{event->type, event->byteSize, event->deltaFrames, {0, 0, 0}, {}};
        if (event->type == kVstMidiType) {
          const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
          for (int b = 0; b < 3; ++b) sent.midi[b] = static_cast<uint8_t>(midi->midiData[b]);
        } else if (event->type == kVstSysExType) {
          const auto* sysex = reinterpret_cast<const VstMidiSysexEvent*>(event);
          const auto* bytes = reinterpret_cast<const uint8_t*>(sysex->sysexDump);
          sent.sysex.assign(bytes, bytes + static_cast<int32_t>(sysex->dumpBytes));
        }
        mSentEvents.push_back(sent);
      }
      return 1;
    }
    default:
      return 0;
  }
}
