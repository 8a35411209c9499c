#!/usr/bin/env bash
# Takes the README's pictures from the real program on a virtual X display:
# the title screen with the pointer on "☆Game Start" (docs/title.png) and the
# game window in stage 1's first command, answered (docs/game.png). The
# command is read through the accessibility interface, on a session bus of
# this run's own. Play runs at the machine's own pace, so it takes a minute
# or two.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/packages.sh"
source "$root/scripts/xwindows.sh"
install_missing "${build_packages[@]}" xvfb xdotool imagemagick dbus at-spi2-core python3-pyatspi
"$root/scripts/setup.sh"

number=90
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
  number=$((number + 1))
done
export DISPLAY=":$number"
# -noreset: a server that resets when its last client (the probe below)
# leaves refuses the next one for a moment.
Xvfb "$DISPLAY" -screen 0 800x600x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
game= bus=
work=$(mktemp -d)
trap 'kill $game $bus $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 50); do
  xdotool getmouselocation >/dev/null 2>&1 && break
  sleep 0.1
done

# The accessibility bus is started from the session bus and finds its socket
# under XDG_RUNTIME_DIR, so both stay private to this run.
export XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --fork --print-address=1 --print-pid=3 3>"$work/bus.pid")
export DBUS_SESSION_BUS_ADDRESS
bus=$(cat "$work/bus.pid")
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb

mkdir -p "$root/docs"
cd "$root"
./build/hyperjorv &
game=$!

wait_for_window() {
  for _ in $(seq 600); do
    window_of_width "$1" && return 0
    sleep 0.1
  done
  echo "screenshots.sh: no window $1 pixels wide appeared" >&2
  exit 1
}

title=$(wait_for_window 501)
sleep 0.5
xdotool mousemove --window "$title" 120 178
sleep 0.5
import -window "$title" "$root/docs/title.png"
xdotool click 1

board=$(wait_for_window 504)
sleep 0.5
command=$(/usr/bin/python3 "$root/scripts/firstcommand.py" "$game" "$board")
sleep 0.3
import -window "$board" "$root/docs/game.png"
echo "Wrote docs/title.png and docs/game.png (stage 1's first command: $command)"
