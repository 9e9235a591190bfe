#!/usr/bin/env bash
# Installs every Debian package listed in tools/debian-packages.txt and
# tools/debian-packages-windows.txt (the Windows cross build and Wine), then
# builds the libraries Debian has only for Linux for the Windows targets
# (tools/build-windows-deps.sh). Idempotent: what is present is left as it is.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mapfile -t packages < <(grep -h -v -E '^\s*(#|$)' "$here/debian-packages.txt" "$here/debian-packages-windows.txt")

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "bootstrap: all ${#packages[@]} packages present"
else
  echo "bootstrap: installing ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

bash "$here/build-windows-deps.sh"
