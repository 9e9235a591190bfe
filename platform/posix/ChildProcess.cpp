#include "platform/ChildProcess.h"

#include <cerrno>
#include <chrono>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {

namespace {

void CloseDescriptor(int* fd) {
  if (*fd >= 0) close(*fd);
  *fd = -1;
}

std::vector<char*> ArgumentPointers(const std::vector<std::string>& argv) {
  std::vector<char*> pointers;
  for (const std::string& arg : argv) pointers.push_back(const_cast<char*>(arg.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

// Our environment with the given "NAME=VALUE" entries added or replaced.
std::vector<std::string> MergedEnvironment(const std::vector<std::string>& overrides) {
  std::vector<std::string> merged;
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    const std::string setting(*entry);
    const std::string name = setting.substr(0, setting.find('='));
    bool replaced = false;
    for (const std::string& wanted : overrides) {
      if (wanted.compare(0, name.size() + 1, name + "=") == 0) replaced = true;
    }
    if (!replaced) merged.push_back(setting);
  }
  merged.insert(merged.end(), overrides.begin(), overrides.end());
  return merged;
}

// Forks and runs argv with the given descriptors as its standard streams (-1
// keeps ours). The child reports a failed exec through a close-on-exec pipe.
int Spawn(const std::vector<std::string>& argv, int in, int out, int err, const std::vector<std::string>& environment,
          std::string* error) {
  if (argv.empty()) {
    *error = "no program given";
    return -1;
  }
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) {
    *error = std::string("pipe: ") + std::strerror(errno);
    return -1;
  }
  std::vector<char*> args = ArgumentPointers(argv);
  // The child's environment is built here: between fork and exec only
  // async-signal-safe calls are allowed, so nothing may allocate there.
  const std::vector<std::string> merged = MergedEnvironment(environment);
  std::vector<char*> envp = ArgumentPointers(merged);
  const pid_t pid = fork();
  if (pid < 0) {
    *error = std::string("fork: ") + std::strerror(errno);
    close(report[0]);
    close(report[1]);
    return -1;
  }
  if (pid == 0) {
    if (in >= 0) dup2(in, 0);
    if (out >= 0) dup2(out, 1);
    if (err >= 0) dup2(err, 2);
    close(report[0]);
    execve(args[0], args.data(), envp.data());
    const int code = errno;
    ssize_t ignored = write(report[1], &code, sizeof code);
    (void)ignored;
    _exit(127);
  }
  close(report[1]);
  int code = 0;
  ssize_t got;
  do {
    got = read(report[0], &code, sizeof code);
  } while (got < 0 && errno == EINTR);
  close(report[0]);
  if (got == static_cast<ssize_t>(sizeof code)) {
    waitpid(pid, nullptr, 0);
    *error = "cannot run '" + argv[0] + "': " + std::strerror(code);
    return -1;
  }
  return pid;
}

int WaitForExit(int pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace

ChildProcess::~ChildProcess() {
  CloseInput();
  if (mPid > 0) Wait();
  CloseDescriptor(&mOutput);
}

bool ChildProcess::Start(const std::vector<std::string>& argv, std::string* error,
                         const std::vector<std::string>& environment) {
  // A child that ends early must not kill us through a write to its input.
  signal(SIGPIPE, SIG_IGN);
  int toChild[2], fromChild[2];
  if (pipe2(toChild, O_CLOEXEC) != 0) {
    *error = std::string("pipe: ") + std::strerror(errno);
    return false;
  }
  if (pipe2(fromChild, O_CLOEXEC) != 0) {
    *error = std::string("pipe: ") + std::strerror(errno);
    close(toChild[0]);
    close(toChild[1]);
    return false;
  }
  mPid = Spawn(argv, toChild[0], fromChild[1], -1, environment, error);
  close(toChild[0]);
  close(fromChild[1]);
  if (mPid < 0) {
    close(toChild[1]);
    close(fromChild[0]);
    return false;
  }
  mInput = toChild[1];
  mOutput = fromChild[0];
  return true;
}

bool ChildProcess::WriteLine(const std::string& text) {
  if (mInput < 0) return false;
  const std::string line = text + "\n";
  size_t written = 0;
  while (written < line.size()) {
    const ssize_t n = write(mInput, line.data() + written, line.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    written += static_cast<size_t>(n);
  }
  return true;
}

bool ChildProcess::ReadLine(std::string* line, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const size_t newline = mBuffered.find('\n');
    if (newline != std::string::npos) {
      *line = mBuffered.substr(0, newline);
      mBuffered.erase(0, newline + 1);
      return true;
    }
    if (mOutput < 0) return false;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd wait = {mOutput, POLLIN, 0};
    const int ready = poll(&wait, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    char chunk[4096];
    const ssize_t n = read(mOutput, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      CloseDescriptor(&mOutput);
      continue;  // hand out what is buffered, then report the end
    }
    mBuffered.append(chunk, static_cast<size_t>(n));
  }
}

void ChildProcess::CloseInput() { CloseDescriptor(&mInput); }

int ChildProcess::Wait() {
  if (mPid <= 0) return -1;
  CloseInput();
  const int code = WaitForExit(mPid);
  mPid = -1;
  return code;
}

int ChildProcess::Kill() {
  if (mPid <= 0) return -1;
  kill(mPid, SIGKILL);
  return Wait();
}

bool RunProcess(const std::vector<std::string>& argv, ProcessResult* result, std::string* error,
                const std::vector<std::string>& environment) {
  int out[2], err[2];
  if (pipe2(out, O_CLOEXEC) != 0) {
    *error = std::string("pipe: ") + std::strerror(errno);
    return false;
  }
  if (pipe2(err, O_CLOEXEC) != 0) {
    *error = std::string("pipe: ") + std::strerror(errno);
    close(out[0]);
    close(out[1]);
    return false;
  }
  const int nullInput = open("/dev/null", O_RDONLY | O_CLOEXEC);
  const int pid = Spawn(argv, nullInput, out[1], err[1], environment, error);
  if (nullInput >= 0) close(nullInput);
  close(out[1]);
  close(err[1]);
  if (pid < 0) {
    close(out[0]);
    close(err[0]);
    return false;
  }
  result->out.clear();
  result->err.clear();
  pollfd streams[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  std::string* targets[2] = {&result->out, &result->err};
  int openStreams = 2;
  while (openStreams > 0) {
    if (poll(streams, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (streams[i].fd < 0 || (streams[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
      char chunk[4096];
      const ssize_t n = read(streams[i].fd, chunk, sizeof chunk);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        close(streams[i].fd);
        streams[i].fd = -1;
        --openStreams;
      } else {
        targets[i]->append(chunk, static_cast<size_t>(n));
      }
    }
  }
  for (pollfd& stream : streams) {
    if (stream.fd >= 0) close(stream.fd);
  }
  result->exitCode = WaitForExit(pid);
  return true;
}

}  // namespace platform
