#!/usr/bin/env bash
# Measures the game on a virtual X display of its own and prints each figure
# with how it was taken, then a table of them all: processor use while a
# stage runs, start-up time and peak memory against a bare Qt window, the
# length of one pump call at rest and beside a busy core, the delay from an
# F-key press to the repaint of the moved flag, and the help viewer's times
# with large rules files. Builds the game as it ships (RelWithDebInfo: -O2, no
# assertions) and the measuring programs of bench/ into build-bench/.
# Installs what is missing. Takes about four minutes after the build; runs
# again as often as wanted; not a test, and not run by CI.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/packages.sh"
source "$root/scripts/xwindows.sh"
install_missing g++ make cmake qt6-base-dev fonts-ipafont-gothic fonts-ipafont-mincho \
  xvfb xdotool imagemagick libx11-dev libxtst-dev util-linux procps

started=$(date +%s)
build="$root/build-bench"
echo "Building the game and the measuring programs in build-bench/ ..."
log=$(mktemp)
if ! { cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
  -DJORV_BENCH=ON && cmake --build "$build" -j2; } >"$log" 2>&1; then
  cat "$log" >&2
  rm -f "$log"
  exit 1
fi
rm -f "$log"
game="$build/hyperjorv"
tools="$build/bench"

# A display of our own: :91 or the next free one, never :99.
number=91
while [ "$number" -eq 99 ] || [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
  number=$((number + 1))
done
export DISPLAY=":$number"
runtime=$(mktemp -d)
export XDG_RUNTIME_DIR="$runtime"
# -noreset: by default the server starts afresh each time its last client
# leaves, and refuses a program that connects in that moment; here each
# program is the only client, and one that cannot connect ends at once.
Xvfb "$DISPLAY" -screen 0 800x600x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
running=()
cleanup() {
  local pid
  for pid in "${running[@]}" "$xvfb"; do
    kill "$pid" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  rm -rf "$runtime"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
for _ in $(seq 50); do
  xdotool getmouselocation >/dev/null 2>&1 && break
  sleep 0.1
done
# A display that another server took first would answer too.
if ! kill -0 "$xvfb" 2>/dev/null; then
  echo "bench.sh: Xvfb could not start on $DISPLAY" >&2
  exit 1
fi

cores=$(nproc)
echo "Display $DISPLAY (Xvfb 800x600x24, no window manager); $cores cores;" \
  "load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"

field() { # the value of key=value in a line of a measuring program
  sed -n "s/.*\b$1=\([^ ]*\).*/\1/p" <<<"$2"
}
median() {
  printf '%s\n' "$@" | sort -g |
    awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
calc() { awk "BEGIN { printf \"$1\", ($2) }"; }
now() { date +%s.%N; }
ticks() { # utime + stime of a process, in clock ticks
  sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'
}

# -- 1. Processor use while a stage runs ----------------------------------
echo
echo "1. Processor use while a stage runs"
wait_for() { # a command, tried every half second for up to $1 seconds
  local seconds=$1
  shift
  for _ in $(seq $((seconds * 2))); do
    "$@" && return 0
    sleep 0.5
  done
  echo "bench.sh: timed out waiting for: $*" >&2
  exit 1
}
# The progress button's face at its left end, clear of its caption; once the
# button is hidden the window's light blue shows there.
button_hidden() {
  import -window root -crop 1x1+396+103 txt:- | grep -q 'srgb(192,192,255)'
}
differ() { # the count of pixels in which two pictures differ
  local count
  count=$(compare -metric AE "$1" "$2" null: 2>&1 || true)
  echo "${count%% *}"
}
flag_input_open() {
  import -window root -crop 300x40+100+232 +repage "$work/buttons.png"
  [ "$(differ "$work/disabled.png" "$work/buttons.png")" -gt 50 ]
}
wakeups() { # voluntary context switches of a process's main thread
  awk '/^voluntary_ctxt_switches/ { print $2 }' "/proc/$1/task/$1/status"
}
# The title screen of the game just started; a game that has ended (one that
# could not reach the display, say) ends the script with what it said.
title_shown() {
  local state
  state=$(sed 's/.*) //' "/proc/$pid/stat" 2>/dev/null | cut -d' ' -f1)
  if [ -z "$state" ] || [ "$state" = Z ]; then
    echo "bench.sh: $1 ended before its title screen showed; it said:" >&2
    sed 's/^/   /' "$work/game.log" >&2
    exit 1
  fi
  window_of_width 501
}
# Plays stage 1 in GAME for 40 s and prints: processor use (% of a core),
# wake-ups per second, share of the time in a stage (%), seconds, probes.
stage_figures() {
  work=$(mktemp -d)
  cd "$root"
  "$1" >"$work/game.log" 2>&1 &
  pid=$!
  # This runs in a subshell of its own, whose game the main trap cannot see.
  trap 'kill "$pid" 2>/dev/null || true' EXIT
  wait_for 60 title_shown "$1" >/dev/null
  sleep 1
  xdotool mousemove 100 176 click 1 # ☆Game Start: about 3 s measuring, as long handing over
  wait_for 30 window_of_width 504 >/dev/null
  sleep 1
  import -window root -crop 300x40+100+232 +repage "$work/disabled.png"
  # At rest on "準備はできましたか？" for 20 s.
  xdotool mousemove 0 0
  sleep 1
  i0=$(wakeups "$pid")
  sleep 20
  idle=$(($(wakeups "$pid") - i0))
  xdotool mousemove 444 103 click 1 # 進行ボタン
  pressed=$(now)
  # The stage's commands begin once flag input opens, after the start message
  # and the stage's number and name.
  wait_for 120 flag_input_open
  echo "   flag input opened $(calc %.0f "$(now) - $pressed") s after the first press of 進行ボタン" >&2
  window=40
  probes=0
  in_stage=0
  t0=$(now)
  k0=$(ticks "$pid") w0=$(wakeups "$pid")
  last_click=$t0
  while :; do
    t=$(now)
    [ "$(calc %d "$t - $t0 >= $window")" -eq 1 ] && break
    probes=$((probes + 1))
    if button_hidden; then
      in_stage=$((in_stage + 1))
    fi
    if [ "$(calc %d "$t - $last_click >= 2")" -eq 1 ]; then
      xdotool mousemove 444 103 click 1
      last_click=$t
    fi
    sleep 0.5
  done
  k1=$(ticks "$pid") w1=$(wakeups "$pid")
  t1=$(now)
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  rm -r "$work"
  hz=$(getconf CLK_TCK)
  echo "$(calc %.2f "100 * ($k1 - $k0) / $hz / ($t1 - $t0)") $(calc %.1f "($w1 - $w0) / ($t1 - $t0)")" \
    "$(calc %.0f "100 * $in_stage / $probes") $(calc %.1f "$t1 - $t0") $probes $idle"
}
read -r stage_cpu stage_wakeups stage_share stage_seconds probes idle < <(stage_figures "$game")
echo "   how: from the moment flag input opens in stage 1, over $stage_seconds s of wall time:"
echo "        utime+stime ticks of /proc/PID/stat as % of one core, and the voluntary context"
echo "        switches of the main thread (/proc/PID/task/PID/status) per second; the player never"
echo "        answers, so each command is a miss; 進行ボタン is clicked every 2 s."
echo "   processor use: $stage_cpu % of one core"
echo "   wake-ups: $stage_wakeups a second"
echo "   at rest on the ready message, 20 s: $idle wake-ups"
echo "   share of the window in a stage (進行ボタン hidden, $probes probes of its pixels): $stage_share %"

# -- 2. Start-up ----------------------------------------------------------
echo
echo "2. Start-up against a bare Qt Widgets window (a QWidget with a QLabel)"
runs=5
settle=1500
game_ms=() game_kb=() bare_ms=() bare_kb=()
"$tools/startuptiming" "$settle" "$game" >/dev/null 2>&1 # warms the caches
"$tools/startuptiming" "$settle" "$tools/barewindow" >/dev/null 2>&1
for _ in $(seq "$runs"); do
  line=$("$tools/startuptiming" "$settle" "$game")
  game_ms+=("$(field map_ms "$line")")
  game_kb+=("$(field hwm_kb "$line")")
  line=$("$tools/startuptiming" "$settle" "$tools/barewindow")
  bare_ms+=("$(field map_ms "$line")")
  bare_kb+=("$(field hwm_kb "$line")")
done
gm=$(median "${game_ms[@]}") bm=$(median "${bare_ms[@]}")
gk=$(median "${game_kb[@]}") bk=$(median "${bare_kb[@]}")
map_ratio=$(calc %.2f "$gm / $bm")
hwm_ratio=$(calc %.2f "$gk / $bk")
echo "   how: bench/startuptiming spawns the program and watches the root window for the MapNotify"
echo "        of its first top-level window (matched by _NET_WM_PID); after $settle ms on that screen"
echo "        it reads VmHWM from /proc/PID/status. Game and bare window alternate; one warm-up"
echo "        run each, then $runs runs each; medians"
echo "   game runs: ${game_ms[*]} ms; ${game_kb[*]} kB"
echo "   bare runs: ${bare_ms[*]} ms; ${bare_kb[*]} kB"
echo "   exec to title mapped: $gm ms, bare $bm ms, game/bare $map_ratio"
echo "   peak resident memory: $gk kB, bare $bk kB, game/bare $hwm_ratio"

# -- 3. One pump call -----------------------------------------------------
echo
echo "3. Length of one pump call (jorv::QtPump::pump)"
calls=10000
rest=$(taskset -c 0 "$tools/pumptiming" "$calls")
taskset -c 1 bash -c 'while :; do :; done' &
busy=$!
running+=("$busy")
loaded=$(taskset -c 0 "$tools/pumptiming" "$calls")
kill "$busy"
wait "$busy" 2>/dev/null || true
echo "   how: bench/pumptiming pins itself to core 0 (taskset), shows a QLabel window and times"
echo "        $calls back-to-back calls on the steady clock; busy: a shell busy loop pinned to core 1"
for name in rest busy; do
  line=$rest
  [ "$name" = busy ] && line=$loaded
  printf '   %-4s mean %s us, 99th percentile %s us, max %s us, %s calls over 2 ms, %s %% of a core\n' \
    "$name" "$(field mean_us "$line")" "$(field p99_us "$line")" "$(field max_us "$line")" \
    "$(field over2ms "$line")" "$(field cpu_pct "$line")"
done

# -- 4. F-key to repaint --------------------------------------------------
echo
echo "4. Delay from an F-key press to the repaint of the moved flag"
line=$("$tools/flaglatency" 200 30)
echo "   how: bench/flaglatency builds the real game window with the real Qt services on this"
echo "        display, loads it with speed count 30 and plays stage 1 (progress button again after"
echo "        each miss); while flag input is open it sends F1 through XTest at a random moment"
echo "        10 to 30 ms after the last repaint. Each interval starts just before the key request goes"
echo "        to the X server and covers the server, Qt's reading of the event and the pump call that"
echo "        hands it over, up to: the game's handling (flag item triggered, flag moved), the start"
echo "        of the red flag's paint at its new place, and the end of the window's repaint (the"
echo "        painted window handed to the X connection). Not covered: the X server's drawing of"
echo "        that image and a compositor's or screen's refresh."
echo "   samples $(field samples "$line") ($(field raised "$line") raises, the rest lowers; $(field lost "$line") lost)"
for point in handled painted repainted; do
  printf '   %-9s median %s ms, 95th percentile %s ms\n' "$point" \
    "$(field ${point}_median_ms "$line")" "$(field ${point}_p95_ms "$line")"
done
key_median=$(field repainted_median_ms "$line")
key_p95=$(field repainted_p95_ms "$line")

# -- 5. The help viewer with large rules files -----------------------------
echo
echo "5. The help viewer with large rules files"
echo "   how: bench/viewertiming shows the game's help viewer on this display with each of its"
echo "        rules files in turn (its opening comment says which files, and what each time"
echo "        covers): bytes, the file's size; shown, the sections the viewer lists, or too-large"
echo "        when it refuses the file; load_ms, paint_ms and actions_ms, the times of reading the"
echo "        file in, of painting the viewer and of its actions; hwm_mb, the peak resident memory."
echo "        It runs from the top of the tree, beside the game's rules file"
viewer_out="$runtime/viewertiming.txt"
(cd "$root" && "$tools/viewertiming") | tee "$viewer_out" | sed -u 's/^/   /'
# The file whose load and paint together took longest.
viewer_worst=$(awk '{
  split("", f)
  for (i = 1; i <= NF; i++)
    if ((n = index($i, "=")) > 0)
      f[substr($i, 1, n - 1)] = substr($i, n + 1)
  if (f["load_ms"] ~ /^[0-9.]+$/ && f["paint_ms"] ~ /^[0-9.]+$/ &&
      (!seen || f["load_ms"] + f["paint_ms"] > worst)) {
    seen = 1
    worst = f["load_ms"] + f["paint_ms"]
    line = sprintf("%.1f ms (%s, %s bytes, shown %s)", worst, f["file"], f["bytes"], f["shown"])
  }
} END { if (seen) print line }' "$viewer_out")
echo "   longest load + paint: ${viewer_worst:-none of the lines has both times}"

# -- Summary --------------------------------------------------------------
echo
echo "Load average at the end: $(cut -d' ' -f1-3 /proc/loadavg); total run time $(($(date +%s) - started)) s"
echo
echo "| figure | value |"
echo "|---|---|"
printf '| %s | %s |\n' \
  "processor use in stage 1" "$stage_cpu % of one core" \
  "wake-ups a second in stage 1" "$stage_wakeups" \
  "wake-ups in 20 s at rest on the ready message" "$idle" \
  "exec to title window mapped" "$gm ms; bare window $bm ms; game/bare $map_ratio" \
  "peak resident memory on the title screen" "$gk kB; bare window $bk kB; game/bare $hwm_ratio" \
  "pump call at rest: mean, 99th percentile" "$(field mean_us "$rest") us, $(field p99_us "$rest") us" \
  "pump call, other core busy: mean, 99th percentile" "$(field mean_us "$loaded") us, $(field p99_us "$loaded") us" \
  "F-key to flag repainted: median, 95th percentile (aim: under 16 ms)" \
  "$key_median ms, $key_p95 ms" \
  "help viewer, longest load + paint of a large rules file" "${viewer_worst:-not measured (see 5.)}"
