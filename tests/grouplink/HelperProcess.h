#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

// Runs the group link helper program as a child process, talking to it over
// two pipes: one command line in, one answer line out.
class HelperProcess {
 public:
  HelperProcess() {
    int toChild[2], fromChild[2];
    // Close-on-exec, so that no other helper inherits these ends and keeps
    // this one from seeing the end of its input.
    if (pipe2(toChild, O_CLOEXEC) != 0 || pipe2(fromChild, O_CLOEXEC) != 0) return;
    mPid = fork();
    if (mPid == 0) {
      dup2(toChild[0], STDIN_FILENO);
      dup2(fromChild[1], STDOUT_FILENO);
      close(toChild[0]);
      close(toChild[1]);
      close(fromChild[0]);
      close(fromChild[1]);
      execl(GROUPLINK_HELPER_PATH, GROUPLINK_HELPER_PATH, static_cast<char*>(nullptr));
      _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);
    mToChild = fdopen(toChild[1], "w");
    mFromChild = fdopen(fromChild[0], "r");
  }
  ~HelperProcess() {
    if (mToChild != nullptr) fclose(mToChild);  // end of input: the helper quits
    if (mFromChild != nullptr) fclose(mFromChild);
    Wait();
  }
  HelperProcess(const HelperProcess&) = delete;
  HelperProcess& operator=(const HelperProcess&) = delete;

  // Sends the command without waiting for its answer.
  void Send(const std::string& command) {
    std::fprintf(mToChild, "%s\n", command.c_str());
    std::fflush(mToChild);
  }
  // The next answer line, without its newline; "" when the helper is gone.
  std::string Answer() {
    char line[256];
    if (std::fgets(line, sizeof line, mFromChild) == nullptr) return "";
    std::string answer(line);
    if (!answer.empty() && answer.back() == '\n') answer.pop_back();
    return answer;
  }
  std::string Ask(const std::string& command) {
    Send(command);
    return Answer();
  }

  void Kill() {
    if (mPid > 0) kill(mPid, SIGKILL);
    Wait();
  }
  // The exit status as waitpid reports it, once the helper has ended.
  int Wait() {
    if (mPid > 0) {
      waitpid(mPid, &mStatus, 0);
      mPid = -1;
    }
    return mStatus;
  }

 private:
  pid_t mPid = -1;
  int mStatus = 0;
  FILE* mToChild = nullptr;
  FILE* mFromChild = nullptr;
};
