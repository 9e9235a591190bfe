// stratum-host script: one plug-in instance driven by commands on standard
// input, one answer line per command on standard output, flushed at once so
// that another program can drive several hosts in lockstep.
#include <cmath>
#include <cstdio>
#include <iostream>
#include <sstream>

#include "tools/stratum-host/Commands.h"
#include "tools/stratum-host/Files.h"
#include "tools/stratum-host/LevelMeter.h"
#include "tools/stratum-host/Options.h"
#include "tools/vst3host/TextConvert.h"

namespace stratumhost {

namespace {

constexpr double kTestToneHz = 440.0;
constexpr double kTestToneAmplitude = 0.5;
constexpr int kMaxFramesPerCommand = 100000000;

struct ScriptOptions {
  std::string bundle;
  double sampleRate = 48000.0;
  int block = 512;
  int channels = 2;
  bool doublePrecision = false;
};

void Answer(const std::string& line) {
  std::fputs(line.c_str(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return std::string();
  const size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

class ScriptSession {
 public:
  ScriptSession(HostedPlugin& instance, const ScriptOptions& options)
      : mInstance(instance),
        mOptions(options),
        mInput(instance.InputChannels(), std::vector<double>(instance.MaxBlockSize())),
        mOutput(instance.OutputChannels(), std::vector<double>(instance.MaxBlockSize())) {
    for (auto& channel : mInput) mInputPointers.push_back(channel.data());
    for (auto& channel : mOutput) mOutputPointers.push_back(channel.data());
  }

  // Answers one command; false after quit.
  bool Run(const std::string& line) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    std::string rest;
    std::getline(words, rest);
    rest = Trim(rest);
    if (command == "set") return Set(rest);
    if (command == "get") return Get(rest);
    if (command == "process") return Process(rest);
    if (command == "save") return Save(rest);
    if (command == "load") return Load(rest);
    if (command == "quit") {
      Answer("ok bye");
      return false;
    }
    Answer("error unknown command '" + command + "'");
    return true;
  }

 private:
  std::string Entry(int index) { return mInstance.ParameterTitle(index) + "=" + mInstance.ValueText(index); }

  // "NAME VALUE" where NAME may hold spaces: "NAME=VALUE" splits at the
  // equals sign, otherwise the longest parameter title the text starts with.
  bool SplitAssignment(const std::string& text, std::string* title, std::string* value) {
    const size_t equals = text.find('=');
    if (equals != std::string::npos) {
      *title = Trim(text.substr(0, equals));
      *value = Trim(text.substr(equals + 1));
      return true;
    }
    size_t best = 0;
    for (int i = 0; i < mInstance.NumParameters(); ++i) {
      const std::string title = mInstance.ParameterTitle(i);
      const size_t length = title.size();
      if (length > best && text.size() > length + 1 && text.compare(0, length, title) == 0 &&
          text[length] == ' ') {
        best = length;
      }
    }
    if (best == 0) {
      const size_t space = text.find_last_of(' ');
      if (space == std::string::npos) return false;
      best = space;
    }
    *title = text.substr(0, best);
    *value = Trim(text.substr(best + 1));
    return !value->empty();
  }

  bool Set(const std::string& rest) {
    std::string title, value, error;
    if (!SplitAssignment(rest, &title, &value)) {
      Answer("error usage: set NAME VALUE");
      return true;
    }
    int index = -1;
    if (!ApplySetting(mInstance, title, value, &index, &error)) {
      Answer("error " + error);
      return true;
    }
    Answer("ok " + Entry(index));
    return true;
  }

  bool Get(const std::string& title) {
    const int index = mInstance.FindParameter(title);
    if (index < 0) {
      Answer("error unknown parameter '" + title + "'");
      return true;
    }
    Answer("ok " + Entry(index));
    return true;
  }

  bool Process(const std::string& rest) {
    std::istringstream words(rest);
    std::vector<std::string> args;
    for (std::string word; words >> word;) args.push_back(word);
    std::string error;
    TransportSettings transport;
    int frames = -1;
    OptionReader reader(args);
    while (!reader.Done()) {
      const std::string arg = reader.Next();
      if (arg == "--playing") {
        transport.playing = true;
      } else if (arg == "--tempo") {
        if (!reader.NumberValue(arg, 1.0, 999.0, &transport.tempo, &error)) break;
      } else if (frames < 0) {
        double number = 0.0;
        if (!vst3host::ParseNumber(arg, &number) || number != std::floor(number) || number < 0 ||
            number > kMaxFramesPerCommand) {
          error = "process takes a frame count, not '" + arg + "'";
          break;
        }
        frames = static_cast<int>(number);
      } else {
        error = "unexpected argument '" + arg + "'";
        break;
      }
    }
    if (error.empty() && frames < 0) error = "usage: process FRAMES [--playing] [--tempo BPM]";
    if (!error.empty()) {
      Answer("error " + error);
      return true;
    }

    LevelMeter meter(mInstance.OutputChannels());
    for (int done = 0; done < frames;) {
      const int count = std::min(frames - done, mInstance.MaxBlockSize());
      FillTestTone(count);
      mInstance.Process(mInputPointers.data(), mOutputPointers.data(), count, transport);
      for (int c = 0; c < mInstance.OutputChannels(); ++c) meter.Add(c, mOutput[c].data(), count);
      meter.CountFrames(count);
      done += count;
    }
    std::string answer = "ok peak=";
    for (int c = 0; c < meter.Channels(); ++c) answer += (c > 0 ? "," : "") + vst3host::FormatNumber(meter.Peak(c));
    for (int index : mInstance.TakeChangedParameters()) answer += "; " + Entry(index);
    Answer(answer);
    return true;
  }

  // A steady tone on every input channel, continuing from block to block.
  void FillTestTone(int frames) {
    const double step = 2.0 * M_PI * kTestToneHz / mOptions.sampleRate;
    for (int i = 0; i < frames; ++i) {
      const double sample = kTestToneAmplitude * std::sin(step * static_cast<double>(mToneFrame++));
      for (auto& channel : mInput) channel[i] = sample;
    }
  }

  bool Save(const std::string& path) {
    std::string temporary, error;
    if (path.empty()) {
      Answer("error usage: save FILE");
    } else if (!SaveStateToTemporary(mInstance, path, &temporary, &error) || !CommitFile(temporary, path, &error)) {
      Answer("error " + error);
    } else {
      Answer("ok saved " + path);
    }
    return true;
  }

  bool Load(const std::string& path) {
    std::string error;
    if (path.empty()) {
      Answer("error usage: load FILE");
    } else if (!LoadStateFile(mInstance, path, &error)) {
      Answer("error " + error);
    } else {
      Answer("ok loaded " + path);
    }
    return true;
  }

  HostedPlugin& mInstance;
  ScriptOptions mOptions;
  std::vector<std::vector<double>> mInput;
  std::vector<std::vector<double>> mOutput;
  std::vector<const double*> mInputPointers;
  std::vector<double*> mOutputPointers;
  long long mToneFrame = 0;
};

bool ParseScriptOptions(const std::vector<std::string>& args, ScriptOptions* options, std::string* error) {
  OptionReader reader(args);
  while (!reader.Done()) {
    const std::string arg = reader.Next();
    if (arg == "--rate") {
      if (!reader.NumberValue(arg, 8000.0, 768000.0, &options->sampleRate, error)) return false;
    } else if (arg == "--block") {
      if (!reader.IntegerValue(arg, 1, 65536, &options->block, error)) return false;
    } else if (arg == "--channels") {
      if (!reader.IntegerValue(arg, 1, 2, &options->channels, error)) return false;
    } else if (arg == "--double") {
      options->doublePrecision = true;
    } else if (!OptionReader::Positional(arg, &options->bundle, error)) {
      return false;
    }
  }
  if (options->bundle.empty()) {
    *error = "usage: stratum-host script BUNDLE [--rate HZ] [--block N] [--channels 1|2] [--double]";
    return false;
  }
  return true;
}

}  // namespace

int RunScript(const std::vector<std::string>& args) {
  ScriptOptions options;
  std::string error;
  if (!ParseScriptOptions(args, &options, &error)) {
    ReportError(error);
    return kExitUsage;
  }
  std::unique_ptr<HostedPlugin> plugin = OpenHostedPlugin(options.bundle, &error);
  if (plugin == nullptr ||
      !plugin->Prepare(options.channels, options.sampleRate, options.block, options.doublePrecision, false, &error)) {
    ReportError(error);
    return kExitFailed;
  }
  ScriptSession session(*plugin, options);
  // Changes made while the plug-in started up are not news to the driver.
  plugin->TakeChangedParameters();
  Answer("ready " + plugin->Name());
  for (std::string line; std::getline(std::cin, line);) {
    line = Trim(line);
    if (line.empty() || line[0] == '#') continue;
    if (!session.Run(line)) break;
  }
  return 0;
}

}  // namespace stratumhost
