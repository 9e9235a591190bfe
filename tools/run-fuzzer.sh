#!/usr/bin/env bash
# Runs one libFuzzer target for a bounded time: run-fuzzer.sh FUZZER SECONDS WORKDIR [SEEDDIR]
set -euo pipefail
fuzzer=$1 seconds=$2 work=$3 seeds=${4:-}
mkdir -p "$work"
args=("$work")
[ -n "$seeds" ] && [ -d "$seeds" ] && args+=("$seeds")
exec "$fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=512 -timeout=60 -print_final_stats=1 "${args[@]}"
