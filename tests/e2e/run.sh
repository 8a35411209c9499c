#!/usr/bin/env bash
# Runs the end-to-end tests against the real executable on a private X display
# (Xvfb) with a window manager (openbox) and a private session bus for the
# accessibility bus, with the system Python and pyatspi.
# Usage: run.sh PATH-TO-hyperjorv [unittest arguments]
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export JORV_GAME=$(realpath "$1")
shift
work=$(mktemp -d)
trap 'kill $(jobs -p) $(cat "$work/dbus.pid" 2>/dev/null) 2>/dev/null || true; rm -rf "$work"' EXIT

# Xvfb picks a free display and writes its number.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start:"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
# Wait until the display takes connections (-noreset: a server that resets
# when its last client leaves refuses the next one for a moment).
for _ in $(seq 100); do /usr/bin/python3 -c 'from Xlib import display; display.Display()' 2>/dev/null && break; sleep 0.1; done

# A window manager, as on a player's desktop: it frames, places and focuses
# the windows. It is ready once it frames a window; a window mapped while it
# is still starting may never be managed, so each probe that is not framed
# in a moment gives way to a new one.
openbox --sm-disable >"$work/openbox.log" 2>&1 &
/usr/bin/python3 - <<'PROBE' || { echo "openbox did not start:"; cat "$work/openbox.log"; exit 1; }
import time
from Xlib import display
d = display.Display()
root = d.screen().root
for _ in range(60):
    probe = root.create_window(0, 0, 10, 10, 0, d.screen().root_depth)
    probe.map()
    d.sync()
    time.sleep(0.5)
    if probe.query_tree().parent != root:
        break
    probe.destroy()
else:
    raise SystemExit(1)
PROBE

# The accessibility bus is started from the session bus and finds its socket
# under XDG_RUNTIME_DIR, so both stay private to this run.
export XDG_RUNTIME_DIR="$work/run" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
mkdir -m 700 "$XDG_RUNTIME_DIR"
export DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --fork --print-address=1 --print-pid=4 4>"$work/dbus.pid")
unset QT_QPA_PLATFORM
cd "$here"
[ $# -gt 0 ] || set -- e2e
# pyatspi calls interfaces that its own library now calls deprecated.
/usr/bin/python3 -W ignore::DeprecationWarning -m unittest -v "$@" 2>&1
