// The shipping bundle's editor in an X11 host window, the way a Linux host
// shows it: the view embedded in the host's window and driven by the
// frame's run loop, with real input through XTest. What the user does
// reaches the host as parameter values and begin, perform and end notices.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <memory>
#include <thread>

#include "effect/ParamIds.h"
#include "effect/layout/EditorGeometry.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/vstspeaker.h"
#include "raster/RAS_IBitmap.h"
#include "tests/adapters/vst3/HostedPluginTest.h"
#include "tools/vst3host/PlanarProcess.h"
#include "tools/snapshot/EditorSnapshot.h"
#include "tools/vst3host/HostPlugFrame.h"
#include "tools/vst3host/HostRunLoop.h"

// Xlib last: its macros clash with names in the headers above.
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include "tests/editor/x11/X11TestDisplay.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
namespace lay = stratum_layout;
using Call = HostComponentHandler::Call;

namespace {

constexpr int kWidth = lay::kEditorWidth;
constexpr int kHeight = lay::kEditorHeight;

// A host with one VelmarStratum on a stereo track and its editor view.
class EditorHost : public HostedPluginTest {
 protected:
  void SetUp() override {
    if (!x11test::DisplayAvailable()) GTEST_SKIP() << "no X server on DISPLAY";
    Open(STRATUM_VST3_BUNDLE_MODULE);
    ASSERT_TRUE(Start(*plugin, kSample32));  // stereo buses
    // One block of stereo silence: the effect now knows both channels are
    // connected (its stereo-only controls are live) and its meters rest.
    in.assign(2, std::vector<float>(256, 0.0f));
    out.assign(2, std::vector<float>(256, 0.0f));
    ASSERT_EQ(ProcessPlanar(*plugin->Processor(), in, out), kResultOk);
    window = std::make_unique<x11test::HostWindow>(0, 0, kWidth, kHeight);
  }
  void TearDown() override {
    if (view) {
      view->removed();
      view->release();
    }
  }

  // Creates the view and shows it in the host window; the frame is given
  // before attached, or after it.
  void ShowEditor(bool frameFirst = true) {
    view = plugin->Controller()->createView(ViewType::kEditor);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultTrue);
    if (frameFirst) {
      ASSERT_EQ(view->setFrame(&frame), kResultOk);
    }
    ASSERT_EQ(view->attached(window->parent(), kPlatformTypeX11EmbedWindowID), kResultOk);
    if (!frameFirst) {
      ASSERT_EQ(view->setFrame(&frame), kResultOk);
    }
    ASSERT_EQ(window->Children().size(), 1u);
    editorWindow = window->Children()[0];
    // The first ticks paint the whole editor.
    loop.RunFor(120);
  }

  // Runs the host's loop until the handler saw an end edit of id.
  bool RunUntilEnd(ParamID id, size_t count = 1) {
    return loop.RunUntil([&] { return Calls(HostComponentHandler::kEnd, id) >= count; }, 3000);
  }
  size_t Calls(HostComponentHandler::Kind kind, ParamID id) {
    size_t count = 0;
    for (const Call& call : HandlerCalls()) count += call.kind == kind && call.id == id;
    return count;
  }
  double Normalized(ParamID id) { return plugin->Controller()->getParamNormalized(id); }
  double PlainToNormalized(ParamID id, double plain) {
    return plugin->Controller()->plainParamToNormalized(id, plain);
  }
  // Every notice for id is framed: begin, perform(s), end.
  void ExpectOneFramedGesture(ParamID id) {
    std::vector<HostComponentHandler::Kind> kinds;
    for (const Call& call : HandlerCalls())
      if (call.id == id) kinds.push_back(call.kind);
    ASSERT_GE(kinds.size(), 3u) << "param " << id;
    EXPECT_EQ(kinds.front(), HostComponentHandler::kBegin);
    EXPECT_EQ(kinds.back(), HostComponentHandler::kEnd);
    for (size_t i = 1; i + 1 < kinds.size(); ++i)
      EXPECT_EQ(kinds[i], HostComponentHandler::kPerform) << "param " << id;
  }
  // Opens the text entry of a caption and waits until it takes keys.
  // dx moves the click sideways, so that two quick clicks are no double click.
  void TypeIntoCaption(const lay::Box& box, const std::string& text, int dx = 0) {
    input.Click(editorWindow, (box.left + box.right) / 2 + dx, (box.top + box.bottom) / 2);
    loop.RunFor(80);
    input.Type(text);
    loop.RunFor(80);
  }

  vst3host::HostRunLoop loop;
  vst3host::HostPlugFrame frame{&loop};
  std::unique_ptr<x11test::HostWindow> window;
  x11test::FakeInput input;
  IPlugView* view = nullptr;
  Window editorWindow = 0;
};

TEST_F(EditorHost, WindowShowsTheEditorAsTheOffscreenSnapshotDrawsIt) {
  ShowEditor();
  EXPECT_EQ(loop.TimerCount(), 1u);
  EXPECT_EQ(loop.EventHandlerCount(), 1u);
  snapshot::EditorSnapshot reference;
  std::string error;
  ASSERT_TRUE(reference.Prepare(48000.0, 512, 2, &error)) << error;
  reference.Process(snapshot::Signal::kSilence, 1);
  RAS_IBitmap* expected = reference.Render();
  const std::vector<uint32_t> screen = x11test::WindowPixels(window->display(), editorWindow, kWidth, kHeight);
  ASSERT_EQ(screen.size(), static_cast<size_t>(kWidth * kHeight));
  int different = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      different += screen[y * kWidth + x] != (expected->GetPixels()[y * expected->GetRowSpan() + x] & 0xFFFFFFu);
  EXPECT_EQ(different, 0);
}

TEST_F(EditorHost, ClicksOnSwitchesAndTheChannelSelectorReachTheHost) {
  ShowEditor();
  input.Click(editorWindow, lay::kDcBlockSwitch.x + 10, lay::kDcBlockSwitch.y + 10);
  ASSERT_TRUE(RunUntilEnd(kDcBlock));
  EXPECT_EQ(Normalized(kDcBlock), 1.0);
  ExpectOneFramedGesture(kDcBlock);

  // "L" is the second of the selector's four segments.
  input.Click(editorWindow, lay::kChannelSelector.x + 36 + 18, lay::kChannelSelector.y + 12);
  ASSERT_TRUE(RunUntilEnd(kChannelSelector));
  EXPECT_NEAR(Normalized(kChannelSelector), 1.0 / 3.0, 1e-9);
  ExpectOneFramedGesture(kChannelSelector);
}

TEST_F(EditorHost, KnobDragAndDoubleClickReset) {
  ShowEditor();
  const double start = Normalized(kGainLevel);
  // Above the value text across the knob's middle (a click there types).
  const int x = lay::kGainKnob.x + 32;
  const int y = lay::kGainKnob.y + 18;
  input.Drag(editorWindow, x, y, x, y - 30);
  ASSERT_TRUE(RunUntilEnd(kGainLevel));
  EXPECT_GT(Normalized(kGainLevel), start);
  ExpectOneFramedGesture(kGainLevel);

  input.DoubleClick(editorWindow, x + 10, y - 12);
  ASSERT_TRUE(loop.RunUntil([&] { return Normalized(kGainLevel) == start; }, 3000));
  // The reset's value is framed too: every value between a begin and an
  // end, every end after its begin.
  loop.RunFor(80);
  int open = 0;
  for (const Call& call : HandlerCalls()) {
    if (call.id != kGainLevel) continue;
    const int expected = call.kind == HostComponentHandler::kBegin ? 0 : 1;
    EXPECT_EQ(open, expected) << "call kind " << call.kind;
    if (call.kind == HostComponentHandler::kBegin) ++open;
    if (call.kind == HostComponentHandler::kEnd) --open;
  }
  EXPECT_EQ(open, 0);
}

// The pan knob is greyed (and ignores the mouse) on a mono track only, and
// follows the arrangement when the host changes it.
TEST_F(EditorHost, StereoControlsFollowTheBusArrangement) {
  struct Case {
    SpeakerArrangement arrangement;
    bool panReachesTheHost;
  };
  ShowEditor();
  const int x = lay::kPanKnob.x + 32;
  const int y = lay::kPanKnob.y + 18;
  for (const Case& c : {Case{SpeakerArr::kMono, false}, Case{SpeakerArr::kStereo, true}}) {
    ASSERT_EQ(plugin->Component()->setActive(false), kResultOk);
    SpeakerArrangement in = c.arrangement;
    SpeakerArrangement out = c.arrangement;
    ASSERT_EQ(plugin->Processor()->setBusArrangements(&in, 1, &out, 1), kResultOk);
    ProcessSetup setup{kRealtime, kSample32, 512, 48000.0};
    ASSERT_EQ(plugin->Processor()->setupProcessing(setup), kResultOk);
    ASSERT_EQ(plugin->Component()->setActive(true), kResultOk);
    loop.RunFor(80);
    const size_t before = Calls(HostComponentHandler::kEnd, kPan);
    input.Drag(editorWindow, x, y, x, y - 20);
    if (c.panReachesTheHost) {
      EXPECT_TRUE(RunUntilEnd(kPan, before + 1));
    } else {
      loop.RunFor(200);
      EXPECT_EQ(Calls(HostComponentHandler::kEnd, kPan), before);
    }
  }
}

TEST_F(EditorHost, TypedValueIsAppliedByReturnOnly) {
  ShowEditor();
  // Return applies.
  TypeIntoCaption(lay::kAutoGainLevelCaption, "-12");
  input.Key(XK_Return);
  input.Sync();
  ASSERT_TRUE(loop.RunUntil([&] { return Normalized(kAutoGainLevel) != PlainToNormalized(kAutoGainLevel, -6.0); }, 3000));
  EXPECT_NEAR(Normalized(kAutoGainLevel), PlainToNormalized(kAutoGainLevel, -12.0), 1e-9);
  EXPECT_EQ(Calls(HostComponentHandler::kPerform, kAutoGainLevel), 1u);

  // Escape, and a click elsewhere in the editor, throw the text away.
  const double rms = Normalized(kRmsWindowSize);
  TypeIntoCaption(lay::kRmsWindowCaption, "300");
  input.Key(XK_Escape);
  input.Sync();
  loop.RunFor(120);
  TypeIntoCaption(lay::kRmsWindowCaption, "200", 10);
  input.Click(editorWindow, 380, 20);
  loop.RunFor(120);
  EXPECT_EQ(Normalized(kRmsWindowSize), rms);
  EXPECT_EQ(Calls(HostComponentHandler::kPerform, kRmsWindowSize), 0u);
  // Each caption click is still one closed gesture.
  EXPECT_EQ(Calls(HostComponentHandler::kBegin, kRmsWindowSize),
            Calls(HostComponentHandler::kEnd, kRmsWindowSize));
}

TEST_F(EditorHost, GroupIsChosenFromThePopup) {
  ShowEditor();
  std::atomic<bool> chosen{false};
  std::thread driver([&] {
    x11test::FakeInput menuInput;
    int x = 0, y = 0, w = 0, h = 0;
    if (!x11test::RunUntil(nullptr, [&] { return x11test::FindPopupMenu(menuInput.display(), &x, &y, &w, &h); }))
      return;
    // "No group", "Group 1", "Group 2", "Group 3": the fourth item.
    menuInput.MoveTo(DefaultRootWindow(menuInput.display()), x + 40, y + 1 + 3 * 20 + 10);
    menuInput.Press(1);
    menuInput.Release(1);
    menuInput.Sync();
    chosen = true;
  });
  input.Click(editorWindow, (lay::kGroupCaption.left + lay::kGroupCaption.right) / 2,
              (lay::kGroupCaption.top + lay::kGroupCaption.bottom) / 2);
  const bool ended = RunUntilEnd(kGroup);
  driver.join();
  ASSERT_TRUE(chosen);
  ASSERT_TRUE(ended);
  EXPECT_NEAR(Normalized(kGroup), PlainToNormalized(kGroup, 3.0), 1e-9);
  ExpectOneFramedGesture(kGroup);
  // Leave the group again for the other tests of this session.
  plugin->Controller()->setParamNormalized(kGroup, 0.0);
}

TEST_F(EditorHost, ClosingAndReopeningWithTheFrameSetLate) {
  ShowEditor(/*frameFirst=*/false);
  EXPECT_EQ(loop.TimerCount(), 1u);
  ASSERT_EQ(view->removed(), kResultOk);
  EXPECT_TRUE(window->Children().empty());
  EXPECT_EQ(loop.TimerCount(), 0u);
  EXPECT_EQ(loop.EventHandlerCount(), 0u);
  view->release();
  view = nullptr;
  for (int round = 0; round < 3; ++round) {
    ShowEditor();
    input.Click(editorWindow, lay::kMuteSwitch.x + 10, lay::kMuteSwitch.y + 10);
    ASSERT_TRUE(RunUntilEnd(kMute, static_cast<size_t>(round + 1)));
    view->removed();
    view->release();
    view = nullptr;
  }
  EXPECT_EQ(loop.TimerCount(), 0u);
}

TEST_F(EditorHost, TwoEditorsOpenAtOnce) {
  ShowEditor();
  std::unique_ptr<PluginInstance> other = Another();
  ASSERT_NE(other, nullptr);
  x11test::HostWindow otherWindow(500, 0, kWidth, kHeight);
  IPlugView* otherView = other->Controller()->createView(ViewType::kEditor);
  ASSERT_NE(otherView, nullptr);
  otherView->setFrame(&frame);
  ASSERT_EQ(otherView->attached(otherWindow.parent(), kPlatformTypeX11EmbedWindowID), kResultOk);
  EXPECT_EQ(loop.TimerCount(), 2u);
  loop.RunFor(120);

  const Window otherEditor = otherWindow.Children().at(0);
  input.Click(otherEditor, lay::kDcBlockSwitch.x + 10, lay::kDcBlockSwitch.y + 10);
  ASSERT_TRUE(loop.RunUntil([&] { return other->Controller()->getParamNormalized(kDcBlock) == 1.0; }, 3000));
  EXPECT_EQ(Normalized(kDcBlock), 0.0);
  // Closing one leaves the other working.
  otherView->removed();
  otherView->release();
  input.Click(editorWindow, lay::kDcBlockSwitch.x + 10, lay::kDcBlockSwitch.y + 10);
  ASSERT_TRUE(RunUntilEnd(kDcBlock));
  EXPECT_EQ(Normalized(kDcBlock), 1.0);
}

// Processing on an audio thread while the user works the editor on the
// interface thread (the thread-sanitizer build runs this too).
TEST_F(EditorHost, EditorWorksWhileProcessingRunsOnAnotherThread) {
  ShowEditor();
  std::atomic<bool> started{false};
  std::atomic<bool> stop{false};
  std::atomic<int> blocks{0};
  std::thread audio([&] {
    std::vector<std::vector<float>> inputs(2, std::vector<float>(256));
    std::vector<std::vector<float>> outputs(2, std::vector<float>(256));
    long long n = 0;
    started = true;
    while (!stop || blocks < 50) {
      for (int s = 0; s < 256; ++s, ++n)
        inputs[0][s] = inputs[1][s] = 0.5f * static_cast<float>(std::sin(0.03 * n));
      ProcessPlanar(*plugin->Processor(), inputs, outputs);
      ++blocks;
    }
  });
  ASSERT_TRUE(loop.RunUntil([&] { return started.load(); }, 3000));
  const long ticksBefore = loop.TimerCalls();
  for (int round = 0; round < 4; ++round) {
    input.Click(editorWindow, lay::kMuteSwitch.x + 10, lay::kMuteSwitch.y + 10);
    ASSERT_TRUE(RunUntilEnd(kMute, static_cast<size_t>(round + 1)));
  }
  // Meters move while the editor ticks.
  loop.RunUntil([&] { return loop.TimerCalls() >= ticksBefore + 10; }, 5000);
  stop = true;
  audio.join();
  EXPECT_EQ(Normalized(kMute), 0.0);  // four toggles
  EXPECT_GE(blocks.load(), 50);
}

}  // namespace
