#!/usr/bin/env bash
# Plays the game by keyboard alone under the screen reader Orca, as the
# end-to-end test e2e.screenreader does (tests/e2e/screenreader.py), and keeps
# what Orca said: DIR/spoken, every message speech-dispatcher was given, and
# DIR/orca-debug.log, Orca's own account, whose "SPEECH OUTPUT" lines this
# prints. Installs orca and speech-dispatcher when missing (no voice: the
# messages go to the file).
# Usage: screenreader.sh PATH-TO-hyperjorv [DIR]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/packages.sh"
install_missing xvfb xauth openbox xdotool dbus at-spi2-core python3-pyatspi python3-xlib libfaketime
install_missing --no-recommends orca speech-dispatcher
game=$(realpath "$1")
dir=$(mkdir -p "${2:-screenreader}" && cd "${2:-screenreader}" && pwd)
status=0
JORV_ORCA_KEEP=$dir/spoken JORV_ORCA_LOG=$dir/orca-debug.log \
  "$root/tests/e2e/run.sh" "$game" screenreader || status=$?
grep -a 'SPEECH OUTPUT' "$dir/orca-debug.log" || true
echo "screenreader.sh: what speech-dispatcher was given is in $dir/spoken; status $status"
exit "$status"
