#!/usr/bin/env bash
# Measures the game on an X display (Xvfb, no window manager) and session bus
# of its own, and prints each figure with how it was taken, then the tables of
# README.md's "Figures": start-up and peak memory against a bare Qt window,
# and what each part of the title screen adds (hyperfine over
# bench/firstpaint); one pump call (a QtTest benchmark); F1 to the moved
# flag's repaint and the help viewer with large rules files (bench/ programs
# over the game's own windows); processor use and wake-ups in stage 1 and at
# rest (perf stat on the real game, which bench/bench.py drives and reads
# through its accessibility interface). Installs what is missing, builds the
# game as it ships (RelWithDebInfo) with bench/ into build-bench/, and fails
# on whatever it cannot find. About four minutes after the build; not a test,
# and not run by CI.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/packages.sh"
install_missing "${build_packages[@]}" libx11-dev libxtst-dev libxdamage-dev xvfb xauth xdotool dbus \
  at-spi2-core python3-pyatspi hyperfine linux-perf util-linux
started=$(date +%s)
build="$root/build-bench"
log=$(mktemp)
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
trap 'rm -rf "$log" "$XDG_RUNTIME_DIR"' EXIT
echo "Building the game and bench/ in build-bench/ ..."
if ! { cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DJORV_BENCH=ON &&
  cmake --build "$build" -j2; } >"$log" 2>&1; then
  cat "$log" >&2
  exit 1
fi
echo "$(nproc) cores; load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
# -noreset: a server that resets when its last client leaves refuses the next
# one for a moment. The bus daemons' chatter goes nowhere, bench.py's output
# to fds 3 and 4.
env -u QT_QPA_PLATFORM xvfb-run -a -s '-screen 0 1024x768x24 -nolisten tcp -noreset' \
  sh -c 'dbus-run-session -- "$@" 3>&1 4>&2 >/dev/null 2>&1' - \
  sh -c 'exec "$@" >&3 2>&4' - /usr/bin/python3 -W ignore::DeprecationWarning "$root/bench/bench.py" "$build" "$root"
echo "Load average at the end: $(cut -d' ' -f1-3 /proc/loadavg); total run time $(($(date +%s) - started)) s"
