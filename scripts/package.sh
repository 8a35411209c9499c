#!/usr/bin/env bash
# Sets up, builds and makes the Debian package of Hyper Jorv with CPack:
# build-deb/hyperjorv_VERSION_ARCH.deb. The package has a build folder of its
# own, built as Debian builds its packages: with the compiler and linker
# flags of dpkg-buildflags, every hardening feature on (fortified functions,
# stack protector, read-only relocations bound at start), so that the other
# scripts' builds in build/ stay as they are.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/packages.sh"
# dpkg-buildflags gives the flags and dpkg-shlibdeps works out the library
# dependencies; CPack finds the programs to strip and to scan with file;
# appstreamcli tells which form of AppStream metadata the release reads.
install_missing "${build_packages[@]}" dpkg-dev file binutils appstream

build="$root/build-deb"
# From the top of the tree, so that dpkg-buildflags maps its paths away
# from the binary's debugging information, as a Debian build does.
cd "$root"
flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
cmake -S "$root" -B "$build" -DBUILD_TESTING=OFF \
  -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" >/dev/null
cmake --build "$build" -j"$(nproc)"

cd "$build"
rm -f hyperjorv_*.deb
if ! output=$(cpack -G DEB 2>&1); then
  echo "$output" >&2
  exit 1
fi
echo "Made $(ls "$build"/hyperjorv_*.deb)"
