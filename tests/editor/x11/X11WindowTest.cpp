// The X11 window layer on a real X server (Xvfb in the test script): the
// editor embedded in a host window, painted from the back buffer, and driven
// by real input sent through XTest.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "editor/ICaptionControl.h"
#include "editor/IKnobMultiControl.h"
#include "editor/ISwitchControl.h"
#include "editor/x11/IGraphicsX11.h"
#include "effect/ParamIds.h"
#include "raster/RAS_SysBitmap.h"
#include "tests/editor/EditorTestSupport.h"
#include "testsupport/TestPlugin.h"

// Xlib last: its macros (None, Status, ...) clash with names in our headers.
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <X11/extensions/XTest.h>

#include "tests/editor/x11/X11TestDisplay.h"

using namespace x11test;
using Kind = IFxRecordingAdapter::HostCallKind;

namespace {

constexpr int kWidth = 410;
constexpr int kHeight = 522;
constexpr int kBackgroundId = 9201;
const IRect kSwitchRect(20, 20, 40, 40);      // DC Block, two frames
const IRect kKnobRect(100, 100, 164, 164);    // Gain Level, 65 frames
const IRect kGainCaption(200, 20, 260, 40);   // Gain Level as text
const IRect kGroupCaption(279, 50, 369, 70);  // Group pop-up

// One editor of the effect's size in a host window of its own.
class EditorWindow {
 public:
  EditorWindow(int hostX, int hostY) : host(hostX, hostY, kWidth + 40, kHeight + 40) {
    static bool registered = false;
    if (!registered) {
      editortest::RegisterSolidPng(kBackgroundId, kWidth, kHeight, 0xFF303840u);
      registered = true;
    }
    gfx = new IGraphicsX11(&plug, kWidth, kHeight);
    gfx->AddBackground(kBackgroundId, "background.png");
    gfx->AddControl(new ISwitchControl(&plug, kSwitchRect.L, kSwitchRect.T, kDcBlock,
                                       editortest::Describe(switchStrip.get(), 2)));
    gfx->AddControl(new IKnobMultiControl(&plug, kKnobRect.L, kKnobRect.T, kGainLevel,
                                          editortest::Describe(knobStrip.get(), 65)));
    ITextStyle style(12, IColor(255, 230, 230, 230), "Arial", ITextStyle::StyleNormal,
                     ITextStyle::AlignCenter);
    gfx->AddControl(new ICaptionControl(&plug, kGainCaption, kGainLevel, style, false));
    gfx->AddControl(new ICaptionControl(&plug, kGroupCaption, kGroup, style, false));
    plug.AttachEditor(gfx);  // the plug-in owns the editor from here
  }

  bool Open(bool allowShm = true) {
    gfx->SetAllowSharedMemory(allowShm);
    if (!gfx->OpenEditorWindow(host.parent(), IGraphicsX11::kParentType, &loop)) return false;
    Tick();
    return true;
  }

  // One timer step of the host's run loop (events first, as the layer does).
  void Tick() { gfx->OnRunLoopTimer(); }
  // Handles events until done answers true.
  bool PumpUntil(const std::function<bool()>& done) {
    return RunUntil([this] { gfx->OnRunLoopInput(-1); }, done);
  }
  // Handles the events of everything sent so far, then one timer step.
  void Settle() {
    XSync(host.display(), False);
    gfx->OnRunLoopInput(-1);
    Tick();
  }

  std::vector<uint32_t> BackBufferPixels() const {
    RAS_SysBitmap* back = gfx->GetBackBuffer();
    std::vector<uint32_t> pixels;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        pixels.push_back(back->GetPixels()[y * back->GetRowSpan() + x] & 0xFFFFFFu);
    return pixels;
  }
  std::vector<uint32_t> ScreenPixels() const {
    return WindowPixels(host.display(), gfx->WindowId(), kWidth, kHeight);
  }
  int CallsOf(Kind kind) const { return static_cast<int>(plug.HostCallsOf(kind).size()); }

  std::unique_ptr<RAS_MemBitmap> switchStrip = editortest::MakeStrip(20, 20, 2);
  std::unique_ptr<RAS_MemBitmap> knobStrip = editortest::MakeStrip(64, 64, 65);
  // Declared before the plug-in, which closes its window on destruction.
  RecordingRunLoop loop;
  HostWindow host;
  TestPlugin plug;
  IGraphicsX11* gfx;
};

class X11WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!DisplayAvailable()) GTEST_SKIP() << "no X server on DISPLAY";
    editor = std::make_unique<EditorWindow>(0, 0);
    ASSERT_TRUE(editor->Open());
  }
  Window win() const { return editor->gfx->WindowId(); }
  double Value(int param) { return editor->plug.GetParam(param)->Value(); }

  std::unique_ptr<EditorWindow> editor;
  FakeInput input;
};

TEST(X11WindowOpenTest, WithoutADisplayOpeningFailsCleanly) {
  const char* saved = std::getenv("DISPLAY");
  const std::string display = saved ? saved : "";
  setenv("DISPLAY", ":65000", 1);
  TestPlugin plug;
  IGraphicsX11* gfx = new IGraphicsX11(&plug, kWidth, kHeight);
  plug.AttachEditor(gfx);
  RecordingRunLoop loop;
  EXPECT_FALSE(gfx->OpenEditorWindow(reinterpret_cast<void*>(0x1234), IGraphicsX11::kParentType, &loop));
  EXPECT_EQ(gfx->GetWindow(), nullptr);
  EXPECT_TRUE(loop.registered.empty());
  gfx->CloseEditorWindow();
  if (saved)
    setenv("DISPLAY", display.c_str(), 1);
  else
    unsetenv("DISPLAY");
}

TEST(X11WindowOpenTest, AcceptsX11ParentsOnlyAndRefusesABadParent) {
  if (!DisplayAvailable()) GTEST_SKIP() << "no X server on DISPLAY";
  TestPlugin plug;
  IGraphicsX11* gfx = new IGraphicsX11(&plug, kWidth, kHeight);
  plug.AttachEditor(gfx);
  EXPECT_TRUE(gfx->AcceptsParentType("X11EmbedWindowID"));
  EXPECT_FALSE(gfx->AcceptsParentType("HWND"));
  RecordingRunLoop loop;
  // A window id the server does not know: no window, no crash.
  EXPECT_FALSE(gfx->OpenEditorWindow(reinterpret_cast<void*>(0x7FFFFF0), "X11EmbedWindowID", &loop));
  EXPECT_FALSE(gfx->OpenEditorWindow(nullptr, "X11EmbedWindowID", &loop));
  EXPECT_EQ(gfx->GetWindow(), nullptr);
}

TEST(X11WindowOpenTest, UrlsNeedingConfirmationOrUnsafeAreNotOpened) {
  TestPlugin plug;
  IGraphicsX11* gfx = new IGraphicsX11(&plug, kWidth, kHeight);
  plug.AttachEditor(gfx);
  // Without an open window no message box can ask first, so nothing is
  // opened.
  EXPECT_FALSE(gfx->OpenURL("https://velmar.example/", "Velmar", "Open the web site?", nullptr));
  // The opener refuses anything but web, mail and file addresses.
  EXPECT_FALSE(gfx->OpenURL("--help", nullptr, nullptr, nullptr));
  EXPECT_FALSE(gfx->OpenURL(nullptr, nullptr, nullptr, nullptr));
  std::string folder;
  gfx->PluginPath(folder);
  EXPECT_TRUE(folder.empty() || folder.back() == '/') << folder;
}

TEST_F(X11WindowTest, OpensAChildOfTheHostWindowDrivenByTheRunLoop) {
  const std::vector<Window> children = editor->host.Children();
  ASSERT_EQ(children.size(), 1u);
  EXPECT_EQ(children[0], win());
  ASSERT_EQ(editor->loop.registered.size(), 1u);
  EXPECT_EQ(editor->loop.registered[0].client, editor->gfx);
  EXPECT_EQ(editor->loop.registered[0].fd, ConnectionNumber(editor->gfx->GetDisplay()));
  EXPECT_EQ(editor->loop.registered[0].intervalMs, 40);

  editor->gfx->CloseEditorWindow();
  EXPECT_EQ(editor->loop.unregistered.size(), 1u);
  EXPECT_TRUE(editor->host.Children().empty());
}

TEST_F(X11WindowTest, ReopeningKeepsThePlaceAndRepaintsEverything) {
  XMoveWindow(editor->host.display(), win(), 12, 7);
  XSync(editor->host.display(), False);
  ASSERT_TRUE(editor->gfx->OpenEditorWindow(editor->host.parent(), "X11EmbedWindowID", &editor->loop));
  XWindowAttributes attributes;
  XGetWindowAttributes(editor->host.display(), win(), &attributes);
  EXPECT_EQ(attributes.x, 12);
  EXPECT_EQ(attributes.y, 7);
  EXPECT_EQ(editor->host.Children().size(), 1u);
  editor->Tick();
  EXPECT_EQ(editor->ScreenPixels(), editor->BackBufferPixels());
}

class X11PaintTest : public ::testing::TestWithParam<bool> {};

TEST_P(X11PaintTest, WindowShowsTheBackBufferAndOnlyDirtyAreasAreSent) {
  if (!DisplayAvailable()) GTEST_SKIP() << "no X server on DISPLAY";
  EditorWindow editor(0, 0);
  const bool shm = GetParam();
  ASSERT_TRUE(editor.Open(shm));
  if (shm) {
    EXPECT_TRUE(editor.gfx->UsesSharedMemory()) << "a local server offers MIT-SHM";
  }
  EXPECT_EQ(editor.ScreenPixels(), editor.BackBufferPixels());

  // A pixel changed behind the editor's back stays off the screen until its
  // area is dirty; the knob's change is painted at the next tick.
  RAS_SysBitmap* back = editor.gfx->GetBackBuffer();
  back->GetPixels()[5 * back->GetRowSpan() + 5] = 0xFFFF00FFu;
  editor.plug.GetParam(kGainLevel)->SetValue(30.0);
  editor.gfx->PushParamToControls(kGainLevel, 30.0, false);
  editor.Tick();
  std::vector<uint32_t> screen = editor.ScreenPixels();
  std::vector<uint32_t> expected = editor.BackBufferPixels();
  EXPECT_NE(screen[5 * kWidth + 5], 0xFF00FFu);
  expected[5 * kWidth + 5] = screen[5 * kWidth + 5];
  EXPECT_EQ(screen, expected);

  // An exposure repaints from the back buffer.
  XClearArea(editor.host.display(), editor.gfx->WindowId(), 0, 0, 50, 50, True);
  editor.Settle();
  EXPECT_EQ(editor.ScreenPixels(), editor.BackBufferPixels());
}

INSTANTIATE_TEST_SUITE_P(SharedMemoryAndPlain, X11PaintTest, ::testing::Values(true, false));

TEST_F(X11WindowTest, ClickOnASwitchIsOneFramedGesture) {
  input.Click(win(), 30, 30);
  ASSERT_TRUE(editor->PumpUntil([&] { return editor->CallsOf(Kind::EndParamChange) == 1; }));
  EXPECT_EQ(Value(kDcBlock), 1.0);  // off by default; one click switches it on
  EXPECT_EQ(editor->CallsOf(Kind::BeginParamChange), 1);
  EXPECT_EQ(editor->CallsOf(Kind::ParamChange), 1);
  // A click on empty background reports nothing.
  editor->plug.ClearHostCalls();
  input.Click(win(), 380, 500);
  editor->Settle();
  EXPECT_TRUE(editor->plug.HostCalls().empty());
}

TEST_F(X11WindowTest, DragTurnsTheKnobAndDoubleClickResetsIt) {
  const double before = editor->plug.GetParam(kGainLevel)->GetNormalized();
  input.Drag(win(), 120, 150, 120, 134);  // 16 pixels up
  ASSERT_TRUE(editor->PumpUntil([&] { return editor->CallsOf(Kind::EndParamChange) == 1; }));
  EXPECT_EQ(editor->CallsOf(Kind::BeginParamChange), 1);
  EXPECT_GE(editor->CallsOf(Kind::ParamChange), 1);
  // A drag of the knob's height (64 pixels) times its gearing (4) covers
  // the range.
  EXPECT_NEAR(editor->plug.GetParam(kGainLevel)->GetNormalized(), before + 16.0 / 64.0 / 4.0, 1e-9);

  // Far enough from the drag's press to start a new click.
  input.DoubleClick(win(), 140, 130);
  ASSERT_TRUE(editor->PumpUntil(
      [&] { return editor->plug.GetParam(kGainLevel)->GetNormalized() == before; }));

  // The wheel steps by 0.01, each step framed as a gesture of its own;
  // buttons 4 and 5 are no clicks.
  editor->plug.ClearHostCalls();
  input.Click(win(), 130, 130, 4);
  ASSERT_TRUE(editor->PumpUntil([&] { return editor->CallsOf(Kind::ParamChange) == 1; }));
  EXPECT_NEAR(editor->plug.GetParam(kGainLevel)->GetNormalized(), before + 0.01, 1e-9);
  EXPECT_EQ(editor->CallsOf(Kind::BeginParamChange), 1);
  EXPECT_EQ(editor->CallsOf(Kind::EndParamChange), 1);
}

TEST_F(X11WindowTest, KeysNoControlTakesGoBackToTheHost) {
  input.MoveTo(win(), 300, 300);
  input.Key(XK_a);
  input.Key(XK_F5);
  input.Sync();
  editor->Settle();
  EXPECT_EQ(editor->host.ReceivedKeyPresses(), 2);
}

// ---- Text entry ----

class X11TextEntryTest : public X11WindowTest {
 protected:
  void OpenEntry() {
    input.Click(win(), 230, 30);
    ASSERT_TRUE(editor->PumpUntil([&] { return editor->gfx->IsTextEntryOpen(); }));
    EXPECT_EQ(editor->gfx->TextEntryText(), "0.0");
  }
  // Lets the layer take the typed keys.
  void TypeAndSettle(const std::string& text) {
    input.Type(text);
    ASSERT_TRUE(editor->PumpUntil([&] { return editor->gfx->TextEntryText() == text; }))
        << editor->gfx->TextEntryText();
  }
  void Finish() {
    input.Sync();
    ASSERT_TRUE(editor->PumpUntil([&] {
      editor->Tick();
      return !editor->gfx->IsTextEntryOpen();
    }));
  }
};

TEST_F(X11TextEntryTest, ReturnAppliesTheTypedValue) {
  OpenEntry();
  TypeAndSettle("-3.5");
  input.Key(XK_Return);
  Finish();
  EXPECT_DOUBLE_EQ(Value(kGainLevel), -3.5);
  // One gesture for the caption's click, and one around the entry's value,
  // which arrives after the click has ended.
  EXPECT_EQ(editor->CallsOf(Kind::BeginParamChange), 2);
  EXPECT_EQ(editor->CallsOf(Kind::EndParamChange), 2);
  EXPECT_EQ(editor->CallsOf(Kind::ParamChange), 1);
  // The entry is gone from the screen again.
  editor->Tick();
  EXPECT_EQ(editor->ScreenPixels(), editor->BackBufferPixels());
}

TEST_F(X11TextEntryTest, TypingFiltersAndEditsBeforeApplying) {
  OpenEntry();
  TypeAndSettle("12");
  input.Type("x");  // refused by a number's filter
  input.Key(XK_BackSpace);
  input.Key(XK_Home);
  input.Type("-");
  ASSERT_TRUE(editor->PumpUntil([&] { return editor->gfx->TextEntryText() == "-1"; }))
      << editor->gfx->TextEntryText();
  input.Key(XK_KP_Enter);
  Finish();
  EXPECT_DOUBLE_EQ(Value(kGainLevel), -1.0);
}

TEST_F(X11TextEntryTest, PasteReplacesTheSelectionThroughTheFilter) {
  OpenEntry();
  // The clipboard is ours before the paste key is sent.
  ClipboardOwner owner("-2x.5");
  ASSERT_TRUE(owner.Owning());
  input.KeyWith(XK_Control_L, XK_v);
  input.Sync();
  // The number's filter drops the "x"; the pasted text replaces "0.0",
  // which the entry opened with selected.
  ASSERT_TRUE(editor->PumpUntil([&] { return editor->gfx->TextEntryText() == "-2.5"; }))
      << editor->gfx->TextEntryText();
  input.Key(XK_Return);
  Finish();
  EXPECT_DOUBLE_EQ(Value(kGainLevel), -2.5);
}

TEST_F(X11TextEntryTest, EscapeClickAwayAndWheelDiscardTheText) {
  struct Case {
    const char* what;
    std::function<void()> discard;
  };
  const Case cases[] = {
      {"escape", [&] { input.Key(XK_Escape); }},
      {"click elsewhere in the editor", [&] { input.Click(win(), 380, 500); }},
      {"wheel", [&] { input.Click(win(), 230, 30, 5); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    editor->plug.ClearHostCalls();
    OpenEntry();
    TypeAndSettle("7");
    c.discard();
    Finish();
    EXPECT_DOUBLE_EQ(Value(kGainLevel), 0.0);
    EXPECT_EQ(editor->CallsOf(Kind::ParamChange), 0);
    // The caption's own gesture is still closed.
    EXPECT_EQ(editor->CallsOf(Kind::EndParamChange), 1);
  }
}

TEST_F(X11TextEntryTest, FocusLeavingTheEditorApplies) {
  OpenEntry();
  TypeAndSettle("4");
  // The host takes the keyboard back (the user clicked into its window).
  XSetInputFocus(editor->host.display(), editor->host.window(), RevertToParent, CurrentTime);
  XSync(editor->host.display(), False);
  Finish();
  EXPECT_DOUBLE_EQ(Value(kGainLevel), 4.0);
}

// ---- Pop-up menu ----

// Does one thing to the pop-up menu once it is on the screen, from a helper
// thread: the editor's thread is inside the menu until it closes.
class MenuDriver {
 public:
  explicit MenuDriver(std::function<void(FakeInput&, int x, int y)> action)
      : mThread([this, action] {
          FakeInput input;
          int x = 0, y = 0, w = 0, h = 0;
          const bool shown = RunUntil(nullptr, [&] { return FindPopupMenu(input.display(), &x, &y, &w, &h); });
          if (shown) action(input, x, y);
          input.Sync();
          found = shown;
        }) {}
  ~MenuDriver() { mThread.join(); }
  std::atomic<bool> found{false};

 private:
  std::thread mThread;
};

// Item i of a menu whose top-left is at (x, y), in root coordinates.
void ClickItem(FakeInput& input, int x, int y, int item) {
  input.MoveTo(DefaultRootWindow(input.display()), x + 40, y + 1 + item * 20 + 10);
  input.Press(1);
  input.Release(1);
}

TEST_F(X11WindowTest, ChoosingAGroupFromThePopupSetsItInOneGesture) {
  {
    MenuDriver driver([](FakeInput& in, int x, int y) { ClickItem(in, x, y, 3); });
    input.Click(win(), 300, 60);
    ASSERT_TRUE(editor->PumpUntil([&] { return editor->CallsOf(Kind::EndParamChange) == 1; }));
  }
  EXPECT_EQ(Value(kGroup), 3.0);  // "Group 3"
  EXPECT_EQ(editor->CallsOf(Kind::BeginParamChange), 1);
  EXPECT_EQ(editor->CallsOf(Kind::ParamChange), 1);

  // From the keyboard: nothing is highlighted at first; two down is "Group 1".
  editor->plug.ClearHostCalls();
  {
    MenuDriver driver([](FakeInput& in, int, int) {
      in.Key(XK_Down);
      in.Key(XK_Down);
      in.Key(XK_Return);
    });
    input.Click(win(), 300, 60);
    ASSERT_TRUE(editor->PumpUntil([&] { return editor->CallsOf(Kind::EndParamChange) == 1; }));
  }
  EXPECT_EQ(Value(kGroup), 1.0);
}

TEST_F(X11WindowTest, DismissingThePopupChangesNothing) {
  struct Case {
    const char* what;
    std::function<void(FakeInput&, int, int)> dismiss;
  };
  const Case cases[] = {
      {"escape", [](FakeInput& in, int, int) { in.Key(XK_Escape); }},
      {"press outside", [](FakeInput& in, int, int) {
         in.MoveTo(DefaultRootWindow(in.display()), 1000, 900);
         in.Press(1);
         in.Release(1);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    editor->plug.ClearHostCalls();
    {
      MenuDriver driver(c.dismiss);
      input.Click(win(), 300, 60);
      ASSERT_TRUE(editor->PumpUntil([&] { return editor->CallsOf(Kind::EndParamChange) == 1; }));
    }
    EXPECT_EQ(Value(kGroup), 0.0);
    EXPECT_EQ(editor->CallsOf(Kind::ParamChange), 0);
  }
}

TEST(X11TwoEditorsTest, TwoEditorsPaintIndependentlyAndOutliveEachOther) {
  if (!DisplayAvailable()) GTEST_SKIP() << "no X server on DISPLAY";
  EditorWindow first(0, 0);
  EditorWindow second(500, 0);
  ASSERT_TRUE(first.Open());
  ASSERT_TRUE(second.Open());
  EXPECT_NE(first.gfx->GetDisplay(), second.gfx->GetDisplay());
  second.plug.GetParam(kGainLevel)->SetValue(-20.0);
  second.gfx->PushParamToControls(kGainLevel, -20.0, false);
  first.gfx->CloseEditorWindow();
  second.Tick();
  EXPECT_EQ(second.ScreenPixels(), second.BackBufferPixels());
  ASSERT_TRUE(first.Open());
  EXPECT_EQ(first.ScreenPixels(), first.BackBufferPixels());
}

}  // namespace
