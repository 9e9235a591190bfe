// stratum-host run as a separate process against third-party VST3 effects,
// the way a user or a script runs it.
#include <cmath>
#include <fstream>

#include <gtest/gtest.h>
#include <sndfile.h>

#include "tests/tools/stratum-host/HostTestSupport.h"

namespace hosttest {
namespace {

// ZamComp is mono in and out; ZamCompX2 stereo.
#define REQUIRE_BUNDLE(variable, name)                                   \
  const std::string variable = ThirdPartyBundle(name);                   \
  if (variable.empty()) GTEST_SKIP() << name << " (zam-plugins) is not installed"

class HostCommandTest : public ::testing::Test {
 protected:
  std::string Generate(const std::string& name, int channels, double seconds = 1.0) {
    const std::string path = folder.Path(name);
    const platform::ProcessResult result = RunHost(
        {"generate", "--out", path, "--channels", std::to_string(channels), "--seconds", std::to_string(seconds)});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return path;
  }
  TemporaryFolder folder;
};

TEST_F(HostCommandTest, InfoListsClassBusesAndParameters) {
  REQUIRE_BUNDLE(bundle, "ZamCompX2");
  const platform::ProcessResult result = RunHost({"info", bundle});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.out.find("class: ZamCompX2\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("vendor: Damien Zammit\n"), std::string::npos);
  EXPECT_NE(result.out.find("audio input \"Audio Input\": 2 channels, main"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("audio output \"Audio Output\": 2 channels, main"), std::string::npos);
  // A parameter line carries ID, title, units, flags, default, steps and the current value's text.
  EXPECT_NE(result.out.find("\"Threshold\" units \"dB\" flags 0x1 (automatable) default 1 (0.000000) steps 0 "
                            "value \"0.000000\""),
            std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("\"Gain Reduction\" units \"dB\" flags 0x2 (read-only)"), std::string::npos);
}

TEST_F(HostCommandTest, RenderWritesFloatWavWhoseLevelFollowsTheSettings) {
  REQUIRE_BUNDLE(bundle, "ZamCompX2");
  const std::string input = Generate("in.wav", 2);
  WavContents in;
  ASSERT_TRUE(ReadWav(input, &in));

  const std::string plainOut = folder.Path("plain.wav");
  const platform::ProcessResult plain = RunHost({"render", bundle, "--in", input, "--out", plainOut});
  ASSERT_EQ(plain.exitCode, 0) << plain.err;
  EXPECT_NE(plain.out.find("channel 2: peak"), std::string::npos) << plain.out;
  WavContents out;
  ASSERT_TRUE(ReadWav(plainOut, &out));
  EXPECT_EQ(out.channels, 2);
  EXPECT_EQ(out.sampleRate, in.sampleRate);
  EXPECT_EQ(out.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  EXPECT_EQ(out.frames, in.frames);
  EXPECT_GT(out.Peak(0), 0.05);
  EXPECT_LE(out.Peak(0), in.Peak(0) * 1.05);

  // A deep threshold, given as a plain value, must reach the processor from
  // the first block: the compressed output is clearly quieter.
  const std::string squashedOut = folder.Path("squashed.wav");
  const platform::ProcessResult squashed =
      RunHost({"render", bundle, "--in", input, "--out", squashedOut, "--set", "Threshold=-40", "--block", "256"});
  ASSERT_EQ(squashed.exitCode, 0) << squashed.err;
  WavContents compressed;
  ASSERT_TRUE(ReadWav(squashedOut, &compressed));
  EXPECT_LT(compressed.Rms(0), out.Rms(0) * 0.5);
  EXPECT_LT(compressed.Rms(1), out.Rms(1) * 0.5);
}

TEST_F(HostCommandTest, RenderMono) {
  REQUIRE_BUNDLE(bundle, "ZamComp");
  const std::string input = Generate("mono.wav", 1);
  const std::string output = folder.Path("out.wav");
  const platform::ProcessResult result = RunHost({"render", bundle, "--in", input, "--out", output});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  WavContents out;
  ASSERT_TRUE(ReadWav(output, &out));
  EXPECT_EQ(out.channels, 1);
  EXPECT_GT(out.Peak(0), 0.05);
  EXPECT_EQ(result.out.find("channel 2"), std::string::npos);
}

// ZaMaximX2 looks ahead and reports that latency: the host makes up for it,
// so a burst in the output starts at the same frame as in the input.
TEST_F(HostCommandTest, RenderMakesUpForTheReportedLatency) {
  REQUIRE_BUNDLE(bundle, "ZaMaximX2");
  const platform::ProcessResult info = RunHost({"info", bundle});
  ASSERT_NE(info.out.find("latency: 480 samples"), std::string::npos) << info.out;

  constexpr int kRate = 48000, kFrames = 24000, kBurstStart = 10007;
  std::vector<double> samples(2 * kFrames, 0.0);
  for (int i = kBurstStart; i < kBurstStart + 480; ++i) {
    samples[2 * i] = samples[2 * i + 1] = 0.1 * std::sin(2.0 * M_PI * 1000.0 * (i - kBurstStart) / kRate + 0.5);
  }
  const std::string input = folder.Path("burst.wav");
  SF_INFO format = {};
  format.channels = 2;
  format.samplerate = kRate;
  format.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE* file = sf_open(input.c_str(), SFM_WRITE, &format);
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(sf_writef_double(file, samples.data(), kFrames), kFrames);
  sf_close(file);

  const std::string output = folder.Path("out.wav");
  const platform::ProcessResult result = RunHost({"render", bundle, "--in", input, "--out", output, "--block", "333"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  WavContents out;
  ASSERT_TRUE(ReadWav(output, &out));
  ASSERT_EQ(out.frames, kFrames);
  long long onset = -1;
  for (long long i = 0; i < out.frames && onset < 0; ++i) {
    if (std::fabs(out.samples[2 * i]) > 0.01) onset = i;
  }
  EXPECT_NEAR(static_cast<double>(onset), kBurstStart, 2.0);
}

TEST_F(HostCommandTest, LongRenderShowsProgressOnStandardError) {
  REQUIRE_BUNDLE(bundle, "ZamComp");
  const std::string input = Generate("long.wav", 1, 6.0);
  const platform::ProcessResult result = RunHost({"render", bundle, "--in", input, "--out", folder.Path("o.wav")});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.err.find("rendering ["), std::string::npos);
  EXPECT_NE(result.err.find("100%"), std::string::npos);
}

TEST_F(HostCommandTest, StateSavedByRenderRestoresTheSettings) {
  REQUIRE_BUNDLE(bundle, "ZamCompX2");
  const std::string input = Generate("in.wav", 2);
  const std::string state = folder.Path("comp.state");
  const std::string first = folder.Path("first.wav"), second = folder.Path("second.wav");
  ASSERT_EQ(RunHost({"render", bundle, "--in", input, "--out", first, "--set", "Threshold=-40", "--set", "Ratio=10",
                     "--state-out", state})
                .exitCode,
            0);
  const platform::ProcessResult restored =
      RunHost({"render", bundle, "--in", input, "--out", second, "--state-in", state});
  ASSERT_EQ(restored.exitCode, 0) << restored.err;
  WavContents a, b;
  ASSERT_TRUE(ReadWav(first, &a));
  ASSERT_TRUE(ReadWav(second, &b));
  EXPECT_EQ(a.samples, b.samples);
}

// Every failure: non-zero exit, one line on standard error naming the
// problem, and no output file (nor any temporary file) left behind.
TEST_F(HostCommandTest, FailuresExplainThemselvesAndWriteNothing) {
  REQUIRE_BUNDLE(stereo, "ZamCompX2");
  REQUIRE_BUNDLE(mono, "ZamComp");
  const std::string input = Generate("in.wav", 2);
  const std::string threeChannels = Generate("three.wav", 3);
  const std::string textFile = folder.Path("notes.vst3");
  std::ofstream(textFile) << "not a plug-in\n";
  const std::string garbageState = folder.Path("garbage.state");
  std::ofstream(garbageState) << "SHSX garbage";
  const std::string out = folder.Path("out.wav");
  const std::string state = folder.Path("out.state");
  const std::string stereoState = folder.Path("stereo.state");
  ASSERT_EQ(RunHost({"render", stereo, "--in", input, "--out", folder.Path("stereo.wav"), "--state-out", stereoState})
                .exitCode,
            0);
  const std::string monoInput = Generate("mono.wav", 1);

  struct Case {
    const char* what;
    std::vector<std::string> args;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"missing bundle", {"render", folder.Path("none.vst3"), "--in", input, "--out", out}, "no such file"},
      {"foreign file", {"render", textFile, "--in", input, "--out", out}, "cannot load"},
      {"no entry points", {"render", ModuleWithoutEntryPointsPath(), "--in", input, "--out", out},
       "no GetPluginFactory entry point"},
      {"unknown parameter", {"render", stereo, "--in", input, "--out", out, "--set", "Volume=3"},
       "unknown parameter 'Volume'"},
      {"out of range", {"render", stereo, "--in", input, "--out", out, "--set", "Threshold=12"},
       "out of range for 'Threshold' (-80 to 0)"},
      {"not a list entry", {"render", stereo, "--in", input, "--out", out, "--set", "Current Program=Loud"},
       "'Loud' is not a value of 'Current Program' (one of: Zero, PoppySnare, VocalLeveller)"},
      {"no 64-bit processing", {"render", stereo, "--in", input, "--out", out, "--double"},
       "cannot process 64-bit samples"},
      {"read-only parameter", {"render", stereo, "--in", input, "--out", out, "--set", "Gain Reduction=3"},
       "read-only"},
      {"three channels", {"render", stereo, "--in", threeChannels, "--out", out}, "has 3 channels"},
      {"arrangement refused", {"render", mono, "--in", input, "--out", out}, "bus arrangement refused"},
      {"missing input", {"render", stereo, "--in", folder.Path("none.wav"), "--out", out}, "cannot read"},
      {"foreign state", {"render", stereo, "--in", input, "--out", out, "--state-in", garbageState},
       "not a state file"},
      {"state of another plug-in", {"render", mono, "--in", monoInput, "--out", out, "--state-in", stereoState},
       "saved by another plug-in than 'ZamComp'"},
      {"unwritable output", {"render", stereo, "--in", input, "--out", folder.Path("no/such/dir/out.wav")},
       "cannot write"},
      {"info on a foreign file", {"info", textFile}, "cannot load"},
  };
  const std::vector<std::string> before = folder.Entries();
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    if (args[0] == "render") args.insert(args.end(), {"--state-out", state});
    const platform::ProcessResult result = RunHost(args);
    EXPECT_NE(result.exitCode, 0) << c.what;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << c.what << ": " << result.err;
    EXPECT_EQ(LineCount(result.err), 1) << c.what << ": " << result.err;
    EXPECT_EQ(folder.Entries(), before) << c.what;
  }
}

TEST_F(HostCommandTest, WrongCommandLinesExitWithUsage) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {}, {"transmogrify"}, {"render", "x.vst3"}, {"render", "x.vst3", "--in", "a", "--out", "b", "--block", "0"},
           {"render", "x.vst3", "--in", "a", "--out", "b", "--frobnicate"}, {"script"}}) {
    const platform::ProcessResult result = RunHost(args);
    EXPECT_EQ(result.exitCode, 2) << ::testing::PrintToString(args);
    EXPECT_FALSE(result.err.empty());
  }
}

}  // namespace
}  // namespace hosttest
