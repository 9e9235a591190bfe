// stratum-host generate: writes a test signal, a chord with a little noise,
// so that demos and tests need no other sound tool.
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "tools/stratum-host/AudioFile.h"
#include "tools/stratum-host/Commands.h"
#include "tools/stratum-host/Files.h"
#include "tools/stratum-host/Options.h"
#include "tools/vst3host/TextConvert.h"

namespace stratumhost {

namespace {

// A minor chord; each channel gets the notes slightly detuned so that the
// channels differ (the stereo tools of an effect have something to work on).
constexpr double kChordHz[] = {220.0, 261.63, 329.63};
constexpr double kNoteAmplitude = 0.2;
constexpr double kNoiseAmplitude = 0.01;
constexpr double kFadeSeconds = 0.01;

// A small deterministic noise source, the same on every machine.
class Noise {
 public:
  double Next() {
    mState = mState * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(mState >> 11) / 9007199254740992.0 * 2.0 - 1.0;
  }

 private:
  uint64_t mState = 0x5EED;
};

}  // namespace

int RunGenerate(const std::vector<std::string>& args) {
  std::string output, error;
  double seconds = 3.0, rate = 48000.0;
  int channels = 2;
  OptionReader reader(args);
  bool ok = true;
  while (ok && !reader.Done()) {
    const std::string arg = reader.Next();
    if (arg == "--out") {
      ok = reader.Value(arg, &output, &error);
    } else if (arg == "--seconds") {
      ok = reader.NumberValue(arg, 0.0, 3600.0, &seconds, &error);
    } else if (arg == "--rate") {
      ok = reader.NumberValue(arg, 8000.0, 768000.0, &rate, &error);
    } else if (arg == "--channels") {
      ok = reader.IntegerValue(arg, 1, 8, &channels, &error);
    } else {
      error = "unknown argument '" + arg + "'";
      ok = false;
    }
  }
  if (ok && output.empty()) {
    error = "usage: stratum-host generate --out FILE.wav [--seconds S] [--rate HZ] [--channels N]";
    ok = false;
  }
  if (!ok) {
    ReportError(error);
    return kExitUsage;
  }

  const int64_t frames = static_cast<int64_t>(std::llround(seconds * rate));
  const std::string temporary = TemporaryPathBeside(output);
  AudioFileWriter writer;
  if (!writer.Create(temporary, channels, rate, false, &error)) {
    ReportError("cannot write '" + output + "'");
    return kExitFailed;
  }
  Noise noise;
  std::vector<double> frame(channels);
  const double fadeFrames = kFadeSeconds * rate;
  for (int64_t i = 0; i < frames && ok; ++i) {
    const double t = static_cast<double>(i) / rate;
    const double fade = std::fmin(1.0, std::fmin(static_cast<double>(i), static_cast<double>(frames - 1 - i)) / fadeFrames);
    for (int c = 0; c < channels; ++c) {
      double sample = 0.0;
      for (double hz : kChordHz) sample += kNoteAmplitude * std::sin(2.0 * M_PI * hz * (1.0 + 0.002 * c) * t);
      frame[c] = fade * (sample + kNoiseAmplitude * noise.Next());
    }
    ok = writer.Write(frame.data(), 1, &error);
  }
  if (!ok || !writer.Close(&error) || !CommitFile(temporary, output, &error)) {
    RemoveFile(temporary);
    ReportError(error);
    return kExitFailed;
  }
  std::printf("wrote %s: %d channel%s, %s s at %s Hz\n", output.c_str(), channels, channels == 1 ? "" : "s",
              vst3host::FormatNumber(seconds).c_str(), vst3host::FormatNumber(rate).c_str());
  return 0;
}

}  // namespace stratumhost
