#!/usr/bin/env bash
# Builds the libraries that Debian ships only for Linux, for the Windows
# targets: libpng, statically, from Debian's own libpng1.6 source package
# (bookworm main), into build-deps/<target>/ of this checkout (git-ignored).
# Skipped when already built. Needs root (or sudo) the first time only, to let
# apt fetch source packages.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps="$root/build-deps"
target=win64
prefix="$deps/$target"
stamp="$prefix/.libpng-built"

if [ -f "$stamp" ]; then
  echo "build-windows-deps: libpng for $target present ($(cat "$stamp"))"
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

# Source entries for the main archive, which is already configured: add
# deb-src to the Types of its stanza. The security archive serves no source
# files here, so its stanza stays as it is. Running this again changes nothing.
sources=/etc/apt/sources.list.d/debian.sources
if [ -f "$sources" ]; then
  updated=$(mktemp)
  awk '
    function flush() {
      if (is_main && types_line > 0 && block[types_line] !~ /deb-src/) block[types_line] = block[types_line] " deb-src"
      for (i = 1; i <= n; i++) print block[i]
      n = 0; is_main = 0; types_line = 0
    }
    /^[[:space:]]*$/ { flush(); print; next }
    {
      block[++n] = $0
      if ($1 == "Types:") types_line = n
      if ($1 == "URIs:" && $2 ~ /\/debian\/?$/) is_main = 1
    }
    END { flush() }
  ' "$sources" >"$updated"
  if ! cmp -s "$sources" "$updated"; then
    echo "build-windows-deps: enabling source packages of the main archive in $sources"
    "${sudo_cmd[@]}" cp "$updated" "$sources"
    rm -f "$updated"
    "${sudo_cmd[@]}" apt-get update -q
  fi
  rm -f "$updated"
fi

# The version of bookworm main, asked for explicitly: apt-get would otherwise
# look for the source of the newest binary, which may come from a suite whose
# sources are not served.
main_version() {
  apt-cache madison libpng1.6 2>/dev/null |
    awk -F'|' '$3 ~ /[[:space:]]bookworm\/main Sources/ { gsub(/[[:space:]]/, "", $2); print $2; exit }'
}
version=$(main_version)
if [ -z "$version" ]; then
  "${sudo_cmd[@]}" apt-get update -q
  version=$(main_version)
fi
[ -n "$version" ] || { echo "build-windows-deps: no libpng1.6 source package found" >&2; exit 1; }

work="$deps/src"
mkdir -p "$work"
upstream=${version%-*}
source_dir="$work/libpng1.6-$upstream"
if [ ! -d "$source_dir" ]; then
  echo "build-windows-deps: fetching libpng1.6=$version"
  (cd "$work" && apt-get source -q "libpng1.6=$version")
fi

echo "build-windows-deps: building libpng $version for $target"
build_dir="$deps/build-libpng-$target"
rm -rf "$build_dir" "$prefix"
cmake -S "$source_dir" -B "$build_dir" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$target.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON >"$deps/libpng-$target.configure.log" 2>&1 \
  || { cat "$deps/libpng-$target.configure.log"; exit 1; }
cmake --build "$build_dir" -j "$(nproc)" >"$deps/libpng-$target.build.log" 2>&1 \
  || { cat "$deps/libpng-$target.build.log"; exit 1; }
cmake --install "$build_dir" >/dev/null
echo "libpng1.6 $version" >"$stamp"
echo "build-windows-deps: libpng installed in $prefix"
