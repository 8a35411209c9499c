#!/usr/bin/env bash
# Runs the end-to-end tests against the real executable: a private X display
# (Xvfb), a private session bus for the accessibility bus, and the system
# Python with pyatspi. Usage: run.sh PATH-TO-hyperjorv [unittest arguments]
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export JORV_GAME=$(realpath "$1")
shift

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start:"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
# Wait until the display takes connections (-noreset: a server that resets
# when its last client leaves refuses the next one for a moment).
for _ in $(seq 100); do
  /usr/bin/python3 -c 'from Xlib import display; display.Display().close()' 2>/dev/null && break
  sleep 0.1
done

# The accessibility bus is started from the session bus and finds its socket
# under XDG_RUNTIME_DIR, so both stay private to this run.
export XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --fork --print-address=1 --print-pid=4 4>"$work/dbus.pid")
pids+=($(cat "$work/dbus.pid"))
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset QT_QPA_PLATFORM

cd "$here"
[ $# -gt 0 ] || set -- e2e
# pyatspi calls interfaces that its own library now calls deprecated.
/usr/bin/python3 -W ignore::DeprecationWarning -m unittest -v "$@" 2>&1
