#!/usr/bin/env bash
# Sets up, builds and starts Hyper Jorv.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# The game runs on X11: it places its own windows, which a Wayland client may
# not do. A Wayland desktop runs it through XWayland, which sets DISPLAY.
if [ -z "${DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "play.sh: no X display (DISPLAY is not set); the game needs X11, or XWayland on a Wayland desktop" >&2
  exit 1
fi
"$root/scripts/setup.sh" -DBUILD_TESTING=OFF
# The game reads its rules file from the folder it runs in.
cd "$root"
# On a Wayland desktop the game itself chooses X, through XWayland.
exec "$root/build/hyperjorv"
