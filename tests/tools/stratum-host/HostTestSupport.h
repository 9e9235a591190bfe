#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/ChildProcess.h"

namespace hosttest {

// The built stratum-host and the test module without entry points (paths
// compiled in by the build).
std::string HostPath();
std::string ModuleWithoutEntryPointsPath();

// A third-party effect bundle from /usr/lib/vst3, or "" when not installed.
std::string ThirdPartyBundle(const std::string& name);

// Runs stratum-host with args to its end.
platform::ProcessResult RunHost(const std::vector<std::string>& args);

// Number of lines in a text (a last line without newline counts).
int LineCount(const std::string& text);

struct WavContents {
  int channels = 0;
  int sampleRate = 0;
  int format = 0;  // libsndfile's format word
  long long frames = 0;
  std::vector<double> samples;  // interleaved
  double Peak(int channel) const;
  double Rms(int channel) const;
};
bool ReadWav(const std::string& path, WavContents* contents);

// A `stratum-host script` session driven through pipes, one command and one
// answer at a time.
class ScriptHost {
 public:
  // Starts the host with args after "script" and reads its greeting (or the
  // reason it could not start).
  bool Start(const std::vector<std::string>& args, std::string* greeting,
             const std::vector<std::string>& environment = {});
  // The answer to command, or "<no answer>" when none comes in time.
  std::string Ask(const std::string& command);
  int Finish() { return mChild.Wait(); }

 private:
  platform::ChildProcess mChild;
};

// A fresh folder for one test, removed afterwards.
class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  std::string Path(const std::string& name) const { return (mPath / name).string(); }
  // Names of the files in the folder (to check that nothing was left behind).
  std::vector<std::string> Entries() const;

 private:
  std::filesystem::path mPath;
};

}  // namespace hosttest
