// stratum-host render: a sound file through the plug-in into a new WAV file.
#include <algorithm>
#include <cstdio>

#include "tools/stratum-host/AudioFile.h"
#include "tools/stratum-host/Commands.h"
#include "tools/stratum-host/Files.h"
#include "tools/stratum-host/LevelMeter.h"
#include "tools/stratum-host/Options.h"
#include "tools/stratum-host/ProgressBar.h"
#include "tools/vst3host/TextConvert.h"

namespace stratumhost {

namespace {

// Files longer than this show a progress bar.
constexpr double kProgressSeconds = 5.0;

struct RenderOptions {
  std::string bundle;
  std::string input;
  std::string output;
  int block = 512;
  std::vector<std::string> settings;  // "NAME=VALUE"
  std::string stateIn;
  std::string stateOut;
  TransportSettings transport;
  bool doublePrecision = false;
};

bool ParseRenderOptions(const std::vector<std::string>& args, RenderOptions* options, std::string* error) {
  OptionReader reader(args);
  while (!reader.Done()) {
    const std::string arg = reader.Next();
    std::string value;
    if (arg == "--in") {
      if (!reader.Value(arg, &options->input, error)) return false;
    } else if (arg == "--out") {
      if (!reader.Value(arg, &options->output, error)) return false;
    } else if (arg == "--block") {
      if (!reader.IntegerValue(arg, 1, 65536, &options->block, error)) return false;
    } else if (arg == "--set") {
      if (!reader.Value(arg, &value, error)) return false;
      options->settings.push_back(value);
    } else if (arg == "--state-in") {
      if (!reader.Value(arg, &options->stateIn, error)) return false;
    } else if (arg == "--state-out") {
      if (!reader.Value(arg, &options->stateOut, error)) return false;
    } else if (arg == "--tempo") {
      if (!reader.NumberValue(arg, 1.0, 999.0, &options->transport.tempo, error)) return false;
    } else if (arg == "--playing") {
      options->transport.playing = true;
    } else if (arg == "--double") {
      options->doublePrecision = true;
    } else if (!OptionReader::Positional(arg, &options->bundle, error)) {
      return false;
    }
  }
  if (options->bundle.empty() || options->input.empty() || options->output.empty()) {
    *error = "usage: stratum-host render BUNDLE --in IN.wav --out OUT.wav [options] (see --help)";
    return false;
  }
  return true;
}

bool ApplySettings(HostedPlugin& instance, const std::vector<std::string>& settings, std::string* error) {
  for (const std::string& setting : settings) {
    const size_t equals = setting.find('=');
    if (equals == std::string::npos) {
      *error = "--set takes NAME=VALUE, not '" + setting + "'";
      return false;
    }
    int index = -1;
    if (!ApplySetting(instance, setting.substr(0, equals), setting.substr(equals + 1), &index, error)) {
      return false;
    }
  }
  return true;
}

// Runs the whole input through the plug-in into writer. The plug-in's latency
// is made up for: its first output frames are dropped and as many frames of
// silence are fed after the input, so that output lines up with input.
bool RenderFrames(HostedPlugin& instance, AudioFileReader& reader, AudioFileWriter& writer,
                  const TransportSettings& transport, LevelMeter* meter, std::string* error) {
  const int block = instance.MaxBlockSize();
  const int inputs = instance.InputChannels();
  const int outputs = instance.OutputChannels();
  std::vector<double> interleavedIn(static_cast<size_t>(block) * inputs);
  std::vector<double> interleavedOut(static_cast<size_t>(block) * outputs);
  std::vector<std::vector<double>> planarIn(inputs, std::vector<double>(block));
  std::vector<std::vector<double>> planarOut(outputs, std::vector<double>(block));
  std::vector<const double*> inPointers;
  std::vector<double*> outPointers;
  for (auto& channel : planarIn) inPointers.push_back(channel.data());
  for (auto& channel : planarOut) outPointers.push_back(channel.data());

  const int64_t total = reader.Frames();
  int64_t toSkip = instance.LatencySamples();
  int64_t flush = toSkip;
  int64_t written = 0;
  ProgressBar progress(total > kProgressSeconds * reader.SampleRate(), total);
  bool inputDone = false;
  while (!inputDone || flush > 0) {
    int frames = 0;
    if (!inputDone) {
      frames = static_cast<int>(reader.Read(interleavedIn.data(), block));
      if (frames <= 0) {
        inputDone = true;
        continue;
      }
    } else {
      frames = static_cast<int>(std::min<int64_t>(flush, block));
      std::fill(interleavedIn.begin(), interleavedIn.begin() + static_cast<size_t>(frames) * inputs, 0.0);
      flush -= frames;
    }
    for (int c = 0; c < inputs; ++c) {
      for (int i = 0; i < frames; ++i) planarIn[c][i] = interleavedIn[static_cast<size_t>(i) * inputs + c];
    }
    instance.Process(inPointers.data(), outPointers.data(), frames, transport);
    const int skip = static_cast<int>(std::min<int64_t>(toSkip, frames));
    toSkip -= skip;
    const int keep = frames - skip;
    for (int c = 0; c < outputs; ++c) {
      meter->Add(c, planarOut[c].data() + skip, keep);
      for (int i = 0; i < keep; ++i) interleavedOut[static_cast<size_t>(i) * outputs + c] = planarOut[c][skip + i];
    }
    meter->CountFrames(keep);
    if (keep > 0 && !writer.Write(interleavedOut.data(), keep, error)) return false;
    written += keep;
    progress.Update(written);
  }
  progress.Finish();
  return true;
}

}  // namespace

int RunRender(const std::vector<std::string>& args) {
  RenderOptions options;
  std::string error;
  if (!ParseRenderOptions(args, &options, &error)) {
    ReportError(error);
    return kExitUsage;
  }

  AudioFileReader reader;
  if (!reader.Open(options.input, &error)) {
    ReportError(error);
    return kExitFailed;
  }
  if (reader.Channels() != 1 && reader.Channels() != 2) {
    ReportError("'" + options.input + "' has " + std::to_string(reader.Channels()) +
                " channels; only mono and stereo files can be rendered");
    return kExitFailed;
  }

  std::unique_ptr<HostedPlugin> plugin = OpenHostedPlugin(options.bundle, &error);
  if (plugin == nullptr) {
    ReportError(error);
    return kExitFailed;
  }
  HostedPlugin& instance = *plugin;
  if (!options.stateIn.empty() && !LoadStateFile(instance, options.stateIn, &error)) {
    ReportError(error);
    return kExitFailed;
  }
  if (!ApplySettings(instance, options.settings, &error) ||
      !instance.Prepare(reader.Channels(), reader.SampleRate(), options.block, options.doublePrecision, true,
                        &error)) {
    ReportError(error);
    return kExitFailed;
  }

  // Everything is written beside its final place and moved there at the end,
  // so a failed render leaves no partial file.
  const std::string temporaryOut = TemporaryPathBeside(options.output);
  std::string temporaryState;
  auto fail = [&](const std::string& message) {
    RemoveFile(temporaryOut);
    if (!temporaryState.empty()) RemoveFile(temporaryState);
    ReportError(message);
    return kExitFailed;
  };
  AudioFileWriter writer;
  if (!writer.Create(temporaryOut, instance.OutputChannels(), reader.SampleRate(), options.doublePrecision, &error)) {
    return fail("cannot write '" + options.output + "'");
  }
  LevelMeter meter(instance.OutputChannels());
  if (!RenderFrames(instance, reader, writer, options.transport, &meter, &error) || !writer.Close(&error)) {
    return fail(error);
  }
  if (!options.stateOut.empty() && !SaveStateToTemporary(instance, options.stateOut, &temporaryState, &error)) {
    return fail(error);
  }
  if (!CommitFile(temporaryOut, options.output, &error)) return fail(error);
  if (!temporaryState.empty() && !CommitFile(temporaryState, options.stateOut, &error)) {
    temporaryState.clear();
    RemoveFile(options.output);  // no half-finished result: output and state go together
    ReportError(error);
    return kExitFailed;
  }

  std::printf("wrote %s: %d channel%s, %s Hz, %s float\n", options.output.c_str(), instance.OutputChannels(),
              instance.OutputChannels() == 1 ? "" : "s", vst3host::FormatNumber(reader.SampleRate()).c_str(),
              options.doublePrecision ? "64-bit" : "32-bit");
  for (int c = 0; c < meter.Channels(); ++c) {
    std::printf("channel %d: peak %s, rms %s\n", c + 1, DescribeLevel(meter.Peak(c)).c_str(),
                DescribeLevel(meter.Rms(c)).c_str());
  }
  if (!options.stateOut.empty()) std::printf("wrote state %s\n", options.stateOut.c_str());
  std::fflush(stdout);
  return 0;
}

}  // namespace stratumhost
