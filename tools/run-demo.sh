#!/usr/bin/env bash
# The main job: builds the plug-in and its tools, generates a short test
# signal, renders it through the built VST3 bundle with the command-line host
# and a few settings, and draws an editor snapshot with the same settings.
# Nothing is installed; everything it writes goes to out/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mkdir -p build out

echo "demo: configuring and building (build/)"
cmake -S . -B build -G Ninja >build.configure.log 2>&1 || { cat build.configure.log; exit 1; }
# Only what the demo runs is built, so that work in progress elsewhere in the
# tree (a test that does not compile yet) cannot stop it.
available=$(ninja -C build -t targets all | sed -n 's/^\([A-Za-z0-9_.-]*\): phony$/\1/p')
wanted=()
for target in stratum-host VelmarStratum_vst3 stratum-snapshot; do
  if grep -qx "$target" <<<"$available"; then wanted+=("$target"); fi
done
if [ "${#wanted[@]}" -gt 0 ]; then
  cmake --build build -j "$(nproc)" --target "${wanted[@]}"
fi

host=build/tools/stratum-host/stratum-host
bundle=build/VelmarStratum.vst3
snapshot=build/tools/snapshot/stratum-snapshot
if [ ! -x "$host" ]; then
  echo "demo: the command-line host (tools/stratum-host) was not built; see build.configure.log" >&2
  exit 1
fi
if [ ! -d "$bundle" ]; then
  echo "demo: the VST3 bundle ($bundle) was not built; see build.configure.log" >&2
  exit 1
fi

settings=("Gain Level=-6" "Stereo Width=150" "Limit=on")
set_args=()
for setting in "${settings[@]}"; do set_args+=(--set "$setting"); done

echo "demo: generating the test signal"
"$host" generate --out out/demo-input.wav --seconds 4

echo "demo: rendering through $bundle with: ${settings[*]}"
"$host" render "$bundle" --in out/demo-input.wav --out out/demo-output.wav "${set_args[@]}" \
  --playing --tempo 120 --state-out out/demo-output.state

snapshot_done=no
snapshot_failed=no
if [ -x "$snapshot" ]; then
  echo "demo: drawing the editor"
  if "$snapshot" --out out/demo-editor.png --signal sine --blocks 50 "${set_args[@]}"; then
    snapshot_done=yes
  else
    snapshot_failed=yes
    echo "demo: the editor snapshot failed" >&2
  fi
else
  echo "demo: the snapshot tool (tools/snapshot) is not built yet; no editor snapshot"
fi

echo
echo "demo: results in $root/out/"
echo "  out/demo-input.wav     test signal: 4 s stereo chord with a little noise"
echo "  out/demo-output.wav    the signal through VelmarStratum (${settings[*]})"
echo "  out/demo-output.state  the plug-in's state after rendering (stratum-host --state-in reads it)"
if [ "$snapshot_done" = yes ]; then
  echo "  out/demo-editor.png    the editor with the same settings"
fi
[ "$snapshot_failed" = no ]
