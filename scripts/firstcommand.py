"""Plays up to the first command of stage 1 for screenshots.sh, as a player
does: presses "－－－－＞" in the game window, reads the command through the
accessibility interface (AT-SPI) as it is called out, presses the flag key
it requires, if any, and returns once the flags stand as it asks, well before
the command is judged. Prints the command.

Usage: firstcommand.py PID WINDOW, the game's process and the X window id of
its game window. Needs the accessibility bus (python3-pyatspi, at-spi2-core)
and xdotool.
"""

import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import Atspi

# A query to a program that is busy waits for its time-out; keep it short and
# ask again instead.
Atspi.set_timeout(300, 5000)

# Stage 1 calls red or white, raised or lowered, and nothing else.
COMMAND = re.compile("(赤|白)(あげて|さげて)")
KEYS = {"赤": "F1", "白": "F5"}


def poll(what, probe, timeout):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        try:
            value = probe()
            if value:
                return value
        except Exception:  # a query that timed out or met a vanished object
            pass
        time.sleep(0.05)
    sys.exit(f"firstcommand.py: no {what} after {timeout} s")


def descendants(acc):
    for child in acc:
        if child is not None:
            yield child
            yield from descendants(child)


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True)


def main(pid, window_id):
    def application():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == pid:
                return app
        return None

    app = poll("game on the accessibility bus", application, 20)
    # Texts change all the time: read them fresh on every query.
    app.set_cache_mask(Atspi.Cache.NONE)
    window = poll(
        "game window", lambda: next((w for w in app if w is not None and w.name == "Hyper Jorv" and w.getRole() == pyatspi.ROLE_FRAME), None),
        20,
    )

    def find(role, name):
        return next((a for a in descendants(window) if a.getRole() == role and a.name == name), None)

    button = poll("progress button", lambda: find(pyatspi.ROLE_PUSH_BUTTON, "－－－－＞"), 20)
    box = button.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    xdotool("mousemove", box.x + box.width // 2, box.y + box.height // 2, "click", 1)

    # The opening message and the stage's introduction take about a minute.
    labels = [a for a in descendants(window) if a.getRole() == pyatspi.ROLE_LABEL]
    command = poll("first command", lambda: next((a.name for a in labels if COMMAND.fullmatch(a.name)), None), 300)
    colour, action = command[0], command[1:]
    flag = poll("flag", lambda: find(pyatspi.ROLE_IMAGE, f"{colour}の旗"), 5)
    wanted = "あがっている" if action == "あげて" else "さがっている"
    if flag.description != wanted:
        xdotool("windowfocus", "--sync", window_id)
        xdotool("key", KEYS[colour])
    poll("answer", lambda: flag.description == wanted, 5)
    print(command)


if __name__ == "__main__":
    main(int(sys.argv[1]), sys.argv[2])
