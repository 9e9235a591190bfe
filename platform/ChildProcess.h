#pragma once

#include <string>
#include <vector>

namespace platform {

// Another program started with pipes on its standard input and output, for
// driving command-line tools line by line (and for tests that run several
// processes in lockstep). Its standard error goes where ours goes. Destroying
// a running child closes its input, then waits for it to end.
class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // argv[0] is the program's path; environment adds or replaces "NAME=VALUE"
  // entries of ours for the child. False with a reason when it cannot start.
  bool Start(const std::vector<std::string>& argv, std::string* error,
             const std::vector<std::string>& environment = {});
  // Writes text and a newline to the child's standard input.
  bool WriteLine(const std::string& text);
  // Reads one line (without its newline) from the child's standard output;
  // false at the end of its output or when timeoutMs passes first.
  bool ReadLine(std::string* line, int timeoutMs);
  void CloseInput();
  // Waits for the child to end: its exit code, or 128 + signal number.
  int Wait();
  // Ends the child at once, as a crash would (it gets no chance to clean
  // up), and waits for it: 128 + 9, as for SIGKILL, on every system.
  int Kill();

 private:
#ifdef _WIN32
  void* mProcess = nullptr;  // the operating system's handles
  void* mInput = nullptr;
  void* mOutput = nullptr;
#else
  int mPid = -1;
  int mInput = -1;
  int mOutput = -1;
#endif
  std::string mBuffered;
};

// The result of running a program to its end.
struct ProcessResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs argv to its end with empty standard input, collecting both output
// streams. False with a reason only when the program cannot be started.
bool RunProcess(const std::vector<std::string>& argv, ProcessResult* result, std::string* error,
                const std::vector<std::string>& environment = {});

}  // namespace platform
