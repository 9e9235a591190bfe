// The editor's message box on a real X server: every button set answers
// what it should by click and by key, and a box whose editor window goes
// away answers without a choice.

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "editor/x11/IGraphicsX11.h"
#include "editor/x11/X11MessageBox.h"
#include "testsupport/TestPlugin.h"

// Xlib last: its macros (None, Status, ...) clash with names in our headers.
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include "tests/editor/x11/X11TestDisplay.h"

using namespace x11test;

namespace {

constexpr int kWidth = 410;
constexpr int kHeight = 522;

// An open editor without controls in a host window of its own.
struct OpenEditor {
  OpenEditor() : host(0, 0, kWidth, kHeight) {
    gfx = new IGraphicsX11(&plug, kWidth, kHeight);
    plug.AttachEditor(gfx);
    opened = gfx->OpenEditorWindow(host.parent(), IGraphicsX11::kParentType, &loop);
  }
  RecordingRunLoop loop;
  HostWindow host;
  TestPlugin plug;
  IGraphicsX11* gfx;
  bool opened = false;
};

// Does one thing to the box once it is on the screen, from a helper thread
// (the editor's thread waits inside the box). A box still open five
// seconds later is ended by destroying the editor's window, so a fault
// fails the test instead of hanging it.
// The box as the driver found it: its root position and size, and the
// editor's window beneath.
struct BoxView {
  int x = 0, y = 0, w = 0, h = 0;
  Window editor = 0;
};

class BoxDriver {
 public:
  using Action = std::function<void(FakeInput&, const BoxView&)>;
  BoxDriver(Window editorWindow, Action action)
      : mThread([this, editorWindow, action] {
          FakeInput input;
          BoxView box;
          box.editor = editorWindow;
          auto shown = [&] {
            return FindMappedWindow(input.display(), X11MessageBox::kWindowName, &box.x, &box.y,
                                    &box.w, &box.h);
          };
          found = RunUntil(nullptr, shown, 5000);
          if (found) action(input, box);
          input.Sync();
          if (!RunUntil(nullptr, [&] { return !shown(); }, 5000)) {
            rescued = true;
            XDestroyWindow(input.display(), editorWindow);
          }
          input.Sync();
        }) {}
  ~BoxDriver() { Join(); }
  void Join() {
    if (mThread.joinable()) mThread.join();
  }
  std::atomic<bool> found{false};
  std::atomic<bool> rescued{false};

 private:
  std::thread mThread;
};

// Shows a box of the given type while the action runs; its answer.
int AnswerOf(int type, const BoxDriver::Action& action) {
  OpenEditor editor;
  EXPECT_TRUE(editor.opened);
  if (!editor.opened) return -1;
  BoxDriver driver(editor.gfx->WindowId(), action);
  const int answer = editor.gfx->ShowMessageBox("Reset every setting of this channel strip to "
                                                "its default value?",
                                                "VelmarStratum", type);
  driver.Join();
  EXPECT_TRUE(driver.found);
  EXPECT_FALSE(driver.rescued) << "the box stayed open";
  return answer;
}

BoxDriver::Action ClickButton(int type, int index) {
  return [type, index](FakeInput& in, const BoxView& box) {
    const int count = static_cast<int>(X11MessageBox::Buttons(type).size());
    const IRect r = X11MessageBox::ButtonRect(box.w, box.h, count, index);
    in.MoveTo(DefaultRootWindow(in.display()), box.x + (r.L + r.R) / 2, box.y + (r.T + r.B) / 2);
    in.Press(1);
    in.Release(1);
  };
}

BoxDriver::Action Keys(std::vector<unsigned long> keys) {
  return [keys](FakeInput& in, const BoxView& box) {
    // The pointer over the editor's window, which takes keys of its own.
    in.MoveTo(DefaultRootWindow(in.display()), box.x - 10, box.y + 10);
    in.Sync();
    for (unsigned long key : keys) {
      if (key == XK_ISO_Left_Tab)
        in.KeyWith(XK_Shift_L, XK_Tab);
      else
        in.Key(key);
    }
  };
}

class X11MessageBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!DisplayAvailable()) GTEST_SKIP() << "no X server on DISPLAY";
  }
};

TEST_F(X11MessageBoxTest, EveryButtonOfEverySetAnswersByClick) {
  struct Case {
    int type;
    std::vector<int> answers;  // left to right
  };
  const Case cases[] = {
      {0, {1}},         // OK
      {1, {1, 2}},      // OK, Cancel
      {2, {3, 4, 5}},   // Abort, Retry, Ignore
      {3, {6, 7, 2}},   // Yes, No, Cancel
      {4, {6, 7}},      // Yes, No
      {5, {4, 2}},      // Retry, Cancel
      {6, {2, 10, 11}}, // Cancel, Try Again, Continue
  };
  for (const Case& c : cases) {
    for (size_t i = 0; i < c.answers.size(); ++i) {
      SCOPED_TRACE("type " + std::to_string(c.type) + ", button " + std::to_string(i));
      EXPECT_EQ(AnswerOf(c.type, ClickButton(c.type, static_cast<int>(i))), c.answers[i]);
    }
  }
}

TEST_F(X11MessageBoxTest, KeysTakeTheDefaultMoveTheFocusAndCancel) {
  struct Case {
    const char* what;
    int type;
    std::vector<unsigned long> keys;
    int answer;
  };
  const Case cases[] = {
      {"return takes OK", 0, {XK_Return}, 1},
      {"escape answers OK where it is all", 0, {XK_Escape}, 1},
      {"return takes the first button", 1, {XK_Return}, 1},
      {"escape cancels", 1, {XK_Escape}, 2},
      {"tab moves to cancel", 1, {XK_Tab, XK_Return}, 2},
      {"escape does nothing without cancel", 2, {XK_Escape, XK_Tab, XK_Return}, 4},
      {"shift tab goes backwards round", 2, {XK_ISO_Left_Tab, XK_KP_Enter}, 5},
      {"return says yes", 3, {XK_Return}, 6},
      {"escape cancels yes/no/cancel", 3, {XK_Escape}, 2},
      {"tab tab then space", 3, {XK_Tab, XK_Tab, XK_space}, 2},
      {"escape says no", 4, {XK_Escape}, 7},
      {"right arrow then space", 4, {XK_Right, XK_space}, 7},
      {"second button as default", 4 | 0x100, {XK_Return}, 7},
      {"escape cancels retry", 5, {XK_Escape}, 2},
      {"tab to try again", 6, {XK_Tab, XK_Return}, 10},
      {"a default past the last button is the first", 1 | 0x300, {XK_Return}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(AnswerOf(c.type, Keys(c.keys)), c.answer);
  }
}

TEST_F(X11MessageBoxTest, PressesOutsideTheBoxOrOffAButtonChooseNothing) {
  const int answer = AnswerOf(1, [](FakeInput& in, const BoxView& box) {
    Window root = DefaultRootWindow(in.display());
    // Outside the box, on the editor.
    in.MoveTo(root, box.x - 20, box.y - 20);
    in.Press(1);
    in.Release(1);
    // Pressed on OK, released off it.
    const IRect ok = X11MessageBox::ButtonRect(box.w, box.h, 2, 0);
    in.MoveTo(root, box.x + ok.L + 5, box.y + ok.T + 5);
    in.Press(1);
    in.MoveTo(root, box.x + 10, box.y + 10);
    in.Release(1);
    in.Key(XK_Escape);
  });
  EXPECT_EQ(answer, 2);
}

TEST_F(X11MessageBoxTest, ClosingWithoutAChoiceAnswersTheCancelAnswer) {
  struct Case {
    int type;
    int answer;
  };
  // Cancel where there is one, else No, OK alone, Abort for abort, retry,
  // ignore.
  const Case cases[] = {{1, 2}, {4, 7}, {0, 1}, {2, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    // The host destroys the editor's window while the box is open.
    const int answer = AnswerOf(c.type, [](FakeInput& in, const BoxView& box) {
      XDestroyWindow(in.display(), box.editor);
    });
    EXPECT_EQ(answer, c.answer);
  }
}

TEST(X11MessageBoxClosedTest, WithoutAnOpenWindowAnswersZero) {
  TestPlugin plug;
  IGraphicsX11* gfx = new IGraphicsX11(&plug, kWidth, kHeight);
  plug.AttachEditor(gfx);
  EXPECT_EQ(gfx->ShowMessageBox("text", "caption", 1), 0);
}

}  // namespace
