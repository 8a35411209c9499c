#!/usr/bin/env bash
# Installs the Debian packages that Hyper Jorv needs, where they are missing,
# and configures and builds it in build/. Sourced by play.sh and test.sh;
# takes CMake options as arguments.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
packages=(g++ make cmake qt6-base-dev fonts-ipafont-gothic fonts-ipafont-mincho)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi

cmake -S "$root" -B "$root/build" "$@" >/dev/null
cmake --build "$root/build" -j"$(nproc)"
