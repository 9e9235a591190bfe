// stratum-host: a command-line VST3 host for rendering files through a plug-in,
// listing what it offers, and driving it line by line from another program.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/stratum-host/Commands.h"

namespace {

void PrintUsage(std::FILE* to) {
  std::fputs(
      "usage: stratum-host info BUNDLE\n"
      "       stratum-host render BUNDLE --in IN.wav --out OUT.wav [--block N] [--set \"NAME=VALUE\"]...\n"
      "                    [--state-in FILE] [--state-out FILE] [--tempo BPM] [--playing] [--double]\n"
      "       stratum-host script BUNDLE [--rate HZ] [--block N] [--channels 1|2] [--double]\n"
      "         (commands on standard input: set NAME VALUE, get NAME, process FRAMES [--playing]\n"
      "          [--tempo BPM], save FILE, load FILE, quit)\n"
      "       stratum-host generate --out FILE.wav [--seconds S] [--rate HZ] [--channels N]\n",
      to);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    PrintUsage(stderr);
    return stratumhost::kExitUsage;
  }
  const std::string command = args.front();
  args.erase(args.begin());
  if (command == "info") return stratumhost::RunInfo(args);
  if (command == "render") return stratumhost::RunRender(args);
  if (command == "script") return stratumhost::RunScript(args);
  if (command == "generate") return stratumhost::RunGenerate(args);
  if (command == "--help" || command == "-h" || command == "help") {
    PrintUsage(stdout);
    return 0;
  }
  stratumhost::ReportError("unknown command '" + command + "' (try --help)");
  return stratumhost::kExitUsage;
}
