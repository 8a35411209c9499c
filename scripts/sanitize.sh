#!/usr/bin/env bash
# Builds every test with the address and undefined-behaviour sanitizers into
# build-asan/ and runs them on Qt's offscreen platform (all but the install
# test, which runs no code of the game); any finding, leaks included, fails
# the run. Installs whatever Debian packages are missing.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/packages.sh"
install_missing g++ make cmake qt6-base-dev fonts-ipafont-gothic fonts-ipafont-mincho

sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=undefined"
cmake -S "$root" -B "$root/build-asan" -DBUILD_TESTING=ON -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="-O1 -fno-omit-frame-pointer $sanitizers" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" >/dev/null
cmake --build "$root/build-asan" -j"$(nproc)"

export ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:strict_init_order=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd "$root/build-asan"
# The install test runs none of the game's code, only the install rules,
# cpack and lintian, which the test command's run has checked already.
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" -E '^install\.'
