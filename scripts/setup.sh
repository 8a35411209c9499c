#!/usr/bin/env bash
# Installs the Debian packages that Hyper Jorv needs, where they are missing,
# and configures and builds it in build/. Run by play.sh, test.sh, package.sh
# and screenshots.sh; takes CMake options as arguments.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/packages.sh"
install_missing "${build_packages[@]}"

build="$root/build"
cmake -S "$root" -B "$build" "$@" >/dev/null
# With the tests off, CMake writes no CTest files but leaves those of an
# earlier configuration, and ctest would run test programs that are no
# longer built. An empty one makes ctest say that there are no tests.
if grep -qiE '^BUILD_TESTING:[A-Z]+=(OFF|0|NO|FALSE)$' "$build/CMakeCache.txt"; then
  find "$build" -name CTestTestfile.cmake -delete
  echo "# No tests: this build folder was configured without them." >"$build/CTestTestfile.cmake"
fi
cmake --build "$build" -j"$(nproc)"
