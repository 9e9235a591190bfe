// stratum-host with VST2 modules: this project's VST2 module against its
// VST3 bundle (the same effect, so the same samples), its state files, a
// group shared across the two formats, and a Debian VST2 effect as a
// third-party check of the host side.
#include <cmath>
#include <filesystem>

#include <gtest/gtest.h>

#include "tests/tools/stratum-host/HostTestSupport.h"

namespace hosttest {
namespace {

std::string Vst2Module() { return STRATUM_VST2_MODULE_PATH; }
std::string Vst3Bundle() { return STRATUM_VST3_BUNDLE_PATH; }

class HostVst2Test : public ::testing::Test {
 protected:
  void SetUp() override {
    input = folder.Path("in.wav");
    ASSERT_EQ(RunHost({"generate", "--out", input, "--seconds", "2"}).exitCode, 0);
  }
  // Renders input through the plug-in with the extra arguments.
  WavContents Render(const std::string& plugin, const std::string& name,
                     const std::vector<std::string>& extra) {
    std::vector<std::string> args{"render", plugin, "--in", input, "--out", folder.Path(name)};
    args.insert(args.end(), extra.begin(), extra.end());
    const platform::ProcessResult result = RunHost(args);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    WavContents contents;
    EXPECT_TRUE(ReadWav(folder.Path(name), &contents)) << name;
    return contents;
  }

  TemporaryFolder folder;
  std::string input;
};

TEST_F(HostVst2Test, InfoDescribesTheVst2Module) {
  const platform::ProcessResult result = RunHost({"info", Vst2Module()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  for (const char* line : {"format: VST2\n", "effect: VelmarStratum\n", "vendor: Velmar\n",
                           "version: 20003\n", "unique id: StRm (0x5374526d)\n", "flags: 0x1039\n",
                           "channels: 2 in, 2 out\n", "parameters: 31\n",
                           "\"Gain Level\" label \"dB\" value 0.5 (0.0)\n"}) {
    EXPECT_NE(result.out.find(line), std::string::npos) << line << result.out;
  }
}

// The float path of both formats converts the same way around the same
// double-precision effect: every sample equal.
TEST_F(HostVst2Test, RendersSampleForSampleLikeTheVst3Bundle) {
  const std::vector<std::vector<std::string>> settings = {
      {"--set", "Gain Level=-6", "--set", "Stereo Width=150", "--set", "Limit=on"},
      {"--set", "Auto Gain On/Off=on", "--set", "Pan=-30", "--set", "Limit=on", "--playing",
       "--tempo", "97", "--block", "300"},
  };
  for (size_t i = 0; i < settings.size(); ++i) {
    const WavContents vst2 = Render(Vst2Module(), "vst2.wav", settings[i]);
    const WavContents vst3 = Render(Vst3Bundle(), "vst3.wav", settings[i]);
    ASSERT_EQ(vst2.frames, vst3.frames) << i;
    ASSERT_EQ(vst2.channels, 2) << i;
    EXPECT_TRUE(vst2.samples == vst3.samples) << "settings " << i;
    EXPECT_GT(vst2.Peak(0), 0.1) << i;
  }
}

TEST_F(HostVst2Test, StateSavedThroughVst2RestoresThroughVst2) {
  const std::string state = folder.Path("vst2.state");
  const WavContents set = Render(Vst2Module(), "set.wav",
                                 {"--set", "Gain Level=-9", "--set", "Channel Selector=RL",
                                  "--set", "Limit=on", "--state-out", state});
  const WavContents restored = Render(Vst2Module(), "restored.wav", {"--state-in", state});
  EXPECT_TRUE(set.samples == restored.samples);

  // The same in one script session: program and bank come back.
  ScriptHost host;
  std::string greeting;
  ASSERT_TRUE(host.Start({Vst2Module()}, &greeting)) << greeting;
  EXPECT_EQ(greeting, "ready VelmarStratum");
  EXPECT_EQ(host.Ask("set Gain Level -3"), "ok Gain Level=-3.0");
  const std::string saved = folder.Path("script.state");
  EXPECT_EQ(host.Ask("save " + saved), "ok saved " + saved);
  EXPECT_EQ(host.Ask("set Gain Level 5"), "ok Gain Level=5.0");
  EXPECT_EQ(host.Ask("load " + saved), "ok loaded " + saved);
  EXPECT_EQ(host.Ask("get Gain Level"), "ok Gain Level=-3.0");

  // A state of the other format, or a damaged one, is refused and changes nothing.
  const std::string vst3State = folder.Path("vst3.state");
  Render(Vst3Bundle(), "vst3.wav", {"--state-out", vst3State});
  EXPECT_EQ(host.Ask("load " + vst3State).rfind("error ", 0), 0u);
  std::filesystem::resize_file(saved, 30);
  EXPECT_EQ(host.Ask("load " + saved).rfind("error ", 0), 0u);
  EXPECT_EQ(host.Ask("get Gain Level"), "ok Gain Level=-3.0");
  EXPECT_EQ(host.Ask("quit"), "ok bye");
  EXPECT_EQ(host.Finish(), 0);
}

// A VST2 instance and a VST3 instance in two processes meet in one group.
TEST_F(HostVst2Test, GroupLinksAVst2AndAVst3Instance) {
  TemporaryFolder session;
  std::filesystem::permissions(session.Path(""), std::filesystem::perms::owner_all);
  const std::vector<std::string> sessionFolder{"XDG_RUNTIME_DIR=" + session.Path("")};
  ScriptHost vst2, vst3;
  std::string greeting;
  ASSERT_TRUE(vst2.Start({Vst2Module(), "--block", "512"}, &greeting, sessionFolder)) << greeting;
  ASSERT_TRUE(vst3.Start({Vst3Bundle(), "--block", "512"}, &greeting, sessionFolder)) << greeting;

  EXPECT_EQ(vst2.Ask("set Group Group 1"), "ok Group=Group 1");
  EXPECT_EQ(vst3.Ask("set Group Group 1"), "ok Group=Group 1");
  EXPECT_EQ(vst2.Ask("process 512"), "ok peak=0.5,0.5");
  EXPECT_EQ(vst3.Ask("process 512"), "ok peak=0.5,0.5");

  // Each way round: the other's host hears of the change at its next block.
  EXPECT_EQ(vst2.Ask("set Gain Level -6"), "ok Gain Level=-6.0");
  vst2.Ask("process 512");
  std::string reached = vst3.Ask("process 512");
  EXPECT_NE(reached.find("; Gain Level=-6.0"), std::string::npos) << reached;
  EXPECT_EQ(vst3.Ask("get Gain Level"), "ok Gain Level=-6.0");

  EXPECT_EQ(vst3.Ask("set Pan 40"), "ok Pan=40");
  vst3.Ask("process 512");
  reached = vst2.Ask("process 512");
  EXPECT_NE(reached.find("; Pan=40"), std::string::npos) << reached;
  EXPECT_EQ(vst2.Ask("get Pan"), "ok Pan=40");

  EXPECT_EQ(vst2.Ask("quit"), "ok bye");
  EXPECT_EQ(vst3.Ask("quit"), "ok bye");
  EXPECT_EQ(vst2.Finish(), 0);
  EXPECT_EQ(vst3.Finish(), 0);
}

// A VST2 effect from Debian's zam-plugins (mono in, mono out) renders a
// stereo file, and its state goes out and back in.
TEST_F(HostVst2Test, RendersADebianVst2Effect) {
  const std::string plugin = "/usr/lib/vst/ZamEQ2-vst.so";
  if (!std::filesystem::exists(plugin)) GTEST_SKIP() << "zam-plugins is not installed";
  const platform::ProcessResult info = RunHost({"info", plugin});
  ASSERT_EQ(info.exitCode, 0) << info.err;
  EXPECT_NE(info.out.find("format: VST2\neffect: ZamEQ2\n"), std::string::npos) << info.out;

  const std::string state = folder.Path("zam.state");
  const WavContents flat = Render(plugin, "flat.wav", {});
  const WavContents boosted =
      Render(plugin, "boost.wav", {"--set", "Boost/Cut 1=12", "--set", "Frequency 1=262",
                                    "--state-out", state});
  WavContents in;
  ASSERT_TRUE(ReadWav(input, &in));
  ASSERT_EQ(flat.channels, 1);
  ASSERT_EQ(flat.frames, in.frames);
  EXPECT_NEAR(flat.Rms(0), in.Rms(0), 0.05 * in.Rms(0));  // flat at its defaults
  EXPECT_GT(boosted.Rms(0), 1.1 * flat.Rms(0));  // 12 dB on one note of the chord
  const WavContents restored = Render(plugin, "restored.wav", {"--state-in", state});
  EXPECT_TRUE(restored.samples == boosted.samples);

  const platform::ProcessResult unknown =
      RunHost({"render", plugin, "--in", input, "--out", folder.Path("x.wav"), "--set", "Nope=1"});
  EXPECT_EQ(unknown.exitCode, 1);
  EXPECT_NE(unknown.err.find("unknown parameter 'Nope'"), std::string::npos) << unknown.err;
}

}  // namespace
}  // namespace hosttest
