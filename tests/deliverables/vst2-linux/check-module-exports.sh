#!/bin/sh
# A VST2 module exports VSTPluginMain and main and nothing else, and needs
# nothing beyond the system's runtime libraries.
# usage: check-module-exports.sh MODULE.so
module="$1"
[ -f "$module" ] || { echo "no module at $module"; exit 1; }

exports=$(nm -D --defined-only "$module" | awk '{print $3}' | sort | tr '\n' ' ')
if [ "$exports" != "VSTPluginMain main " ]; then
  echo "unexpected exported symbols: $exports"
  exit 1
fi

missing=$(ldd "$module" | grep "not found")
if [ -n "$missing" ]; then
  echo "unresolved libraries:"
  echo "$missing"
  exit 1
fi
echo "exports and libraries as expected"
