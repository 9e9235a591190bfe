// The shipping VST2 module's editor in an X11 host window, the way a Linux
// VST2 host shows it: effEditOpen with the host window's id, the host's
// effEditIdle calls driving the editor's timer and X events (a VST2 host
// offers no run loop), real input through XTest, effEditClose.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "effect/ParamIds.h"
#include "effect/layout/EditorGeometry.h"
#include "raster/RAS_IBitmap.h"
#include "tests/adapters/vst2/Vst2TestHost.h"
#include "tools/snapshot/EditorSnapshot.h"

// Xlib last: its macros clash with names in the headers above.
#include <X11/Xlib.h>

#include "tests/editor/x11/X11TestDisplay.h"

namespace lay = stratum_layout;

namespace {

constexpr int kWidth = lay::kEditorWidth;
constexpr int kHeight = lay::kEditorHeight;

class Vst2EditorHost : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!x11test::DisplayAvailable()) GTEST_SKIP() << "no X server on DISPLAY";
    std::string error;
    ASSERT_TRUE(host.Open(STRATUM_VST2_MODULE, "VSTPluginMain", &error)) << error;
    effect = host.Effect();
    host.Dispatch(effOpen);
    host.Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    host.Dispatch(effSetBlockSize, 0, 512);
    host.Dispatch(effMainsChanged, 0, 1);
    // One block of stereo silence: both channels connected, meters at rest.
    std::vector<float> silence(512, 0.0f), left(512), right(512);
    float* ins[2] = {silence.data(), silence.data()};
    float* outs[2] = {left.data(), right.data()};
    effect->processReplacing(effect, ins, outs, 512);
    window = std::make_unique<x11test::HostWindow>(0, 0, kWidth, kHeight);
  }
  void TearDown() override {
    if (open) host.Dispatch(effEditClose);
  }

  void ShowEditor() {
    ASSERT_EQ(host.Dispatch(effEditOpen, 0, 0, window->parent()), 1);
    open = true;
    ASSERT_EQ(window->Children().size(), 1u);
    editorWindow = window->Children()[0];
    IdleFor(150);  // the first ticks paint the whole editor
  }
  // The host's idle calls, every 10 ms as a host's user-interface timer makes them.
  void IdleOnce() {
    host.Dispatch(effEditIdle);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  void IdleFor(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) IdleOnce();
  }
  bool IdleUntil(const std::function<bool()>& done) {
    return x11test::RunUntil([&] { IdleOnce(); }, done, 3000);
  }
  size_t Calls(int opcode, int index) {
    size_t count = 0;
    for (const auto& call : host.CallsOf(opcode)) count += call.index == index;
    return count;
  }

  Vst2TestHost host;
  AEffect* effect = nullptr;
  std::unique_ptr<x11test::HostWindow> window;
  x11test::FakeInput input;
  Window editorWindow = 0;
  bool open = false;
};

TEST_F(Vst2EditorHost, IdleCallsPaintTheEditorAsTheOffscreenSnapshotDrawsIt) {
  ShowEditor();
  snapshot::EditorSnapshot reference;
  std::string error;
  ASSERT_TRUE(reference.Prepare(48000.0, 512, 2, &error)) << error;
  reference.Process(snapshot::Signal::kSilence, 1);
  RAS_IBitmap* expected = reference.Render();
  const std::vector<uint32_t> screen =
      x11test::WindowPixels(window->display(), editorWindow, kWidth, kHeight);
  ASSERT_EQ(screen.size(), static_cast<size_t>(kWidth * kHeight));
  int different = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      different += screen[y * kWidth + x] !=
                   (expected->GetPixels()[y * expected->GetRowSpan() + x] & 0xFFFFFFu);
    }
  }
  EXPECT_EQ(different, 0);

  ASSERT_EQ(host.Dispatch(effEditClose), 1);
  open = false;
  EXPECT_TRUE(window->Children().empty());
  IdleFor(100);  // nothing left to drive
  // The window opens again in the same host window.
  ShowEditor();
}

TEST_F(Vst2EditorHost, ClickReachesTheHostThroughIdleCalls) {
  ShowEditor();
  host.ClearCalls();
  input.Click(editorWindow, lay::kDcBlockSwitch.x + 10, lay::kDcBlockSwitch.y + 10);
  ASSERT_TRUE(IdleUntil([&] { return Calls(audioMasterEndEdit, kDcBlock) >= 1; }));
  EXPECT_EQ(Calls(audioMasterBeginEdit, kDcBlock), 1u);
  EXPECT_GE(Calls(audioMasterAutomate, kDcBlock), 1u);
  EXPECT_EQ(effect->getParameter(effect, kDcBlock), 1.0f);
}

TEST_F(Vst2EditorHost, OnlyAnX11WindowIsAccepted) {
  EXPECT_EQ(host.Dispatch(effEditOpen, 0, 0, nullptr), 0);
  EXPECT_TRUE(window->Children().empty());
  ERect* rect = nullptr;
  ASSERT_EQ(host.Dispatch(effEditGetRect, 0, 0, &rect), 1);
  EXPECT_EQ(rect->right, kWidth);
  EXPECT_EQ(rect->bottom, kHeight);
}

}  // namespace
