#include "platform/ChildProcess.h"

#include <windows.h>

#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

namespace platform {

namespace {

// The exit code a killed child reports, as on POSIX systems for SIGKILL.
constexpr UINT kKilledExitCode = 128 + 9;

void CloseHandleOnce(void** handle) {
  if (*handle != nullptr) CloseHandle(static_cast<HANDLE>(*handle));
  *handle = nullptr;
}

// One argument as the C run-time splits the command line again: quoted when
// it holds blanks or quotes, with backslashes doubled before a quote.
std::string QuotedArgument(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) return argument;
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (const char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') backslashes = backslashes * 2 + 1;
    quoted.append(backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, '\\');
  return quoted + "\"";
}

std::string CommandLine(const std::vector<std::string>& argv) {
  std::string line;
  for (const std::string& argument : argv) {
    if (!line.empty()) line += ' ';
    line += QuotedArgument(argument);
  }
  return line;
}

bool SameName(const std::string& a, const std::string& b) {  // names are case-blind on Windows
  return a.size() == b.size() && _strnicmp(a.c_str(), b.c_str(), a.size()) == 0;
}

// Our environment with the given "NAME=VALUE" entries added or replaced, as
// the block CreateProcessA takes: each entry ends in a NUL, one more ends it.
std::string EnvironmentBlock(const std::vector<std::string>& overrides) {
  std::string block;
  char* ours = GetEnvironmentStringsA();
  for (const char* entry = ours; entry != nullptr && *entry != '\0'; entry += std::strlen(entry) + 1) {
    const std::string setting(entry);
    const std::string name = setting.substr(0, setting.find('=', 1));
    bool replaced = false;
    for (const std::string& wanted : overrides) {
      if (SameName(wanted.substr(0, wanted.find('=')), name)) replaced = true;
    }
    if (!replaced) block += setting + '\0';
  }
  if (ours != nullptr) FreeEnvironmentStringsA(ours);
  for (const std::string& wanted : overrides) block += wanted + '\0';
  return block + '\0';
}

std::string LastError(const char* what) { return std::string(what) + ": error " + std::to_string(GetLastError()); }

// A pipe whose end for the child can be inherited and whose end for us cannot.
bool MakePipe(HANDLE* read, HANDLE* write, bool childReads, std::string* error) {
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  if (!CreatePipe(read, write, &inheritable, 0)) {
    *error = LastError("CreatePipe");
    return false;
  }
  SetHandleInformation(childReads ? *write : *read, HANDLE_FLAG_INHERIT, 0);
  return true;
}

// Handles are inherited by every process started while they are inheritable,
// so starts take turns: no child gets another child's pipe ends, which would
// keep that child from seeing the end of its input.
std::mutex gStartLock;

// Starts argv with the given standard streams; answers the process handle or null.
HANDLE Spawn(const std::vector<std::string>& argv, HANDLE in, HANDLE out, HANDLE err,
             const std::vector<std::string>& environment, std::string* error) {
  if (argv.empty()) {
    *error = "no program given";
    return nullptr;
  }
  std::string commandLine = CommandLine(argv);
  std::string block = EnvironmentBlock(environment);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(argv[0].c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, &block[0], nullptr, &startup,
                      &process)) {
    *error = "cannot run '" + argv[0] + "': error " + std::to_string(GetLastError());
    return nullptr;
  }
  CloseHandle(process.hThread);
  return process.hProcess;
}

// Our standard error as a handle the child can inherit (null when we have none).
HANDLE InheritableStandardError() {
  HANDLE ours = GetStdHandle(STD_ERROR_HANDLE);
  HANDLE copy = nullptr;
  if (ours == nullptr || ours == INVALID_HANDLE_VALUE ||
      !DuplicateHandle(GetCurrentProcess(), ours, GetCurrentProcess(), &copy, 0, TRUE, DUPLICATE_SAME_ACCESS)) {
    return nullptr;
  }
  return copy;
}

int WaitForExit(HANDLE process) {
  WaitForSingleObject(process, INFINITE);
  DWORD code = 0;
  if (!GetExitCodeProcess(process, &code)) return -1;
  return static_cast<int>(code);
}

void ReadAll(HANDLE pipe, std::string* into) {
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(pipe, chunk, sizeof chunk, &got, nullptr) && got > 0) into->append(chunk, got);
}

}  // namespace

ChildProcess::~ChildProcess() {
  CloseInput();
  if (mProcess != nullptr) Wait();
  CloseHandleOnce(&mOutput);
}

bool ChildProcess::Start(const std::vector<std::string>& argv, std::string* error,
                         const std::vector<std::string>& environment) {
  std::lock_guard<std::mutex> turn(gStartLock);
  HANDLE inRead = nullptr, inWrite = nullptr, outRead = nullptr, outWrite = nullptr;
  if (!MakePipe(&inRead, &inWrite, true, error)) return false;
  if (!MakePipe(&outRead, &outWrite, false, error)) {
    CloseHandle(inRead);
    CloseHandle(inWrite);
    return false;
  }
  HANDLE err = InheritableStandardError();
  HANDLE process = Spawn(argv, inRead, outWrite, err, environment, error);
  CloseHandle(inRead);
  CloseHandle(outWrite);
  if (err != nullptr) CloseHandle(err);
  if (process == nullptr) {
    CloseHandle(inWrite);
    CloseHandle(outRead);
    return false;
  }
  mProcess = process;
  mInput = inWrite;
  mOutput = outRead;
  return true;
}

bool ChildProcess::WriteLine(const std::string& text) {
  if (mInput == nullptr) return false;
  const std::string line = text + "\n";
  size_t written = 0;
  while (written < line.size()) {
    DWORD n = 0;
    if (!WriteFile(static_cast<HANDLE>(mInput), line.data() + written, static_cast<DWORD>(line.size() - written), &n,
                   nullptr) ||
        n == 0) {
      return false;
    }
    written += n;
  }
  return true;
}

bool ChildProcess::ReadLine(std::string* line, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const size_t newline = mBuffered.find('\n');
    if (newline != std::string::npos) {
      *line = mBuffered.substr(0, newline);
      if (!line->empty() && line->back() == '\r') line->pop_back();
      mBuffered.erase(0, newline + 1);
      return true;
    }
    if (mOutput == nullptr) return false;
    // Anonymous pipes cannot be waited on with a timeout: look, then nap.
    DWORD available = 0;
    if (!PeekNamedPipe(static_cast<HANDLE>(mOutput), nullptr, 0, nullptr, &available, nullptr)) {
      CloseHandleOnce(&mOutput);  // the child closed its end: hand out what is buffered, then report the end
      continue;
    }
    if (available == 0) {
      if (std::chrono::steady_clock::now() >= deadline) return false;
      Sleep(1);
      continue;
    }
    char chunk[4096];
    DWORD got = 0;
    if (!ReadFile(static_cast<HANDLE>(mOutput), chunk, available < sizeof chunk ? available : sizeof chunk, &got,
                  nullptr) ||
        got == 0) {
      CloseHandleOnce(&mOutput);
      continue;
    }
    mBuffered.append(chunk, got);
  }
}

void ChildProcess::CloseInput() { CloseHandleOnce(&mInput); }

int ChildProcess::Wait() {
  if (mProcess == nullptr) return -1;
  CloseInput();
  const int code = WaitForExit(static_cast<HANDLE>(mProcess));
  CloseHandleOnce(&mProcess);
  return code;
}

int ChildProcess::Kill() {
  if (mProcess == nullptr) return -1;
  TerminateProcess(static_cast<HANDLE>(mProcess), kKilledExitCode);
  return Wait();
}

bool RunProcess(const std::vector<std::string>& argv, ProcessResult* result, std::string* error,
                const std::vector<std::string>& environment) {
  HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
  HANDLE process = nullptr;
  {
    std::lock_guard<std::mutex> turn(gStartLock);
    if (!MakePipe(&outRead, &outWrite, false, error)) return false;
    if (!MakePipe(&errRead, &errWrite, false, error)) {
      CloseHandle(outRead);
      CloseHandle(outWrite);
      return false;
    }
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE nullInput = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                   OPEN_EXISTING, 0, nullptr);
    process = Spawn(argv, nullInput == INVALID_HANDLE_VALUE ? nullptr : nullInput, outWrite, errWrite, environment,
                    error);
    if (nullInput != INVALID_HANDLE_VALUE) CloseHandle(nullInput);
    CloseHandle(outWrite);
    CloseHandle(errWrite);
  }
  if (process == nullptr) {
    CloseHandle(outRead);
    CloseHandle(errRead);
    return false;
  }
  result->out.clear();
  result->err.clear();
  // Both streams are drained at once, so a child filling one never blocks.
  std::thread errors(ReadAll, errRead, &result->err);
  ReadAll(outRead, &result->out);
  errors.join();
  CloseHandle(outRead);
  CloseHandle(errRead);
  result->exitCode = WaitForExit(process);
  CloseHandle(process);
  return true;
}

}  // namespace platform
