#!/usr/bin/env bash
# The main job: builds the plug-in and its tools, renders a short test signal
# through the built plug-in with the command-line host, and writes an editor
# snapshot. Everything it writes goes to out/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mkdir -p build out
cmake -S . -B build -G Ninja >build.configure.log 2>&1 || { cat build.configure.log; exit 1; }
cmake --build build -j "$(nproc)"

if [ -x build/tools/stratum-demo-steps.sh ]; then
  exec build/tools/stratum-demo-steps.sh "$root/out"
fi
echo "demo: built everything; the command-line host and the snapshot tool are not part of this tree yet"
