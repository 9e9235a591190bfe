// stratum-host with this project's own bundle: what only it offers (64-bit
// processing, instances linked in groups across processes).
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include <gtest/gtest.h>
#include <sndfile.h>

#include "raster/RAS_MemBitmap.h"
#include "raster/RAS_Png.h"
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

// The editor in a window of the host's own, with scripted input: the click
// on "DC Block" (its switch at 156,50, 20 x 20) lights it in the screenshot.
TEST(HostBundleTest, EditShowsTheEditorAndTakesScriptedInput) {
  if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display";
  TemporaryFolder folder;
  const std::string before = folder.Path("before.png");
  const std::string after = folder.Path("after.png");
  const platform::ProcessResult plain = RunHost({"edit", Bundle(), "--screenshot", before, "--frames", "5"});
  ASSERT_EQ(plain.exitCode, 0) << plain.err;
  const platform::ProcessResult clicked =
      RunHost({"edit", Bundle(), "--screenshot", after, "--frames", "5", "--click", "166,60"});
  ASSERT_EQ(clicked.exitCode, 0) << clicked.err;
  EXPECT_NE(clicked.out.find("410 x 522"), std::string::npos) << clicked.out;

  auto read = [](const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    auto bitmap = std::make_unique<RAS_MemBitmap>();
    EXPECT_NE(RAS_ReadPngMemory(bytes.data(), bytes.size(), bitmap.get()), nullptr) << path;
    return bitmap;
  };
  std::unique_ptr<RAS_MemBitmap> off = read(before);
  std::unique_ptr<RAS_MemBitmap> on = read(after);
  ASSERT_EQ(on->GetWidth(), 410);
  ASSERT_EQ(on->GetHeight(), 522);
  auto pixel = [](RAS_MemBitmap* b, int x, int y) { return b->GetPixels()[y * b->GetRowSpan() + x] & 0xFFFFFFu; };
  EXPECT_NE(pixel(off.get(), 166, 60), pixel(on.get(), 166, 60));
  // The other switches are untouched.
  EXPECT_EQ(pixel(off.get(), 237, 60), pixel(on.get(), 237, 60));

  // A bundle is required.
  EXPECT_EQ(RunHost({"edit"}).exitCode, 2);
}

}  // namespace
}  // namespace hosttest
