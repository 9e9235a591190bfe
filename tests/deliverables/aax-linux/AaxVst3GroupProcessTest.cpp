// An AAX instance in this process and a VST3 instance in another process
// (stratum-host script on the VST3 bundle) share a group: a linked change in
// either reaches the other at its next block, and its host hears of it.

#include <algorithm>
#include <string>

#include "platform/ChildProcess.h"
#include "tests/deliverables/aax-linux/AaxHostedTest.h"

namespace {

constexpr int kFrames = 512;
constexpr int kAnswerTimeoutMs = 120000;  // a loaded machine may be slow to start a host

class Vst3InAnotherProcess {
 public:
  bool Start(std::string* greeting) {
    std::string error;
    if (!mChild.Start({STRATUM_HOST_PATH, "script", STRATUM_VST3_BUNDLE_DIR}, &error)) {
      *greeting = error;
      return false;
    }
    return mChild.ReadLine(greeting, kAnswerTimeoutMs);
  }
  std::string Ask(const std::string& command) {
    std::string answer;
    if (!mChild.WriteLine(command) || !mChild.ReadLine(&answer, kAnswerTimeoutMs)) {
      return "<no answer>";
    }
    return answer;
  }
  ~Vst3InAnotherProcess() {
    mChild.WriteLine("quit");
    mChild.CloseInput();
    mChild.Wait();
  }

 private:
  platform::ChildProcess mChild;
};

using AaxVst3GroupProcess = AaxHostedTest;

TEST_F(AaxVst3GroupProcess, LinkedChangesCrossBetweenFormatsAndProcesses) {
  Vst3InAnotherProcess vst3;
  std::string greeting;
  ASSERT_TRUE(vst3.Start(&greeting)) << greeting;
  ASSERT_EQ(greeting.rfind("ready", 0), 0u) << greeting;

  auto aax = Make(kStereoConfiguration);
  ASSERT_NE(aax, nullptr);
  FloatBlock in(2, kFrames), out(2, kFrames);
  ASSERT_EQ(aax->SetFromText("16", "Group 12"), AAX_SUCCESS);
  // The host renders all along; the first block (its processing reset) is
  // behind the instance before the other's change arrives.
  aax->Render(in.Pointers(), out.Pointers(), kFrames);
  ASSERT_EQ(vst3.Ask("set Group=12"), "ok Group=Group 12");
  ASSERT_EQ(vst3.Ask("process 512").rfind("ok", 0), 0u);

  // VST3 to AAX: the gain set in the other process arrives with the AAX
  // instance's next render, and the AAX host is told.
  ASSERT_EQ(vst3.Ask("set Gain Level=-7.5"), "ok Gain Level=-7.5");
  ASSERT_EQ(vst3.Ask("process 512").rfind("ok", 0), 0u);
  aax->Controller().requests.clear();
  aax->Render(in.Pointers(), out.Pointers(), kFrames);
  EXPECT_EQ(aax->ValueText("8"), "-7.50 dB");
  EXPECT_NE(std::find(aax->Controller().requests.begin(), aax->Controller().requests.end(), "set 8"),
            aax->Controller().requests.end());

  // AAX to VST3: the pan set here reaches the other process's next block,
  // whose host then shows it.
  ASSERT_EQ(aax->SetFromText("10", "-25"), AAX_SUCCESS);
  const std::string processed = vst3.Ask("process 512");
  EXPECT_NE(processed.find("Pan=-25"), std::string::npos) << processed;
  EXPECT_EQ(vst3.Ask("get Pan"), "ok Pan=-25");
}

}  // namespace
