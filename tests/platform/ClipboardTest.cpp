#include "platform/Clipboard.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

// Owns the CLIPBOARD selection on a connection of its own and answers
// requests from a thread. Ownership is taken (and confirmed by the server)
// before the constructor returns, so a read that follows always finds it.
class ClipboardOwner {
 public:
  enum class Offer {
    kUtf8,         // answers UTF8_STRING (and STRING)
    kStringOnly,   // refuses UTF8_STRING, answers STRING with the bytes as given
    kIncremental,  // answers UTF8_STRING in parts of kPart bytes (INCR)
    kSilent,       // never answers
  };
  static constexpr size_t kPart = 4096;

  ClipboardOwner(Offer offer, std::string bytes) : mOffer(offer), mBytes(std::move(bytes)) {
    mDisplay = XOpenDisplay(nullptr);
    if (mDisplay == nullptr) return;
    mWindow = XCreateSimpleWindow(mDisplay, DefaultRootWindow(mDisplay), 0, 0, 1, 1, 0, 0, 0);
    mClipboard = XInternAtom(mDisplay, "CLIPBOARD", False);
    mUtf8 = XInternAtom(mDisplay, "UTF8_STRING", False);
    mIncr = XInternAtom(mDisplay, "INCR", False);
    XSetSelectionOwner(mDisplay, mClipboard, mWindow, CurrentTime);
    XSync(mDisplay, False);
    mOwning = XGetSelectionOwner(mDisplay, mClipboard) == mWindow;
    mThread = std::thread([this] { Serve(); });
  }
  ~ClipboardOwner() {
    if (mDisplay == nullptr) return;
    mStop = true;
    mThread.join();
    XDestroyWindow(mDisplay, mWindow);
    XCloseDisplay(mDisplay);
  }
  bool Owning() const { return mOwning; }

 private:
  void Serve() {
    while (!mStop) {
      while (XPending(mDisplay) > 0) {
        XEvent event;
        XNextEvent(mDisplay, &event);
        if (event.type == SelectionRequest) Answer(event.xselectionrequest);
        if (event.type == PropertyNotify && event.xproperty.state == PropertyDelete) SendNextPart(event.xproperty);
      }
      pollfd wait = {ConnectionNumber(mDisplay), POLLIN, 0};
      poll(&wait, 1, 20);
    }
  }

  void Answer(const XSelectionRequestEvent& request) {
    if (mOffer == Offer::kSilent) return;
    Atom property = request.property;
    const bool wantsUtf8 = request.target == mUtf8 && mOffer != Offer::kStringOnly;
    const bool wantsString = request.target == XA_STRING && mOffer != Offer::kIncremental;
    if (wantsUtf8 && mOffer == Offer::kIncremental) {
      mIncrWindow = request.requestor;
      mIncrProperty = property;
      mSent = 0;
      mFinished = false;
      XSelectInput(mDisplay, request.requestor, PropertyChangeMask);
      const long size = static_cast<long>(mBytes.size());
      XChangeProperty(mDisplay, request.requestor, property, mIncr, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(&size), 1);
    } else if (wantsUtf8 || wantsString) {
      XChangeProperty(mDisplay, request.requestor, property, request.target, 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(mBytes.data()), static_cast<int>(mBytes.size()));
    } else {
      property = None;
    }
    XEvent notify = {};
    notify.xselection.type = SelectionNotify;
    notify.xselection.requestor = request.requestor;
    notify.xselection.selection = request.selection;
    notify.xselection.target = request.target;
    notify.xselection.property = property;
    notify.xselection.time = request.time;
    XSendEvent(mDisplay, request.requestor, False, NoEventMask, &notify);
    XFlush(mDisplay);
  }

  // The requestor deleted the property: it wants the next part (an empty
  // part after the last one ends the transfer).
  void SendNextPart(const XPropertyEvent& deleted) {
    if (deleted.window != mIncrWindow || deleted.atom != mIncrProperty || mFinished) return;
    const size_t length = std::min(kPart, mBytes.size() - mSent);
    XChangeProperty(mDisplay, mIncrWindow, mIncrProperty, mUtf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(mBytes.data() + mSent), static_cast<int>(length));
    mSent += length;
    mFinished = length == 0;
    XFlush(mDisplay);
  }

  const Offer mOffer;
  const std::string mBytes;
  Display* mDisplay = nullptr;
  Window mWindow = None;
  Atom mClipboard = None, mUtf8 = None, mIncr = None;
  bool mOwning = false;
  std::atomic<bool> mStop{false};
  std::thread mThread;
  Window mIncrWindow = None;
  Atom mIncrProperty = None;
  size_t mSent = 0;
  bool mFinished = false;
};

// Holds a connection for the whole suite: an X server resets itself when its
// last client leaves and refuses connections meanwhile, which would fail the
// next owner or reader between two cases.
class Clipboard : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Another test's last client may just have left: give a reset a moment.
    for (int attempt = 0; attempt < 50 && sKeepAlive == nullptr; ++attempt) {
      sKeepAlive = XOpenDisplay(nullptr);
      if (sKeepAlive == nullptr && std::getenv("DISPLAY") == nullptr) return;
      if (sKeepAlive == nullptr) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  static void TearDownTestSuite() {
    if (sKeepAlive != nullptr) XCloseDisplay(sKeepAlive);
    sKeepAlive = nullptr;
  }
  void SetUp() override {
    if (sKeepAlive == nullptr) GTEST_SKIP() << "no X display (set DISPLAY, e.g. to an Xvfb server)";
  }
  static Display* sKeepAlive;
};
Display* Clipboard::sKeepAlive = nullptr;

TEST_F(Clipboard, ReadsTheOwnersTextAsUtf8) {
  struct Case {
    ClipboardOwner::Offer offer;
    std::string served;
    std::string expected;
  };
  const Case cases[] = {
      {ClipboardOwner::Offer::kUtf8, "-3.5 dB \xE2\x80\x94 caf\xC3\xA9", "-3.5 dB \xE2\x80\x94 caf\xC3\xA9"},
      // STRING is Latin-1: "café" arrives as one byte 0xE9 and becomes UTF-8.
      {ClipboardOwner::Offer::kStringOnly, "caf\xE9 12", "caf\xC3\xA9 12"},
      // A text that carries a terminating NUL ends there.
      {ClipboardOwner::Offer::kUtf8, std::string("0.25\0junk", 9), "0.25"},
  };
  for (const Case& c : cases) {
    ClipboardOwner owner(c.offer, c.served);
    ASSERT_TRUE(owner.Owning());
    std::string text = "stale";
    EXPECT_TRUE(platform::GetClipboardText(text));
    EXPECT_EQ(text, c.expected);
  }
}

TEST_F(Clipboard, ReadsALargeTextSentInParts) {
  std::string large;
  for (int i = 0; large.size() < 20 * ClipboardOwner::kPart + 123; ++i) large += std::to_string(i) + ' ';
  ClipboardOwner owner(ClipboardOwner::Offer::kIncremental, large);
  ASSERT_TRUE(owner.Owning());
  std::string text;
  EXPECT_TRUE(platform::GetClipboardText(text));
  EXPECT_EQ(text, large);
}

TEST_F(Clipboard, AnswersFalseAndEmptyWithoutText) {
  std::string text = "stale";
  {
    // Owned, then released: nobody owns the clipboard.
    ClipboardOwner owner(ClipboardOwner::Offer::kUtf8, "x");
  }
  EXPECT_FALSE(platform::GetClipboardText(text));
  EXPECT_EQ(text, "");

  ClipboardOwner empty(ClipboardOwner::Offer::kUtf8, "");
  text = "stale";
  EXPECT_FALSE(platform::GetClipboardText(text));
  EXPECT_EQ(text, "");
}

TEST_F(Clipboard, GivesUpOnAnOwnerThatNeverAnswers) {
  ClipboardOwner owner(ClipboardOwner::Offer::kSilent, "never sent");
  ASSERT_TRUE(owner.Owning());
  std::string text = "stale";
  EXPECT_FALSE(platform::GetClipboardText(text));
  EXPECT_EQ(text, "");
}

TEST(ClipboardWithoutDisplay, AnswersFalse) {
  const char* saved = std::getenv("DISPLAY");
  const std::string display = saved != nullptr ? saved : "";
  setenv("DISPLAY", ":4711", 1);  // no server there
  std::string text = "stale";
  EXPECT_FALSE(platform::GetClipboardText(text));
  EXPECT_EQ(text, "");
  if (saved != nullptr) {
    setenv("DISPLAY", display.c_str(), 1);
  } else {
    unsetenv("DISPLAY");
  }
}

}  // namespace
