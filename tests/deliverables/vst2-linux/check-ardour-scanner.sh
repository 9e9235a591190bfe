#!/bin/sh
# A third-party host's VST2 scanner (from Debian's ardour package, the
# Linux VST kind) loads the module and records it. Judged by its "Found
# Plugin" line and the cache file it writes, not by its exit code. Exits 77
# (skipped) without the scanner.
# usage: check-ardour-scanner.sh MODULE.so NAME
module="$1"
name="$2"
scanner=$(ls /usr/lib/ardour*/ardour-vst-scanner 2>/dev/null | head -n 1)
[ -n "$scanner" ] && [ -x "$scanner" ] || { echo "ardour's VST2 scanner is not installed; skipped"; exit 77; }
libdir=$(dirname "$scanner")
[ -f "$module" ] || { echo "no module at $module"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The scanner compares the cache's time with the module's, to the second.
copy="$work/$(basename "$module")"
cp "$module" "$copy"
touch -d "-5 seconds" "$copy"

output=$(XDG_CACHE_HOME="$work/cache" LD_LIBRARY_PATH=$libdir timeout 120 "$scanner" -f -v "$copy" 2>&1)
echo "$output"
echo "$output" | grep -q "Found Plugin: .* $name\$" || { echo "scanner did not find $name"; exit 1; }

file=$(find "$work/cache" -name '*.v2i' 2>/dev/null | head -n 1)
[ -n "$file" ] || { echo "scanner wrote no cache file"; exit 1; }
grep -q "name=\"$name\"" "$file" || { echo "cache file lacks $name:"; cat "$file"; exit 1; }
grep -q 'creator="Velmar"' "$file" || { echo "cache file lacks the vendor"; exit 1; }
grep -q 'n_inputs="2" n_outputs="2"' "$file" || { echo "cache file lacks the channels"; exit 1; }
echo "cache file: $file"
cat "$file"
