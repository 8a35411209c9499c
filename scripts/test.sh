#!/usr/bin/env bash
# Sets up, builds and runs every test of Hyper Jorv; the widget tests run on
# Qt's offscreen platform, and the end-to-end test brings its own virtual
# display, so no display is needed.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/packages.sh"
# The install test validates the desktop entry and the AppStream metadata,
# checks and redraws the icons (python3) and renders the scalable one, and
# makes the package with cpack (dpkg-dev, file) for lintian; the end-to-end
# test runs the game on a virtual X display (xvfb-run, which needs xauth)
# under a window manager and reads it through the accessibility bus
# (dbus-run-session), and once more in a Wayland session of GNOME's
# compositor with XWayland (mutter, xwayland); and played under the screen
# reader Orca, whose speech-dispatcher writes what it says to a file (no
# voice, so neither Orca's nor speech-dispatcher's recommendations).
install_missing "${build_packages[@]}" desktop-file-utils appstream pngcheck librsvg2-bin python3 \
  dpkg-dev file lintian xvfb xauth openbox xdotool dbus at-spi2-core python3-pyatspi python3-xlib \
  libfaketime mutter xwayland
install_missing --no-recommends orca speech-dispatcher
"$root/scripts/setup.sh" -DBUILD_TESTING=ON
cd "$root/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
