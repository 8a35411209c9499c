#!/usr/bin/env bash
# Takes the README's pictures from the real program on a virtual X display:
# the title screen with the pointer on "☆Game Start" (docs/title.png) and the
# game window in its first command, just after F1 (docs/game.png). Play runs
# at the machine's own pace, so it takes a minute or two.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/packages.sh"
source "$root/scripts/xwindows.sh"
install_missing xvfb xdotool imagemagick
"$root/scripts/setup.sh"

number=90
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
  number=$((number + 1))
done
export DISPLAY=":$number"
Xvfb "$DISPLAY" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
game=
trap 'kill $game $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  xdotool getmouselocation >/dev/null 2>&1 && break
  sleep 0.1
done

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
crop() { import -window "$board" -crop "$1" +repage "$2"; }
buttons=300x40+100+232   # the flag buttons' captions
label1=504x50+0+36       # the message line
differ() { # the count of pixels in which two pictures differ
  local count
  count=$(compare -metric AE "$1" "$2" null: 2>&1 || true)
  echo "${count%% *}"
}
work=$(mktemp -d)
crop "$buttons" "$work/disabled.png"
xdotool mousemove --window "$board" 444 103 click 1
# Flag input opens while the stage's name stands; the first command replaces it.
for _ in $(seq 1200); do
  sleep 0.1
  crop "$buttons" "$work/buttons.png"
  [ "$(differ "$work/disabled.png" "$work/buttons.png")" -gt 50 ] && break
done
crop "$label1" "$work/name.png"
for _ in $(seq 1200); do
  sleep 0.1
  crop "$label1" "$work/line.png"
  [ "$(identify -format %k "$work/line.png")" -gt 1 ] &&
    [ "$(differ "$work/name.png" "$work/line.png")" -gt 50 ] && break
done
# The first command comes a character at a time; wait for three more.
for _ in 1 2 3; do
  cp "$work/line.png" "$work/before.png"
  for _ in $(seq 600); do
    sleep 0.1
    crop "$label1" "$work/line.png"
    [ "$(differ "$work/before.png" "$work/line.png")" -gt 50 ] && break
  done
done
rm -r "$work"
sleep 0.3
xdotool key F1
sleep 0.3
import -window "$board" "$root/docs/game.png"
echo "Wrote docs/title.png and docs/game.png"
