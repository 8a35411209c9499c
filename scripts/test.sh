#!/usr/bin/env bash
# Sets up, builds and runs every test of Hyper Jorv; the widget tests run on
# Qt's offscreen platform, so no display is needed.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/packages.sh"
install_missing desktop-file-utils # the install test validates the desktop entry
"$root/scripts/setup.sh" -DBUILD_TESTING=ON
cd "$root/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
