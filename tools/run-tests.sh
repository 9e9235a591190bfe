#!/usr/bin/env bash
# Builds and runs every test: the plain build, the 64-bit Windows cross build
# of the platform, core and group-link tests (run under Wine), the
# AddressSanitizer + UndefinedBehaviorSanitizer build, the ThreadSanitizer
# build of the concurrency tests, and the bounded libFuzzer runs. Exits
# non-zero on any failure. Build trees: build/, build-win64/, build-asan/,
# build-tsan/, build-fuzz/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)

configure() {  # configure DIR SANITIZE [extra cmake args...]
  local dir=$1 sanitize=$2
  shift 2
  cmake -S . -B "$dir" -G Ninja -DSTRATUM_SANITIZE="$sanitize" "$@" >"$dir.configure.log" 2>&1 \
    || { cat "$dir.configure.log"; return 1; }
}

failed=0
run_config() {  # run_config NAME DIR SANITIZE BUILD_TARGET CTEST_ARGS [cmake args...]
  local name=$1 dir=$2 sanitize=$3 target=$4 ctest_args=$5
  shift 5
  echo "=== $name: configure and build"
  mkdir -p "$dir"
  configure "$dir" "$sanitize" "$@"
  cmake --build "$dir" --target "$target" -j "$jobs"
  echo "=== $name: test"
  # shellcheck disable=SC2086
  if ! ctest --test-dir "$dir" --output-on-failure -j "$jobs" $ctest_args; then
    failed=1
  fi
}

# Tests that open editor windows need an X server. Xvfb writes its display
# number to -displayfd once it accepts connections; the tests start only then,
# however long a loaded machine takes to get it going. -noreset keeps the
# server up when its last client leaves, so a test that connects right after
# another test's last client is gone is not refused during a server reset.
if [ -z "${DISPLAY:-}" ] && command -v Xvfb >/dev/null; then
  export DISPLAY=:97
  xvfb_ready=$(mktemp)
  Xvfb "$DISPLAY" -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$xvfb_ready" >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null || true; rm -f "$xvfb_ready"' EXIT
  for _ in $(seq 600); do  # a minute at most
    if [ -s "$xvfb_ready" ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then break; fi
    sleep 0.1
  done
  if [ ! -s "$xvfb_ready" ]; then
    if [ -S /tmp/.X11-unix/X97 ] && ! kill -0 "$xvfb_pid" 2>/dev/null; then
      echo "run-tests: an X server already runs on $DISPLAY; the tests use it" >&2
    else
      echo "run-tests: Xvfb did not start on $DISPLAY" >&2
      exit 1
    fi
  fi
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}

# The Windows cross build: the subsystems below and the tests that are made
# for Windows, run under 64-bit Wine. The prefix is private to this run (its
# own wineserver, so its own "Local\" namespace for the named objects) and is
# stopped and removed at the end.
windows_tests=(platform_tests platform_module_tests platform_win32_tests
  core_tests core_attach_trace_on_tests core_attach_trace_off_tests core_lock_tests concurrent_rounds_tests
  grouplink_segment_tests grouplink_tests grouplink_thread_tests grouplink_process_tests)
run_windows64() {
  echo "=== windows64: configure and build"
  mkdir -p build-win64
  cmake -S . -B build-win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-win64.cmake \
    "-DSTRATUM_SUBSYSTEMS=platform;core;effect;grouplink" -DSTRATUM_BUILD_BENCHMARKS=OFF \
    >build-win64.configure.log 2>&1 || { cat build-win64.configure.log; return 1; }
  cmake --build build-win64 --target "${windows_tests[@]}" -j "$jobs"
  echo "=== windows64: test under Wine"
  local prefix
  prefix=$(mktemp -d "${TMPDIR:-/tmp}/stratum-wine64.XXXXXX")
  export WINEPREFIX=$prefix
  # The prefix is made once here, before tests start at once in it.
  tools/wine-run.sh wineboot --init >/dev/null 2>&1 || true
  local pattern
  pattern="^($(IFS='|'; echo "${windows_tests[*]}"))\$"
  if ! ctest --test-dir build-win64 --output-on-failure -j "$jobs" -R "$pattern"; then
    failed=1
  fi
  tools/wine-run.sh --stop || true
  unset WINEPREFIX
  rm -rf "$prefix"
}

run_config plain build "" all ""
run_windows64
run_config sanitize build-asan address all "" -DSTRATUM_BUILD_BENCHMARKS=OFF
run_config thread build-tsan thread tsan_tests "-L tsan" -DSTRATUM_BUILD_BENCHMARKS=OFF
run_config fuzz build-fuzz fuzz fuzzers "-L fuzz" -DSTRATUM_BUILD_BENCHMARKS=OFF \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++

if [ "$failed" -ne 0 ]; then
  echo "run-tests: FAILED"
  exit 1
fi
echo "run-tests: all configurations passed"
