#!/usr/bin/env bash
# Sets up, builds and makes the Debian package of Hyper Jorv with CPack:
# build/hyperjorv_VERSION_ARCH.deb.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/packages.sh"
# dpkg-shlibdeps works out the library dependencies; CPack finds the programs
# to strip and to scan with file.
install_missing "${build_packages[@]}" dpkg-dev file binutils
"$root/scripts/setup.sh" -DBUILD_TESTING=OFF

cd "$root/build"
rm -f hyperjorv_*.deb
if ! output=$(cpack -G DEB 2>&1); then
  echo "$output" >&2
  exit 1
fi
echo "Made $(ls "$root"/build/hyperjorv_*.deb)"
