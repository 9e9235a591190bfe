#include "tests/tools/stratum-host/HostTestSupport.h"

#include <algorithm>
#include <cmath>
#include <random>

#include <sndfile.h>

namespace hosttest {

namespace fs = std::filesystem;

std::string HostPath() { return STRATUM_HOST_PATH; }
std::string ModuleWithoutEntryPointsPath() { return STRATUM_NO_ENTRY_MODULE_PATH; }

std::string ThirdPartyBundle(const std::string& name) {
  const std::string path = "/usr/lib/vst3/" + name + ".vst3";
  return fs::is_directory(path) ? path : std::string();
}

platform::ProcessResult RunHost(const std::vector<std::string>& args) {
  std::vector<std::string> argv{HostPath()};
  argv.insert(argv.end(), args.begin(), args.end());
  platform::ProcessResult result;
  std::string error;
  if (!platform::RunProcess(argv, &result, &error)) result.err = error;
  return result;
}

namespace {
// Only a hung host should ever reach this; a loaded machine running the
// sanitizer builds may take many seconds for an answer.
constexpr int kAnswerTimeoutMs = 120000;
}

bool ScriptHost::Start(const std::vector<std::string>& args, std::string* greeting,
                       const std::vector<std::string>& environment) {
  std::vector<std::string> argv{HostPath(), "script"};
  argv.insert(argv.end(), args.begin(), args.end());
  std::string error;
  if (!mChild.Start(argv, &error, environment)) {
    *greeting = error;
    return false;
  }
  return mChild.ReadLine(greeting, kAnswerTimeoutMs);
}

std::string ScriptHost::Ask(const std::string& command) {
  std::string answer;
  if (!mChild.WriteLine(command) || !mChild.ReadLine(&answer, kAnswerTimeoutMs)) return "<no answer>";
  return answer;
}

int LineCount(const std::string& text) {
  int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  if (!text.empty() && text.back() != '\n') ++lines;
  return lines;
}

double WavContents::Peak(int channel) const {
  double peak = 0.0;
  for (long long i = 0; i < frames; ++i) peak = std::max(peak, std::fabs(samples[i * channels + channel]));
  return peak;
}

double WavContents::Rms(int channel) const {
  double sum = 0.0;
  for (long long i = 0; i < frames; ++i) sum += samples[i * channels + channel] * samples[i * channels + channel];
  return frames > 0 ? std::sqrt(sum / static_cast<double>(frames)) : 0.0;
}

bool ReadWav(const std::string& path, WavContents* contents) {
  SF_INFO info = {};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) return false;
  contents->channels = info.channels;
  contents->sampleRate = info.samplerate;
  contents->format = info.format;
  contents->frames = info.frames;
  contents->samples.assign(static_cast<size_t>(info.frames) * info.channels, 0.0);
  const sf_count_t read = sf_readf_double(file, contents->samples.data(), info.frames);
  sf_close(file);
  return read == info.frames;
}

TemporaryFolder::TemporaryFolder() {
  std::random_device random;
  mPath = fs::temp_directory_path() / ("stratum-host-test-" + std::to_string(random()));
  fs::create_directories(mPath);
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ec;
  fs::remove_all(mPath, ec);
}

std::vector<std::string> TemporaryFolder::Entries() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(mPath)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace hosttest
