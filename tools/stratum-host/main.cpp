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
      "       stratum-host generate --out FILE.wav [--seconds S] [--rate HZ] [--channels N]\n"
      "       stratum-host edit BUNDLE [--in FILE] [--screenshot FILE.png [--frames N]]\n"
      "                    [--click X,Y]... [--drag X,Y,X2,Y2]... [--type TEXT]... [--key KEYSYM]...\n"
      "                    [--pause MS]\n"
      "         (the editor in a window of its own; audio runs meanwhile, the file looped or a\n"
      "          generated 997 Hz tone; input is sent in order, MS apart; with --screenshot the\n"
      "          window is written after N editor frames and the host quits)\n",
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
  if (command == "edit") return stratumhost::RunEdit(args);
  if (command == "--help" || command == "-h" || command == "help") {
    PrintUsage(stdout);
    return 0;
  }
  stratumhost::ReportError("unknown command '" + command + "' (try --help)");
  return stratumhost::kExitUsage;
}
