// stratum-snapshot: draws the effect's editor into a PNG file.
//
//   stratum-snapshot --out OUT.png [--set "Name=value"]... [--signal sine|noise|silence]
//                    [--blocks N] [--sample-rate HZ] [--block-size N] [--channels 1|2]
//
// Builds one effect instance, resets it like a host, applies every --set in
// order (parameter by name; value as display text or plain number), runs N
// blocks of the test signal so that meters and read-outs move, draws the
// whole editor offscreen and writes it as an RGB PNG.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "raster/RAS_PngWriter.h"
#include "tools/snapshot/EditorSnapshot.h"

namespace {

void PrintUsage(FILE* to) {
  std::fprintf(to,
               "usage: stratum-snapshot --out OUT.png [--set \"Name=value\"]...\n"
               "                        [--signal sine|noise|silence] [--blocks N]\n"
               "                        [--sample-rate HZ] [--block-size N] [--channels 1|2]\n");
}

bool ReadInt(const char* text, int* value) {
  char* end = nullptr;
  const long number = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || number < 0 || number > 100000000) return false;
  *value = static_cast<int>(number);
  return true;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "stratum-snapshot: %s\n", message.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string out;
  std::vector<std::string> sets;
  snapshot::Signal signal = snapshot::Signal::kSilence;
  int blocks = 0;
  int sampleRate = 44100;
  int blockSize = 512;
  int channels = 2;

  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--help" || option == "-h") {
      PrintUsage(stdout);
      return 0;
    }
    if (i + 1 >= argc) {
      PrintUsage(stderr);
      return Fail(option.rfind("--", 0) == 0 ? option + " needs a value" : "unknown argument " + option);
    }
    const char* value = argv[++i];
    if (option == "--out") {
      out = value;
    } else if (option == "--set") {
      sets.push_back(value);
    } else if (option == "--signal") {
      if (!snapshot::ParseSignal(value, &signal)) return Fail("unknown signal \"" + std::string(value) + "\"");
    } else if (option == "--blocks") {
      if (!ReadInt(value, &blocks)) return Fail("--blocks takes a whole number");
    } else if (option == "--sample-rate") {
      if (!ReadInt(value, &sampleRate)) return Fail("--sample-rate takes a whole number");
    } else if (option == "--block-size") {
      if (!ReadInt(value, &blockSize)) return Fail("--block-size takes a whole number");
    } else if (option == "--channels") {
      if (!ReadInt(value, &channels)) return Fail("--channels takes 1 or 2");
    } else {
      PrintUsage(stderr);
      return Fail("unknown option " + option);
    }
  }
  if (out.empty()) {
    PrintUsage(stderr);
    return Fail("--out is required");
  }

  snapshot::EditorSnapshot editor;
  std::string error;
  if (!editor.Prepare(sampleRate, blockSize, channels, &error)) return Fail(error);
  for (const std::string& assignment : sets) {
    if (!editor.SetParameter(assignment, &error)) return Fail(error);
  }
  editor.Process(signal, blocks);
  // The editor is opaque: its alpha is dropped.
  RAS_PngWriteOptions options;
  options.keepAlpha = false;
  const RAS_PngWriteResult written = RAS_WritePngFile(editor.Render(), out.c_str(), options);
  if (written != RAS_PngWriteResult::kWritten) return Fail(out + ": " + RAS_DescribePngWriteResult(written));
  return 0;
}
