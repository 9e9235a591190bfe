// The shipping bundle against hosts that misuse its calls: each row of the
// table is one misuse, played on fresh instances of the loaded module, with
// what a sound plug-in does about it.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "base/source/fstring.h"
#include "pluginterfaces/base/ibstream.h"
#include "tests/deliverables/vst3-linux/AudioThreadProbe.h"
#include "tests/adapters/vst3/HostedPluginTest.h"
#include "tests/deliverables/vst3-linux/HostileHost.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr ParamID kPresetId = 0x70727374;
constexpr ParamID kBypassId = 0x62706173;
constexpr int kEffectParams = 31;
constexpr ParamID kAutoGainOnOff = 6;
constexpr ParamID kGainLevel = 7;
constexpr ParamID kStereoWidth = 10;
constexpr ParamID kGroup = 15;
constexpr ParamID kGroupGainLevel = 24;
constexpr ParamID kFirstMidiCc = kEffectParams;
constexpr int kBlock = 128;
constexpr int kStateSize = 252;

// A stream that answers every read with zeros and claims to have read
// 2^31 - 1 bytes, whatever was asked for.
class LyingStream : public IBStream {
 public:
  tresult PLUGIN_API read(void* buffer, int32 numBytes, int32* numBytesRead) override {
    if (numBytes > 0) std::memset(buffer, 0, static_cast<size_t>(numBytes));
    if (numBytesRead != nullptr) *numBytesRead = INT_MAX;
    return kResultOk;
  }
  tresult PLUGIN_API write(void*, int32, int32*) override { return kResultFalse; }
  tresult PLUGIN_API seek(int64, int32, int64*) override { return kResultFalse; }
  tresult PLUGIN_API tell(int64*) override { return kResultFalse; }
  STRATUM_TEST_UNKNOWN(IBStream)
};

// A stream holding bytes, whose first read also runs one process call on
// another thread and waits for it: a setState that held the instance lock
// while reading would make that call wait for the read to finish.
class ProcessingWhileReadStream : public IBStream {
 public:
  ProcessingWhileReadStream(std::vector<uint8_t> bytes, IAudioProcessor* processor)
      : mBytes(std::move(bytes)), mProcessor(processor) {}
  tresult PLUGIN_API read(void* buffer, int32 numBytes, int32* numBytesRead) override {
    if (!mProcessed) {
      mProcessed = true;
      auto done = std::async(std::launch::async, [this] {
        HostBlock block(kBlock);
        return block.Run(mProcessor);
      });
      // Not a timing check: without the fault the call returns at once,
      // with it the call could only return after this read.
      processCompletedDuringRead = done.wait_for(std::chrono::seconds(60)) == std::future_status::ready;
    }
    const int32 left = static_cast<int32>(mBytes.size()) - mPosition;
    const int32 n = numBytes < left ? numBytes : left;
    if (n > 0) std::memcpy(buffer, mBytes.data() + mPosition, static_cast<size_t>(n));
    mPosition += n;
    if (numBytesRead != nullptr) *numBytesRead = n;
    return kResultOk;
  }
  tresult PLUGIN_API write(void*, int32, int32*) override { return kResultFalse; }
  tresult PLUGIN_API seek(int64, int32, int64*) override { return kResultFalse; }
  tresult PLUGIN_API tell(int64*) override { return kResultFalse; }
  STRATUM_TEST_UNKNOWN(IBStream)

  bool processCompletedDuringRead = false;

 private:
  std::vector<uint8_t> mBytes;
  IAudioProcessor* mProcessor;
  int32 mPosition = 0;
  bool mProcessed = false;
};

class VelmarStratumHostileHostTest : public HostedPluginTest {
 public:
  void SetUp() override { Open(STRATUM_VST3_BUNDLE_MODULE); }

  // The fixture's own instance, for calls that need no fresh one.
  PluginInstance& Shared() { return *plugin; }

  // A new instance of the module, initialised and, when started, set up for
  // 32-bit blocks and run until its smoothed settings have settled.
  std::unique_ptr<PluginInstance> Fresh(bool start = true) {
    std::unique_ptr<PluginInstance> instance = Another();
    if (start) {
      EXPECT_TRUE(::Start(*instance, kSample32, 48000.0, kBlock));
      Settle(*instance);
    }
    return instance;
  }

  static void Settle(PluginInstance& p) {
    for (int n = 0; n < 200; ++n) {
      HostBlock block(kBlock);
      block.Run(p.Processor());
    }
  }

  static void Apply(PluginInstance& p, std::initializer_list<std::pair<ParamID, double>> values) {
    BlockChanges changes;
    for (const auto& v : values) changes.Add(v.first, v.second);
    HostBlock block(kBlock);
    ASSERT_EQ(block.Run(p.Processor(), &changes), kResultOk);
  }

  static double Normalized(PluginInstance& p, ParamID id) {
    return p.Controller()->getParamNormalized(id);
  }

  static double StoredValue(const std::vector<uint8_t>& state, int paramIdx) {
    double value = 0.0;
    std::memcpy(&value, state.data() + 4 + 8 * paramIdx, 8);
    return value;
  }
};

void ExpectNear(const std::vector<float>& actual, const std::vector<float>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t s = 0; s < actual.size(); ++s) ASSERT_NEAR(actual[s], expected[s], 1e-6f) << s;
}

void ExpectSilent(const std::vector<float>& samples) {
  for (size_t s = 0; s < samples.size(); ++s) ASSERT_EQ(samples[s], 0.0f) << s;
}

// The folder the module's group segment lives in, as the platform layer
// chooses it; empty when the test environment gives no private folder.
std::string SegmentFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  struct stat info;
  if (runtime == nullptr || lstat(runtime, &info) != 0 || (info.st_mode & 077) != 0) return "";
  return runtime;
}

struct HostileCase {
  const char* misuse;
  std::function<void(VelmarStratumHostileHostTest&)> play;
};

TEST_F(VelmarStratumHostileHostTest, EveryMisuseIsHandledSoundly) {
  const HostileCase cases[] = {
      {"restoring a state saved with auto gain on gives back all 31 values",
       [](VelmarStratumHostileHostTest& t) {
         auto p = t.Fresh();
         Apply(*p, {{kAutoGainOnOff, 1.0}});
         ASSERT_EQ(Normalized(*p, kGroupGainLevel), 0.0);  // the user's switch did that
         Apply(*p, {{kGroupGainLevel, 1.0}, {kGainLevel, 0.4}, {kStereoWidth, 0.8}});
         const std::vector<uint8_t> state = SaveState(*p);
         ASSERT_EQ(state.size(), 256u);
         ASSERT_EQ(StoredValue(state, kGroupGainLevel), 1.0);
         ASSERT_EQ(LoadState(*p, state), kResultOk);
         EXPECT_EQ(SaveState(*p), state) << "same instance";
         auto other = t.Fresh(false);
         ASSERT_EQ(LoadState(*other, state), kResultOk);
         EXPECT_EQ(SaveState(*other), state) << "another instance";
         // Re-sending the switch's own value is no switching on.
         Apply(*other, {{kAutoGainOnOff, 1.0}});
         EXPECT_EQ(Normalized(*other, kGroupGainLevel), 1.0);
       }},
      {"switching auto gain on in a block tells the host that Group Gain Level went off",
       [](VelmarStratumHostileHostTest& t) {
         auto p = t.Fresh();
         ASSERT_EQ(Normalized(*p, kGroupGainLevel), 1.0);
         BlockChanges on;
         on.Add(kAutoGainOnOff, 1.0);
         FixedParameterChanges reported;
         HostBlock block(kBlock);
         ASSERT_EQ(block.Run(p->Processor(), &on, &reported), kResultOk);
         EXPECT_EQ(reported.Last(kGroupGainLevel), 0.0);
         EXPECT_EQ(Normalized(*p, kGroupGainLevel), 0.0);
       }},
      {"setupProcessing after setState keeps the restored bypass",
       [](VelmarStratumHostileHostTest& t) {
         auto p = t.Fresh();
         Apply(*p, {{kBypassId, 1.0}});
         const std::vector<uint8_t> state = SaveState(*p);
         auto loaded = t.Fresh(false);
         ASSERT_EQ(LoadState(*loaded, state), kResultOk);
         ASSERT_TRUE(::Start(*loaded, kSample32, 44100.0, kBlock));
         EXPECT_EQ(Normalized(*loaded, kBypassId), 1.0);
         HostBlock block(kBlock);
         ASSERT_EQ(block.Run(loaded->Processor()), kResultOk);
         EXPECT_EQ(block.outL, block.inL);
       }},
      {"the Preset value sent back keeps the state just loaded",
       [](VelmarStratumHostileHostTest& t) {
         auto p = t.Fresh();
         Apply(*p, {{kGainLevel, 0.4}, {kStereoWidth, 0.8}});  // -12 dB, 160 %
         const std::vector<uint8_t> state = SaveState(*p);
         auto loaded = t.Fresh();
         ASSERT_EQ(LoadState(*loaded, state), kResultOk);
         EXPECT_EQ(loaded->Controller()->setParamNormalized(kPresetId, 0.0), kResultOk);
         Apply(*loaded, {{kPresetId, Normalized(*loaded, kPresetId)}});
         EXPECT_DOUBLE_EQ(Normalized(*loaded, kGainLevel), 0.4);
         EXPECT_DOUBLE_EQ(Normalized(*loaded, kStereoWidth), 0.8);
       }},
      {"a stream claiming 2^31-1 bytes is read only as far as the state goes",
       [](VelmarStratumHostileHostTest& t) {
         auto p = t.Fresh();
         LyingStream lying;
         probe::Window window;
         const tresult answer = p->Controller()->setState(&lying);
         const probe::Record record = window.End();
         EXPECT_EQ(answer, kResultOk);
         EXPECT_LT(record.largestAllocation, 64u * 1024u);
         // Zeros, clamped: every value in range, the audio finite.
         for (int i = 0; i < kEffectParams; ++i) {
           const double v = Normalized(*p, static_cast<ParamID>(i));
           EXPECT_TRUE(v >= 0.0 && v <= 1.0) << i;
         }
         HostBlock block(kBlock);
         ASSERT_EQ(block.Run(p->Processor()), kResultOk);
         for (float s : block.outL) ASSERT_TRUE(std::isfinite(s));
       }},
      {"setState reads its stream outside the instance lock",
       [](VelmarStratumHostileHostTest& t) {
         auto p = t.Fresh();
         ProcessingWhileReadStream stream(SaveState(*p), p->Processor());
         EXPECT_EQ(p->Controller()->setState(&stream), kResultOk);
         EXPECT_TRUE(stream.processCompletedDuringRead);
       }},
      {"a hard-linked group segment file is refused, not truncated",
       [](VelmarStratumHostileHostTest& t) {
         const std::string folder = SegmentFolder();
         if (folder.empty()) GTEST_SKIP() << "no private runtime folder";
         const std::string segment = folder + "/VelmarStratum.shm";
         const std::string victim = folder + "/victim-of-a-hard-link";
         const std::string content = "a file the plug-in must never touch";
         FILE* file = std::fopen(victim.c_str(), "w");
         ASSERT_NE(file, nullptr);
         std::fputs(content.c_str(), file);
         std::fclose(file);
         chmod(victim.c_str(), 0600);
         // The fixture's instance holds the segment: this is its path.
         ASSERT_EQ(access(segment.c_str(), F_OK), 0) << segment;
         unlink(segment.c_str());  // holders keep their own mapping
         ASSERT_EQ(link(victim.c_str(), segment.c_str()), 0);
         {
           auto p = t.Fresh();
           Apply(*p, {{kGroup, 3.0 / 16.0}});
           HostBlock block(kBlock);
           EXPECT_EQ(block.Run(p->Processor()), kResultOk);
         }
         struct stat info;
         ASSERT_EQ(stat(victim.c_str(), &info), 0);
         EXPECT_EQ(info.st_size, static_cast<off_t>(content.size()));
         unlink(segment.c_str());
         unlink(victim.c_str());
       }},
      {"a null output channel pointer leaves the other channel written",
       [](VelmarStratumHostileHostTest& t) {
         auto p = t.Fresh();
         for (int missing = 0; missing < 2; ++missing) {
           HostBlock block(kBlock);
           block.out[missing] = nullptr;
           ASSERT_EQ(block.Run(p->Processor()), kResultOk);
           if (missing == 0) {
             ExpectNear(block.outR, block.inR);
           } else {
             ExpectNear(block.outL, block.inL);
           }
         }
       }},
      {"missing input buffers read silence, never the previous block",
       [](VelmarStratumHostileHostTest& t) {
         auto p = t.Fresh();
         const std::function<void(HostBlock&)> misuses[] = {
             [](HostBlock& b) { b.data.numInputs = 0; b.data.inputs = nullptr; },
             [](HostBlock& b) { b.inBus.numChannels = 0; },
             [](HostBlock& b) { b.inBus.channelBuffers32 = nullptr; },
             [](HostBlock& b) { b.in[0] = nullptr; b.in[1] = nullptr; },
         };
         for (const auto& misuse : misuses) {
           HostBlock loud(kBlock);
           ASSERT_EQ(loud.Run(p->Processor()), kResultOk);
           HostBlock block(kBlock);
           misuse(block);
           ASSERT_EQ(block.Run(p->Processor()), kResultOk);
           ExpectSilent(block.outL);
           ExpectSilent(block.outR);
         }
         // One null channel drops only that channel.
         HostBlock loud(kBlock);
         ASSERT_EQ(loud.Run(p->Processor()), kResultOk);
         HostBlock block(kBlock);
         block.in[0] = nullptr;
         ASSERT_EQ(block.Run(p->Processor()), kResultOk);
         ExpectNear(block.outL, std::vector<float>(kBlock, 0.0f));  // width's rounding
         ExpectNear(block.outR, block.inR);
       }},
      {"a call with zero frames still runs the block's housekeeping",
       [](VelmarStratumHostileHostTest& t) {
         auto p = t.Fresh();
         BlockChanges on;
         on.Add(kAutoGainOnOff, 1.0);
         HostBlock playing(kBlock);
         playing.SetPlaying(true);
         ASSERT_EQ(playing.Run(p->Processor(), &on), kResultOk);
         HostBlock stopped(kBlock);
         stopped.SetPlaying(false);
         stopped.data.numSamples = 0;
         stopped.PoisonOutputs();
         FixedParameterChanges reported;
         ASSERT_EQ(stopped.Run(p->Processor(), nullptr, &reported), kResultOk);
         EXPECT_EQ(Normalized(*p, kAutoGainOnOff), 0.0);
         EXPECT_EQ(reported.Last(kAutoGainOnOff), 0.0);
         EXPECT_EQ(stopped.outL[0], 42.0f);  // no audio touched

         // Group values are applied in such a call too.
         auto a = t.Fresh();
         auto b = t.Fresh();
         for (PluginInstance* member : {a.get(), b.get()}) Apply(*member, {{kGroup, 12.0 / 16.0}});
         Apply(*a, {{kGainLevel, 0.75}});
         HostBlock empty(kBlock);
         empty.data.numSamples = 0;
         ASSERT_EQ(empty.Run(b->Processor()), kResultOk);
         EXPECT_DOUBLE_EQ(Normalized(*b, kGainLevel), 0.75);
         for (PluginInstance* member : {a.get(), b.get()}) Apply(*member, {{kGroup, 0.0}});
       }},
      {"controller calls accept any value and never throw",
       [](VelmarStratumHostileHostTest& t) {
         IEditController* c = t.Shared().Controller();
         const double values[] = {NAN, INFINITY, -INFINITY, -1.0, 1e300, -1e300, 2.0};
         for (ParamID id : {kBypassId, kPresetId, kFirstMidiCc, kFirstMidiCc + 127, kGainLevel,
                            ParamID(2), ParamID(kGroup)}) {
           for (double v : values) {
             String128 text = {};
             EXPECT_EQ(c->getParamStringByValue(id, v, text), kResultOk) << id << " " << v;
             EXPECT_NE(text[0], 0) << id << " " << v;
             const double plain = c->normalizedParamToPlain(id, v);
             EXPECT_TRUE(std::isfinite(plain)) << id << " " << v;
             const double normalized = c->plainParamToNormalized(id, v);
             EXPECT_TRUE(normalized >= 0.0 && normalized <= 1.0) << id << " " << v;
           }
         }
         ParameterInfo info = {};
         for (int32 index : {-1, 161, INT_MAX, INT_MIN}) {
           EXPECT_NE(c->getParameterInfo(index, info), kResultOk) << index;
         }
         ParamValue parsed = 0.0;
         EXPECT_NE(c->getParamValueByString(kGainLevel, nullptr, parsed), kResultOk);
         String128 nan = {'n', 'a', 'n', 0};
         EXPECT_NE(c->getParamValueByString(kFirstMidiCc, nan, parsed), kResultOk);
         EXPECT_NE(c->setParamNormalized(kGainLevel, NAN), kResultOk);
         EXPECT_EQ(c->setParamNormalized(kGainLevel, 7.0), kResultOk);
         EXPECT_EQ(c->getParamNormalized(kGainLevel), 1.0);
       }},
      {"setupProcessing refuses sizes that cannot be allocated and stays usable",
       [](VelmarStratumHostileHostTest& t) {
         auto p = t.Fresh(false);
         const ProcessSetup refused[] = {
             {kRealtime, kSample32, 512, 1e9},       {kRealtime, kSample32, INT_MAX, 48000.0},
             {kRealtime, kSample32, 512, NAN},       {kRealtime, kSample32, 512, -48000.0},
             {kRealtime, kSample64, -1, 48000.0},
         };
         for (ProcessSetup setup : refused) EXPECT_EQ(p->Processor()->setupProcessing(setup), kResultFalse);
         ASSERT_TRUE(::Start(*p, kSample32, 48000.0, kBlock));
         Settle(*p);
         HostBlock block(kBlock);
         ASSERT_EQ(block.Run(p->Processor()), kResultOk);
         ExpectNear(block.outL, block.inL);
         // A block longer than any buffer could be is refused as well.
         block.data.numSamples = INT_MAX;
         EXPECT_NE(block.Run(p->Processor()), kResultOk);
       }},
      {"bypass set through the controller reads back until processing changes it",
       [](VelmarStratumHostileHostTest& t) {
         auto p = t.Fresh();
         ASSERT_EQ(p->Controller()->setParamNormalized(kBypassId, 1.0), kResultOk);
         EXPECT_EQ(Normalized(*p, kBypassId), 1.0);
         Apply(*p, {{kBypassId, 0.0}});
         EXPECT_EQ(Normalized(*p, kBypassId), 0.0);
         ASSERT_EQ(p->Controller()->setParamNormalized(kBypassId, 1.0), kResultOk);
         ASSERT_EQ(p->Controller()->setParamNormalized(kBypassId, 0.0), kResultOk);
         EXPECT_EQ(Normalized(*p, kBypassId), 0.0);
       }},
  };
  for (const HostileCase& c : cases) {
    SCOPED_TRACE(c.misuse);
    c.play(*this);
  }
}

}  // namespace
