#pragma once

#include <string>

#include "platform/ChildProcess.h"

// Runs the group link helper program as a child process, talking to it over
// its standard streams: one command line in, one answer line out.
class HelperProcess {
 public:
  HelperProcess() {
    std::string error;
    mStarted = mChild.Start({GROUPLINK_HELPER_PATH}, &error);
    if (!mStarted) mStartError = error;
  }
  // The end of its input makes the helper quit; destroying the child waits for that.
  ~HelperProcess() = default;
  HelperProcess(const HelperProcess&) = delete;
  HelperProcess& operator=(const HelperProcess&) = delete;

  bool Started() const { return mStarted; }
  const std::string& StartError() const { return mStartError; }

  // Sends the command without waiting for its answer.
  void Send(const std::string& command) { mChild.WriteLine(command); }
  // The next answer line; "" when the helper is gone. The wait only ends
  // early for a helper that hangs, however slow a loaded machine is.
  std::string Answer() {
    std::string line;
    return mChild.ReadLine(&line, kAnswerTimeoutMs) ? line : std::string();
  }
  std::string Ask(const std::string& command) {
    Send(command);
    return Answer();
  }

  // Ends the helper at once, as a crash would: it frees nothing itself.
  void Kill() { mChild.Kill(); }
  // The helper's exit code, once it has ended.
  int Wait() { return mChild.Wait(); }

 private:
  static constexpr int kAnswerTimeoutMs = 120000;
  platform::ChildProcess mChild;
  bool mStarted = false;
  std::string mStartError;
};
