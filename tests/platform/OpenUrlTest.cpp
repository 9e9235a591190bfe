#include "platform/OpenUrl.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Puts a fake xdg-open first on PATH for each test. The fake writes its
// argument count and arguments (one a line) to a record file once it has run.
class OpenUrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mFolder = fs::temp_directory_path() / ("stratum-openurl-" + std::to_string(getpid()));
    fs::remove_all(mFolder);
    fs::create_directories(mFolder / "bin");
    mRecord = mFolder / "record";
    const char* path = std::getenv("PATH");
    mSavedPath = path != nullptr ? path : "";
    setenv("PATH", ((mFolder / "bin").string() + ":" + mSavedPath).c_str(), 1);
  }
  void TearDown() override {
    setenv("PATH", mSavedPath.c_str(), 1);
    fs::remove_all(mFolder);
  }

  void WriteOpener(const std::string& script, bool executable = true) {
    const fs::path opener = mFolder / "bin" / "xdg-open";
    std::ofstream(opener) << script;
    fs::permissions(opener, executable ? fs::perms::owner_all : fs::perms::owner_read | fs::perms::owner_write);
  }
  void WriteRecordingOpener() {
    const std::string record = mRecord.string();
    WriteOpener("#!/bin/sh\n{ echo \"$#\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > '" + record +
                ".part'\nmv '" + record + ".part' '" + record + "'\n");
  }

  // The record of the opener's run, waiting for the detached opener to finish
  // (up to a minute: a loaded machine can take seconds to start a shell).
  std::string Record() {
    for (int i = 0; i < 6000 && !fs::exists(mRecord); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::ifstream file(mRecord);
    std::stringstream contents;
    contents << file.rdbuf();
    return contents.str();
  }

  fs::path mFolder;
  fs::path mRecord;
  std::string mSavedPath;
};

TEST_F(OpenUrlTest, HandsTheUrlToTheOpenerAsOneUntouchedArgument) {
  const char* urls[] = {
      "https://example.com/manual?page=2&lang=en",
      "HTTP://example.com/a b/'quoted' \"twice\" $(touch injected) `id`;ls",
      "file:///usr/share/doc/stratum/manual.pdf",
      "mailto:support@example.com",
  };
  for (const char* url : urls) {
    fs::remove(mRecord);
    WriteRecordingOpener();
    ASSERT_TRUE(platform::OpenUrl(url)) << url;
    EXPECT_EQ(Record(), std::string("1\n") + url + "\n");
  }
  EXPECT_FALSE(fs::exists("injected"));
}

TEST_F(OpenUrlTest, RefusesAnythingButWebMailAndFileUrlsWithoutStartingTheOpener) {
  WriteRecordingOpener();
  const char* refused[] = {
      nullptr, "", "http://", "example.com", "/etc/passwd", "--help", "javascript:alert(1)",
      "ftp://example.com/file", "https://example.com/\nsecond line", "https://example.com/\tx",
  };
  for (const char* url : refused) EXPECT_FALSE(platform::OpenUrl(url)) << (url ? url : "(null)");
  // Refusals never start the opener: the next opened URL is the only record.
  ASSERT_TRUE(platform::OpenUrl("https://example.com/"));
  EXPECT_EQ(Record(), "1\nhttps://example.com/\n");
}

TEST_F(OpenUrlTest, AnswersFalseWhenTheOpenerCannotStart) {
  setenv("PATH", (mFolder / "bin").c_str(), 1);
  EXPECT_FALSE(platform::OpenUrl("https://example.com/")) << "no opener on PATH";

  WriteOpener("#!/bin/sh\nexit 0\n", false);
  EXPECT_FALSE(platform::OpenUrl("https://example.com/")) << "opener not executable";

  WriteOpener("#!/nonexistent/interpreter\n");
  EXPECT_FALSE(platform::OpenUrl("https://example.com/")) << "opener fails to execute";
}

TEST_F(OpenUrlTest, ReturnsWhileTheOpenerStillRunsAndLeavesNoChildBehind) {
  // The opener blocks until the test writes to the pipe, which the test does
  // only after OpenUrl has returned: waiting for the opener would hang here.
  const fs::path gate = mFolder / "gate";
  ASSERT_EQ(mkfifo(gate.c_str(), 0600), 0);
  WriteOpener("#!/bin/sh\nread line < '" + gate.string() + "'\necho \"$line\" > '" + mRecord.string() + "'\n");
  ASSERT_TRUE(platform::OpenUrl("https://example.com/"));
  {
    std::ofstream(gate) << "released\n";
  }
  EXPECT_EQ(Record(), "released\n");
  // The opener was started through a middle process that has been reaped:
  // this process has no children left.
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

}  // namespace
