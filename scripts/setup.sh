#!/usr/bin/env bash
# Installs the Debian packages that Hyper Jorv needs, where they are missing,
# and configures and builds it in build/. Sourced by play.sh and test.sh;
# takes CMake options as arguments.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/packages.sh"
install_missing "${build_packages[@]}"

cmake -S "$root" -B "$root/build" "$@" >/dev/null
cmake --build "$root/build" -j"$(nproc)"
