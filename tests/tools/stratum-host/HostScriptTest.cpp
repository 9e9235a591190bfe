// stratum-host script driven line by line through pipes, as a test or
// another program drives it.
#include <gtest/gtest.h>

#include "tests/tools/stratum-host/HostTestSupport.h"

namespace hosttest {
namespace {

TEST(HostScriptTest, SetGetProcessSaveAndLoadRoundTrip) {
  const std::string bundle = ThirdPartyBundle("ZamCompX2");
  if (bundle.empty()) GTEST_SKIP() << "ZamCompX2 (zam-plugins) is not installed";
  TemporaryFolder folder;
  ScriptHost host;
  std::string greeting;
  ASSERT_TRUE(host.Start({bundle, "--block", "256"}, &greeting)) << greeting;
  EXPECT_EQ(greeting, "ready ZamCompX2");

  EXPECT_EQ(host.Ask("get Threshold"), "ok Threshold=0.000000");
  EXPECT_EQ(host.Ask("set Threshold -30"), "ok Threshold=-30.000000");
  EXPECT_EQ(host.Ask("set Ratio=10"), "ok Ratio=10.000000");
  // The compressor reports its gain reduction as output parameter changes,
  // which reach the host's view and the answer.
  const std::string processed = host.Ask("process 4800 --playing --tempo 90");
  EXPECT_EQ(processed.rfind("ok peak=", 0), 0u) << processed;
  EXPECT_NE(processed.find("; Gain Reduction="), std::string::npos) << processed;
  EXPECT_EQ(host.Ask("get Gain Reduction").rfind("ok Gain Reduction=", 0), 0u);
  EXPECT_EQ(host.Ask("get Gain Reduction"), host.Ask("get gain reduction"));

  const std::string state = folder.Path("comp.state");
  EXPECT_EQ(host.Ask("save " + state), "ok saved " + state);
  EXPECT_EQ(host.Ask("set Threshold 0"), "ok Threshold=0.000000");
  EXPECT_EQ(host.Ask("load " + state), "ok loaded " + state);
  EXPECT_EQ(host.Ask("get Threshold"), "ok Threshold=-30.000000");

  // Mistakes are answered and the session goes on.
  EXPECT_EQ(host.Ask("set Volume 3"), "error unknown parameter 'Volume'");
  EXPECT_EQ(host.Ask("set Threshold 5").rfind("error value 5 is out of range", 0), 0u);
  EXPECT_EQ(host.Ask("load " + folder.Path("none.state")).rfind("error cannot read", 0), 0u);
  EXPECT_EQ(host.Ask("process many"), "error process takes a frame count, not 'many'");
  EXPECT_EQ(host.Ask("explode"), "error unknown command 'explode'");
  EXPECT_EQ(host.Ask("get Threshold"), "ok Threshold=-30.000000");
  EXPECT_EQ(host.Ask("quit"), "ok bye");
  EXPECT_EQ(host.Finish(), 0);
}

TEST(HostScriptTest, StartupFailureIsReportedAndExitsNonZero) {
  ScriptHost host;
  std::string greeting;
  EXPECT_FALSE(host.Start({"/nonexistent/Missing.vst3"}, &greeting));
  EXPECT_NE(host.Finish(), 0);
}

}  // namespace
}  // namespace hosttest
