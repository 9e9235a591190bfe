#!/bin/sh
# A third-party host's VST3 scanner (from Debian's ardour package) loads the
# bundle and records it. Judged by its "Found Plugin" line and the cache file
# it writes, not by its exit code. Exits 77 (skipped) without the scanner.
# usage: check-ardour-scanner.sh BUNDLE.vst3 NAME
bundle="$1"
name="$2"
libdir=/usr/lib/ardour7
scanner=$libdir/ardour-vst3-scanner
[ -x "$scanner" ] || { echo "ardour's VST3 scanner is not installed; skipped"; exit 77; }
[ -d "$bundle" ] || { echo "no bundle at $bundle"; exit 1; }

cache=$(mktemp -d)
trap 'rm -rf "$cache"' EXIT
# The scanner compares the cache's time with the bundle's, to the second.
find "$bundle" -exec touch -d "-5 seconds" {} +

output=$(XDG_CACHE_HOME="$cache" LD_LIBRARY_PATH=$libdir timeout 120 "$scanner" -f -v "$bundle" 2>&1)
echo "$output"
echo "$output" | grep -q "Found Plugin: $name" || { echo "scanner did not find $name"; exit 1; }

file=$(find "$cache/ardour7/vst" -name '*.v3i' 2>/dev/null | head -n 1)
[ -n "$file" ] || { echo "scanner wrote no cache file"; exit 1; }
grep -q "name=\"$name\"" "$file" || { echo "cache file lacks $name:"; cat "$file"; exit 1; }
grep -q 'sdk-version="VST 3.5.2"' "$file" || { echo "cache file lacks the SDK version"; exit 1; }
echo "cache file: $file"
cat "$file"
