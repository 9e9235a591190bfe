#include "platform/OpenUrl.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/AcceptedUrl.h"

// The URL goes to xdg-open, the desktop's opener, as one argument of a
// program started directly (no shell). The opener runs detached: a
// short-lived middle process starts it and ends at once, so it is never our
// child, never becomes a zombie of the host and can outlive the host.

namespace platform {

namespace {

constexpr const char* kOpener = "xdg-open";
// How long we wait to learn whether the opener could be started.
constexpr int kStartTimeoutMs = 2000;

// The opener's full path from PATH, found before forking: between fork and
// exec nothing may allocate.
std::string FindOpener() {
  const char* path = std::getenv("PATH");
  std::string folders = path != nullptr && path[0] != '\0' ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    const std::string folder = folders.substr(start, end - start);
    if (!folder.empty() && folder[0] == '/') {
      const std::string candidate = folder + "/" + kOpener;
      if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    start = end + 1;
  }
  return std::string();
}

// In the opener's process, before exec: nothing of the host's may reach it.
// Only async-signal-safe calls.
void PrepareOpenerProcess(int nullDevice, int maxDescriptor) {
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  signal(SIGPIPE, SIG_DFL);
  signal(SIGCHLD, SIG_DFL);
  setsid();
  dup2(nullDevice, 0);
  dup2(nullDevice, 1);
  dup2(nullDevice, 2);
  // The host's other descriptors (sockets, devices, files) close at exec.
#ifdef SYS_close_range
  if (syscall(SYS_close_range, 3u, ~0u, 4u /* CLOSE_RANGE_CLOEXEC */) == 0) return;
#endif
  for (int fd = 3; fd < maxDescriptor; ++fd) fcntl(fd, F_SETFD, FD_CLOEXEC);
}

// A descriptor numbered 3 or above (closing the old one), so that setting up
// the standard streams in the opener's process cannot overwrite it. Hosts
// may run with their standard streams closed.
int AboveStandardStreams(int fd) {
  if (fd < 0 || fd > 2) return fd;
  const int moved = fcntl(fd, F_DUPFD_CLOEXEC, 3);
  close(fd);
  return moved;
}

void ReportAndExit(int reportFd, int code) {
  ssize_t ignored = write(reportFd, &code, sizeof code);
  (void)ignored;
  _exit(127);
}

}  // namespace

bool OpenUrl(const char* url) {
  if (!IsAcceptedUrl(url)) return false;
  const std::string opener = FindOpener();
  if (opener.empty()) return false;

  std::vector<char*> argv{const_cast<char*>(opener.c_str()), const_cast<char*>(url), nullptr};
  const int nullDevice = AboveStandardStreams(open("/dev/null", O_RDWR | O_CLOEXEC));
  if (nullDevice < 0) return false;
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) {
    close(nullDevice);
    return false;
  }
  report[0] = AboveStandardStreams(report[0]);
  report[1] = AboveStandardStreams(report[1]);
  if (report[0] < 0 || report[1] < 0) {
    if (report[0] >= 0) close(report[0]);
    if (report[1] >= 0) close(report[1]);
    close(nullDevice);
    return false;
  }
  const long openMax = sysconf(_SC_OPEN_MAX);
  const int maxDescriptor = openMax > 0 && openMax < 65536 ? static_cast<int>(openMax) : 65536;

  const pid_t middle = fork();
  if (middle == 0) {
    close(report[0]);
    const pid_t openerPid = fork();
    if (openerPid < 0) ReportAndExit(report[1], errno);
    if (openerPid > 0) _exit(0);
    PrepareOpenerProcess(nullDevice, maxDescriptor);
    execve(argv[0], argv.data(), environ);
    ReportAndExit(report[1], errno);
  }
  close(report[1]);
  close(nullDevice);
  if (middle < 0) {
    close(report[0]);
    return false;
  }
  // The middle process ends at once. A host that ignores SIGCHLD or reaps
  // every child itself leaves nothing to wait for, which is fine.
  while (waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
  }

  // The report pipe closes without a word once the opener runs (close on
  // exec); an errno arrives when it could not be started.
  int code = 0;
  ssize_t got = -1;
  pollfd wait = {report[0], POLLIN, 0};
  for (;;) {
    const int ready = poll(&wait, 1, kStartTimeoutMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;  // still starting: take it as started
    got = read(report[0], &code, sizeof code);
    if (got < 0 && errno == EINTR) continue;
    break;
  }
  close(report[0]);
  return got != static_cast<ssize_t>(sizeof code);
}

}  // namespace platform
