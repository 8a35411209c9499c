#!/usr/bin/env bash
# Closes the game window in the middle of a wait N times (default 50), each
# time in a new run of the program, with one niced busy loop per core running,
# and prints how many closes ended the program with status 0 and how long it
# took. Uses the private desktop of tests/e2e/run.sh and the Game of
# tests/e2e/e2e.py. Not a test, and not run by CI.
# Usage: closes.sh PATH-TO-hyperjorv [N]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
module=$(mktemp -d)
busy=()
trap 'kill "${busy[@]}" 2>/dev/null || true; rm -rf "$module"' EXIT
for _ in $(seq "$(nproc)"); do
  nice -n 19 bash -c 'while :; do :; done' &
  busy+=($!)
done

# run.sh runs unittest in tests/e2e, where this module finds e2e.py.
cat >"$module/closes.py" <<'EOF'
import os
import subprocess
import time
import unittest

import pyatspi

from e2e import Game


class Closes(unittest.TestCase):
    def test_every_close_ends_the_program(self):
        runs, ended, began = int(os.environ["JORV_CLOSES"]), 0, time.monotonic()
        for run in range(1, runs + 1):
            game = Game()
            try:
                game.click(game.find(game.window("Hyper Jorv"), pyatspi.ROLE_PUSH_BUTTON, "☆Game Start"))
                window = game.game_window()
                game.click(game.find(window, pyatspi.ROLE_PUSH_BUTTON, "－－－－＞"))
                game.wait_label1("レベル1")
                game.close_window("Hyper Jorv")
                status = game.proc.wait(20)
                ended += status == 0
                print(f"close {run}: status {status}", flush=True)
            except (AssertionError, subprocess.TimeoutExpired) as failure:
                print(f"close {run}: {failure}", flush=True)
            finally:
                game.close()
        print(f"{ended} of {runs} closes ended the program with status 0"
              f" ({time.monotonic() - began:.0f} s, {os.cpu_count()} busy loops)")
        self.assertEqual(ended, runs)
EOF
JORV_CLOSES=${2:-50} PYTHONPATH="$module" "$root/tests/e2e/run.sh" "$1" closes
