#!/usr/bin/env bash
# Closes the game window in the middle of a wait N times (default 50) with
# one niced busy loop per core running, and prints how many closes ended the
# program. Usage: closes.sh PATH-TO-hyperjorv [N]
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
busy=()
for _ in $(seq "$(nproc)"); do
  nice -n 19 bash -c 'while :; do :; done' &
  busy+=($!)
done
trap 'kill "${busy[@]}"' EXIT
JORV_CLOSES=${2:-50} "$here/run.sh" "$1" closes
