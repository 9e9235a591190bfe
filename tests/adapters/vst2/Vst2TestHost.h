#pragma once

// A small in-process VST2 host for the adapter tests: it loads a module the
// way a host does (dlopen, then VSTPluginMain or main), answers the host
// callback from settable fields and records every call the plug-in makes.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "adapters/vst2/Vst2Interface.h"
#include "platform/LoadableModule.h"

class Vst2TestHost {
 public:
  struct Call {
    int opcode;
    int index;
    VstIntPtr value;
    float opt;
  };
  struct SentEvent {
    int type;
    int byteSize;
    int deltaFrames;
    uint8_t midi[3];
    std::vector<uint8_t> sysex;
  };

  Vst2TestHost() = default;
  ~Vst2TestHost();

  // Loads the module and creates one instance through the named entry point
  // ("VSTPluginMain" or "main"); false with a message when either fails.
  bool Open(const std::string& path, const char* entryName = "VSTPluginMain",
            std::string* error = nullptr);
  // effClose, when the instance is still open.
  void Close();

  AEffect* Effect() { return mEffect; }
  VstIntPtr Dispatch(int opcode, int index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);

  // Calls made with the opcode, in order.
  std::vector<Call> CallsOf(int opcode);
  std::vector<SentEvent> SentEvents();
  void ClearCalls();

  // Answers of the host callback.
  std::string productName = "Stratum Test Host";
  VstIntPtr vendorVersion = 10203;
  VstIntPtr processLevel = 0;
  bool answerTime = true;
  VstTimeInfo time = {};

 private:
  static VstIntPtr Callback(AEffect* effect, int opcode, int index, VstIntPtr value, void* ptr,
                            float opt);
  VstIntPtr Answer(int opcode, int index, VstIntPtr value, void* ptr, float opt);

  platform::LoadableModule mModule;
  AEffect* mEffect = nullptr;
  std::mutex mMutex;
  std::vector<Call> mCalls;
  std::vector<SentEvent> mSentEvents;
};
