// The effect on the VST3 adapter, created in this process so that its editor
// can be reached, driven through the VST3 calls a host makes: the stereo
// controls grey with the arrangement, and what the user does in the editor
// reaches the component handler as begin, value, end.

#include <gtest/gtest.h>

#include <vector>

#include "editor/IControl.h"
#include "editor/IGraphics.h"
#include "effect/VelmarStratum.h"
#include "pluginterfaces/vst/vstspeaker.h"
#include "tests/deliverables/vst3-linux/HostileHost.h"
#include "tools/vst3host/HostComponentHandler.h"
#include "tools/vst3host/HostContext.h"
#include "testsupport/PrivateSegmentNamespace.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using Kind = vst3host::HostComponentHandler::Kind;

namespace {

constexpr int kBlock = 64;
// Controls of the editor layout, by index.
constexpr int kChannelSelectorControl = 3;
constexpr int kPhaseRevRControl = 5;
constexpr int kGainKnobControl = 8;
constexpr int kPanKnobControl = 9;
constexpr int kWidthKnobControl = 10;

class VelmarStratumEditorNoticesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::UsePrivateSegmentNamespace();
    fx = new VelmarStratum();
    ASSERT_EQ(fx->initialize(&vst3host::HostContext()), kResultOk);
    ASSERT_EQ(fx->setComponentHandler(&handler), kResultTrue);
    fx->activateBus(kAudio, kInput, 0, true);
    fx->activateBus(kAudio, kOutput, 0, true);
  }
  void TearDown() override {
    fx->terminate();
    fx->release();
  }

  IGraphics* Editor() { return fx->Graphics(); }
  IControl* Control(int index) { return Editor()->GetControl(index); }
  int ControlOf(int paramIdx) {
    for (int i = 0; i < Editor()->GetNControls(); ++i) {
      if (Control(i)->ParamIdx() == paramIdx) return i;
    }
    return -1;
  }
  void Click(int index) {
    const IRect& r = Control(index)->GetRect();
    Editor()->MouseDown((r.L + r.R) / 2, (r.T + r.B) / 2, IMouseMod(true));
    Editor()->MouseUp((r.L + r.R) / 2, (r.T + r.B) / 2, IMouseMod(true));
  }
  // Forgets the calls so far.
  void ClearCalls() { mSeen = handler.Calls().size(); }
  // The handler's calls for one parameter since ClearCalls, as "b", "p<value>", "e".
  std::vector<std::string> CallsFor(ParamID id) {
    std::vector<std::string> out;
    const auto calls = handler.Calls();
    for (size_t i = mSeen; i < calls.size(); ++i) {
      const auto& call = calls[i];
      if (call.id != id) continue;
      if (call.kind == Kind::kBegin) out.push_back("b");
      if (call.kind == Kind::kPerform) out.push_back("p" + std::to_string(static_cast<int>(call.value * 100)));
      if (call.kind == Kind::kEnd) out.push_back("e");
    }
    return out;
  }

  vst3host::HostComponentHandler handler;
  VelmarStratum* fx = nullptr;
  size_t mSeen = 0;
};

TEST_F(VelmarStratumEditorNoticesTest, StereoControlsGreyWithTheInputArrangement) {
  struct Case {
    SpeakerArrangement arrangement;
    bool greyed;
  };
  const int stereoControls[] = {kChannelSelectorControl, kPhaseRevRControl, kPanKnobControl,
                                kWidthKnobControl};
  for (const Case& c : {Case{SpeakerArr::kStereo, false}, Case{SpeakerArr::kMono, true},
                        Case{SpeakerArr::kStereo, false}}) {
    SpeakerArrangement in = c.arrangement;
    SpeakerArrangement out = c.arrangement;
    ASSERT_EQ(fx->setBusArrangements(&in, 1, &out, 1), kResultOk);
    for (int control : stereoControls) EXPECT_EQ(Control(control)->IsGreyed(), c.greyed) << control;
    ProcessSetup setup{kRealtime, kSample32, kBlock, 48000.0};
    ASSERT_EQ(fx->setupProcessing(setup), kResultOk);
    HostBlock block(kBlock);
    block.inBus.numChannels = block.outBus.numChannels = SpeakerArr::getChannelCount(c.arrangement);
    ASSERT_EQ(block.Run(fx), kResultOk);
    for (int control : stereoControls) EXPECT_EQ(Control(control)->IsGreyed(), c.greyed) << control;
  }
}

TEST_F(VelmarStratumEditorNoticesTest, AutoGainTellsTheGroupGainSwitchAndTheHost) {
  const int autoGain = ControlOf(6);
  const int groupGain = ControlOf(24);
  ASSERT_GE(autoGain, 0);
  ASSERT_GE(groupGain, 0);
  Click(autoGain);  // on: "Group Gain Level" goes off, framed as its own change
  EXPECT_EQ(CallsFor(24), (std::vector<std::string>{"b", "p0", "e"}));
  EXPECT_EQ(Control(groupGain)->GetValue(), 0.0);
  Click(autoGain);  // off again
  ClearCalls();
  Click(groupGain);  // the first click turns the switch on
  EXPECT_EQ(CallsFor(24), (std::vector<std::string>{"b", "p100", "e"}));
  EXPECT_EQ(fx->GetParam(24)->Value(), 1.0);

  // From processing the host hears it through the block's output changes.
  ProcessSetup setup{kRealtime, kSample32, kBlock, 48000.0};
  ASSERT_EQ(fx->setupProcessing(setup), kResultOk);
  ClearCalls();
  BlockChanges on;
  on.Add(6, 1.0);
  FixedParameterChanges reported;
  HostBlock block(kBlock);
  ASSERT_EQ(block.Run(fx, &on, &reported), kResultOk);
  EXPECT_EQ(reported.Last(24), 0.0);
  EXPECT_EQ(Control(groupGain)->GetValue(), 0.0);
  EXPECT_EQ(handler.Calls().size(), mSeen);
}

TEST_F(VelmarStratumEditorNoticesTest, DoubleClickResetOfAKnobIsOneFramedGesture) {
  IControl* knob = Control(kGainKnobControl);
  const IRect& r = knob->GetRect();
  const int x = (r.L + r.R) / 2;
  const int y = (r.T + r.B) / 2;
  Editor()->MouseDown(x, y, IMouseMod(true));
  Editor()->MouseDrag(x, y - 20, IMouseMod(true));
  Editor()->MouseUp(x, y - 20, IMouseMod(true));
  ClearCalls();
  // The platform's second press arrives as a double click, then its release.
  Editor()->MouseDoubleClick(x, y, IMouseMod(true));
  Editor()->MouseUp(x, y, IMouseMod(true));
  EXPECT_EQ(CallsFor(7), (std::vector<std::string>{"b", "p50", "e"}));
}

}  // namespace
