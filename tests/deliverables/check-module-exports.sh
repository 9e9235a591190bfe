#!/bin/sh
# A plug-in module exports exactly its format's entry points and nothing else,
# and needs nothing beyond the system's runtime libraries.
# usage: check-module-exports.sh MODULE.so SYMBOL...   (every expected export)
module="$1"
shift
[ -f "$module" ] || { echo "no module at $module"; exit 1; }

expected=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
exports=$(nm -D --defined-only "$module" | awk '{print $3}' | sort | tr '\n' ' ')
if [ "$exports" != "$expected" ]; then
  echo "unexpected exported symbols: $exports (expected: $expected)"
  exit 1
fi

missing=$(ldd "$module" | grep "not found")
if [ -n "$missing" ]; then
  echo "unresolved libraries:"
  echo "$missing"
  exit 1
fi
echo "exports and libraries as expected"
