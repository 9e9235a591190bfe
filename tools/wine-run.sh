#!/usr/bin/env bash
# Runs a 64-bit Windows program under Debian's Wine: wine-run.sh PROGRAM.exe [ARGS...]
# "wine-run.sh --stop" ends the prefix's wineserver and every program in it.
# The cross build's tests run through it (the toolchain file makes it their
# emulator). WINEPREFIX names the Wine prefix to use; the test runner sets a
# private one per run, and without one a prefix of this user under the
# temporary folder is used. Wine's own messages are silenced.
set -euo pipefail
# Debian's wine64 package keeps its loader in Wine's library folder, not on the path.
loader=${STRATUM_WINE64:-/usr/lib/wine/wine64}
if [ ! -x "$loader" ]; then
  echo "wine-run: no 64-bit Wine loader at $loader (install wine64)" >&2
  exit 127
fi
export WINEPREFIX=${WINEPREFIX:-${TMPDIR:-/tmp}/stratum-wine64-$(id -u)}
export WINEDEBUG=${WINEDEBUG:--all}
# No prompts for the .NET and HTML engines a new prefix would offer to fetch.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ "${1:-}" = "--stop" ]; then
  exec "$(dirname "$loader")/wineserver" -k
fi
# The programs meet in the prefix's own object namespace; no window system is needed.
unset DISPLAY WAYLAND_DISPLAY
exec "$loader" "$@"
