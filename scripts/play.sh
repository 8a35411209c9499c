#!/usr/bin/env bash
# Sets up, builds and starts Hyper Jorv.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "play.sh: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set); start it from a desktop session" >&2
  exit 1
fi
"$root/scripts/setup.sh" -DBUILD_TESTING=OFF
# The game reads its rules file from the folder it runs in.
cd "$root"
exec "$root/build/hyperjorv"
