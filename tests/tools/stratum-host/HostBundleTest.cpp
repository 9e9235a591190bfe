// stratum-host with this project's own bundle: what only it offers (64-bit
// processing, instances linked in groups across processes).
#include <filesystem>

#include <gtest/gtest.h>
#include <sndfile.h>

#include "tests/tools/stratum-host/HostTestSupport.h"

namespace hosttest {
namespace {

std::string Bundle() { return STRATUM_VST3_BUNDLE_PATH; }

TEST(HostBundleTest, RenderInBothPrecisionsGivesTheSameGain) {
  TemporaryFolder folder;
  const std::string input = folder.Path("in.wav");
  ASSERT_EQ(RunHost({"generate", "--out", input, "--seconds", "1"}).exitCode, 0);
  const std::string single = folder.Path("single.wav"), twice = folder.Path("double.wav");
  const platform::ProcessResult a = RunHost({"render", Bundle(), "--in", input, "--out", single, "--set", "Gain Level=-6"});
  const platform::ProcessResult b =
      RunHost({"render", Bundle(), "--in", input, "--out", twice, "--set", "Gain Level=-6", "--double"});
  ASSERT_EQ(a.exitCode, 0) << a.err;
  ASSERT_EQ(b.exitCode, 0) << b.err;
  WavContents in, out32, out64;
  ASSERT_TRUE(ReadWav(input, &in));
  ASSERT_TRUE(ReadWav(single, &out32));
  ASSERT_TRUE(ReadWav(twice, &out64));
  EXPECT_EQ(out64.format, SF_FORMAT_WAV | SF_FORMAT_DOUBLE);
  ASSERT_EQ(out32.frames, in.frames);
  ASSERT_EQ(out64.frames, in.frames);
  for (int c = 0; c < 2; ++c) {
    EXPECT_NEAR(out32.Rms(c) / in.Rms(c), 0.5012, 0.01) << c;  // -6 dB
    EXPECT_NEAR(out64.Rms(c), out32.Rms(c), 1e-5) << c;
  }
}

// Two hosts in two processes, each with one instance, in the same group: a
// linked change in one reaches the other at its next block, and the other's
// host hears of it as a parameter change reported by the plug-in. The
// processes meet in a session folder of their own, away from other tests.
TEST(HostBundleTest, GroupLinkedChangeReachesTheOtherProcessAtItsNextBlock) {
  TemporaryFolder session;
  std::filesystem::permissions(session.Path(""), std::filesystem::perms::owner_all);
  ScriptHost a, b;
  std::string greeting;
  const std::vector<std::string> args{Bundle(), "--block", "512"};
  const std::vector<std::string> sessionFolder{"XDG_RUNTIME_DIR=" + session.Path("")};
  ASSERT_TRUE(a.Start(args, &greeting, sessionFolder)) << greeting;
  ASSERT_EQ(greeting, "ready VelmarStratum");
  ASSERT_TRUE(b.Start(args, &greeting, sessionFolder)) << greeting;

  EXPECT_EQ(a.Ask("set Group Group 1"), "ok Group=Group 1");
  EXPECT_EQ(b.Ask("set Group Group 1"), "ok Group=Group 1");
  EXPECT_EQ(a.Ask("process 512"), "ok peak=0.5,0.5");
  EXPECT_EQ(b.Ask("process 512"), "ok peak=0.5,0.5");

  EXPECT_EQ(a.Ask("set Gain Level -6"), "ok Gain Level=-6.0");
  // A's own change is no news to A's host; B's host hears of it.
  EXPECT_EQ(a.Ask("process 512").find("Gain Level"), std::string::npos);
  const std::string reached = b.Ask("process 512");
  EXPECT_NE(reached.find("; Gain Level=-6.0"), std::string::npos) << reached;
  EXPECT_EQ(b.Ask("get Gain Level"), "ok Gain Level=-6.0");
  EXPECT_EQ(b.Ask("process 512").find("Gain Level"), std::string::npos);  // reported once

  // An unlinked control stays where it is; leaving the group ends the link.
  EXPECT_EQ(b.Ask("set Group Pan off"), "ok Group Pan=off");
  EXPECT_EQ(a.Ask("set Pan 50"), "ok Pan=50");
  EXPECT_EQ(a.Ask("process 512").find("Pan="), std::string::npos);
  EXPECT_EQ(b.Ask("process 512").find("Pan="), std::string::npos);
  EXPECT_EQ(b.Ask("get Pan"), "ok Pan=0");

  EXPECT_EQ(a.Ask("quit"), "ok bye");
  EXPECT_EQ(b.Ask("quit"), "ok bye");
  EXPECT_EQ(a.Finish(), 0);
  EXPECT_EQ(b.Finish(), 0);
}

}  // namespace
}  // namespace hosttest
