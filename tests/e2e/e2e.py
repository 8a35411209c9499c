"""The real game on a real X display, used as a player uses it.

Input goes through the X server (xdotool); the windows are read through the
accessibility interface that Qt exposes (AT-SPI). Started by run.sh, which
provides the display and the buses.

Most games run on a clock that goes RATE times faster (libfaketime): every
wait of the game is a count of pump calls, and a pump call lasts one tick of
the clock, so the counts stay as they are and only the ticks get shorter.
test_faster_clock_keeps_the_counts shows it.
"""

import os
import re
import subprocess
import time
import unittest

import pyatspi
from gi.repository import Atspi
from Xlib import X, display, protocol

GAME = os.environ["JORV_GAME"]
# The game reads its rules file from the folder it is started in.
RULES_DIR = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
FAKETIME = "/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1"
RATE = 5

# A query to a program that is not pumping waits for its time-out; keep it
# short and poll instead.
Atspi.set_timeout(300, 5000)

RED = (255, 0, 0)
BACKGROUND = (192, 192, 255)


def poll(what, probe, timeout=30.0, interval=0.02):
    """Calls probe until it returns something true; returns that."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            value = probe()
            if value:
                if os.environ.get("E2E_TRACE"):
                    print(f"\n    {what}: {timeout - (deadline - time.monotonic()):.2f} s", end="")
                return value
        except Exception:  # a query that timed out or met a vanished object
            pass
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


def showing(acc):
    return acc.getState().contains(pyatspi.STATE_SHOWING)


def descendants(acc):
    for child in acc:
        if child is not None:
            yield child
            yield from descendants(child)


def centre(acc):
    box = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x + box.width // 2, box.y + box.height // 2


def xdotool(*args):
    t = time.monotonic()
    subprocess.run(["xdotool", *map(str, args)], check=True)
    if os.environ.get("E2E_TRACE"):
        print(f"\n    xdotool {args}: {time.monotonic() - t:.2f} s", end="")


def pixel(x, y):
    """The colour at (x, y) of the whole screen, from a screenshot."""
    out = subprocess.run(
        ["import", "-silent", "-window", "root", "-crop", f"1x1+{x}+{y}", "-depth", "8", "rgb:-"],
        check=True,
        capture_output=True,
    ).stdout
    return tuple(out[:3])


class Game:
    """One run of the program."""

    def __init__(self, rate=RATE):
        env = dict(os.environ)
        if rate > 1:
            env.update(LD_PRELOAD=FAKETIME, FAKETIME=f"+0 x{rate}")
            # A sanitizer build wants its runtime first; the faster clock
            # comes first instead, which the sanitizers tolerate.
            env["ASAN_OPTIONS"] = ":".join(filter(None, [env.get("ASAN_OPTIONS"), "verify_asan_link_order=0"]))
        self.proc = subprocess.Popen([GAME], cwd=RULES_DIR, env=env)
        try:
            self.app = poll("the program on the accessibility bus", self._app, timeout=20)
        except AssertionError:
            self.close()
            raise
        # Names change all the time: read them fresh on every query.
        self.app.set_cache_mask(Atspi.Cache.NONE)

    def _app(self):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == self.proc.pid:
                return app
        return None

    def close(self):
        if self.proc.poll() is None:
            self.proc.kill()
        self.proc.wait()

    # Reading

    def windows(self, name):
        return [w for w in self.app if w is not None and w.name == name and showing(w)]

    def window(self, name, timeout=30.0):
        return poll(f"the window {name}", lambda: self.windows(name) and self.windows(name)[0], timeout)

    def find(self, root, role, name=None, timeout=30.0):
        def probe():
            for acc in descendants(root):
                if acc.getRoleName() == role and (name is None or acc.name == name):
                    return acc
            return None

        return poll(f"a {role} {name or ''}", probe, timeout)

    def labels(self, window):
        """Label1 and Label2 of the game window: the window keeps its labels
        at the bottom of its stacking, Label1 lowest."""
        surface = self.find(window, "filler")
        found = [c for c in surface if c.getRoleName() == "label"]
        return found[0], found[1]

    def flag(self, window, colour):
        return self.find(window, "image", f"{colour}の旗")

    def wait_label1(self, window, what, match, timeout=60.0):
        label1 = self.labels(window)[0]
        return poll(what, lambda: match(label1.name) and label1.name, timeout)

    # Input

    def click(self, acc):
        x, y = centre(acc)
        # (mousemove --sync would wait for ever when the pointer is already there)
        xdotool("mousemove", x, y, "click", 1)

    def x_window(self, name):
        """The id of the program's mapped top-level X window with that title."""
        found = [xid for xid, title in self.x_windows() if title == name]
        assert len(found) <= 1, f"{len(found)} windows {name}"
        return found[0] if found else None

    def x_windows(self):
        """The program's mapped top-level X windows: (id, title)."""
        d = display.Display()
        try:
            pid, title = d.intern_atom("_NET_WM_PID"), d.intern_atom("_NET_WM_NAME")
            found = []
            for w in d.screen().root.query_tree().children:
                if w.get_attributes().map_state != X.IsViewable:
                    continue
                owner = w.get_full_property(pid, X.AnyPropertyType)
                text = w.get_full_property(title, X.AnyPropertyType)
                if owner and text and owner.value[0] == self.proc.pid:
                    found.append((w.id, text.value.decode()))
            return found
        finally:
            d.close()

    def keys(self, *keys, window="Hyper Jorv"):
        """Keys to a window: it takes the keyboard focus first."""
        xid = poll(f"the X window {window}", lambda: self.x_window(window))
        xdotool("windowfocus", "--sync", xid)
        for key in keys:
            xdotool("key", key)

    def menu(self, window, menu_key, item_key):
        """An item of the game window's menus through its access keys."""
        self.keys(f"alt+{menu_key}")
        poll("the menu to open", lambda: any(showing(m) for m in descendants(window) if m.getRoleName() == "popup menu"))
        xdotool("key", item_key)

    def close_window(self, name):
        """What a window manager does when the window's close box is clicked."""
        xid = poll(f"the X window {name}", lambda: self.x_window(name))
        d = display.Display()
        target = d.create_resource_object("window", xid)
        protocols = d.intern_atom("WM_PROTOCOLS")
        delete = d.intern_atom("WM_DELETE_WINDOW")
        event = protocol.event.ClientMessage(
            window=target, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0])
        )
        target.send_event(event)
        d.flush()
        d.close()

    # Whole steps

    def start(self):
        """From the title screen to the game window waiting for the first press."""
        title = self.window("Hyper Jorv")
        self.click(self.find(title, "label", "☆Game Start"))
        # The title screen is a plain widget; the game window is a frame.
        return poll(
            "the game window",
            lambda: next((w for w in self.windows("Hyper Jorv") if w.getRoleName() == "frame"), None),
        )

    def exit_status(self, timeout=20.0):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"the program did not end; its windows: {self.x_windows()}") from None


class EndToEnd(unittest.TestCase):
    def setUp(self):
        self.started = time.monotonic()
        self.games = []

    def tearDown(self):
        for game in self.games:
            game.close()
        print(f"  ({time.monotonic() - self.started:.1f} s)", end=" ", flush=True)

    def game(self, rate=RATE):
        game = Game(rate)
        self.games.append(game)
        return game

    def ready(self):
        game = self.game()
        return game, game.start()

    def test_title_screen_starts_the_game(self):
        game = self.game()
        title = game.window("Hyper Jorv")
        texts = [c.name for c in descendants(title) if c.getRoleName() == "label" and showing(c)]
        self.assertEqual(
            texts,
            ["Hyper Jorv", "Produced By QLM", "Version 1.2", "☆Game Start", "☆Show Help", "☆End This Game"],
        )
        window = game.start()
        label1, label2 = game.labels(window)
        self.assertEqual(label1.name, "準備はできましたか？")
        self.assertFalse(showing(label2))
        # The title screen is gone: the game window is the program's only window.
        self.assertEqual([w.name for w in game.app if showing(w)], ["Hyper Jorv"])
        panels = [c.name for c in game.find(window, "status bar")]
        self.assertEqual(panels[:2], ["レベル1：まずは小手調べ", "残りミス：10"])
        self.assertRegex(panels[2], r"^\d{1,2}:\d\d$")

    def test_faster_clock_keeps_the_counts(self):
        """The measurement counts pump calls until the clock passes the whole
        second nearest to three seconds on: as many per second of the clock
        on either clock, since a pump call lasts one tick of it. (The time
        taken to see each end of the count on the faster clock is five times
        as long on it, so that figure comes out a little high.)"""

        def calls_per_second(rate):
            game = self.game(rate)
            title = game.window("Hyper Jorv")
            label3 = [c for c in title if c.getRoleName() == "label"]
            game.click(game.find(title, "label", "☆Game Start"))
            # Label3 says "please wait" when the count begins and shows the
            # count, times 1.5, when it ends.
            poll("the measurement", lambda: any(c.name == "しばらくお待ちください。" for c in label3), interval=0.002)
            began = time.monotonic()
            digits = poll("the count", lambda: [c.name for c in label3 if c.name.isdigit()], interval=0.002)
            seconds = (time.monotonic() - began) * rate
            game.close()
            return int(digits[0]) / 1.5 / seconds

        real, faster = calls_per_second(1), calls_per_second(RATE)
        print(f"  pump calls per second of the clock: {real:.0f} real, {faster:.0f} at {RATE} times", end=" ")
        self.assertTrue(0.5 < faster / real < 2, f"{faster:.0f} against {real:.0f}")

    def test_help_viewer_opens_once(self):
        game = self.game()
        title = game.window("Hyper Jorv")
        show_help = game.find(title, "label", "☆Show Help")
        game.click(show_help)
        viewer = game.window("ルールの説明")
        # Without a window manager every window opens at the top left corner.
        xdotool("windowmove", poll("the viewer's X window", lambda: game.x_window("ルールの説明")), 520, 0)
        game.click(show_help)
        time.sleep(0.3)
        self.assertEqual(len(game.windows("ルールの説明")), 1)
        self.assertTrue(game.find(viewer, "combo box"))

        window = game.start()
        game.menu(window, "h", "r")
        time.sleep(0.3)
        self.assertEqual(len(game.windows("ルールの説明")), 1)

        # Closed, it opens again from the menu.
        game.close_window("ルールの説明")
        poll("the viewer to close", lambda: not game.windows("ルールの説明"))
        game.menu(window, "h", "r")
        game.window("ルールの説明")
        time.sleep(0.3)
        self.assertEqual(len(game.windows("ルールの説明")), 1)
        self.assertIsNone(game.proc.poll())

    def test_version_box_and_its_ok(self):
        game, window = self.ready()
        game.menu(window, "h", "a")
        box = game.window("バージョン情報")
        texts = [c.name for c in descendants(box) if c.getRoleName() == "label"]
        self.assertIn("Hyper Jorv\nバージョン 1.2\nProduced By QLM", [t.replace("\r", "") for t in texts])
        game.click(game.find(box, "push button", "OK"))
        poll("the box to close", lambda: not game.windows("バージョン情報"))
        self.assertEqual(game.labels(window)[0].name, "準備はできましたか？")

    def test_flag_keys_do_nothing_before_play(self):
        game, window = self.ready()
        game.keys("F1", "F2", "F3", "F4", "F5")
        time.sleep(0.5)
        for colour in ["赤", "黄色", "黒", "緑", "白"]:
            flag = game.flag(window, colour)
            self.assertEqual(flag.description, "さがっている", colour)
            self.assertFalse(flag.getState().contains(pyatspi.STATE_CHECKED), colour)
        label1, label2 = game.labels(window)
        self.assertEqual(label1.name, "準備はできましたか？")
        self.assertFalse(showing(label2))

    def test_first_command_answered_then_a_miss(self):
        game, window = self.ready()
        button = game.find(window, "push button", "－－－－＞")
        game.click(button)
        game.wait_label1(window, "the first press", lambda t: t == "それでは、開始します！")
        self.assertFalse(showing(button))
        game.wait_label1(window, "the stage number", lambda t: t == "レベル1")
        game.wait_label1(window, "the stage name", lambda t: t == "まずは小手調べ")

        # Stage 1 calls red or white up or down; every other flag stays down.
        command = game.wait_label1(window, "the first command", lambda t: re.fullmatch("(赤|白)(あげて|さげて)", t))
        colour, action = command[0], command[1:]
        key = {"赤": "F1", "白": "F5"}[colour]
        if action == "あげて":
            game.keys(key)
        game.wait_label1(window, "the second command", lambda t: len(t) == 1)
        label1, label2 = game.labels(window)
        self.assertFalse(showing(label2))
        want = "あがっている" if action == "あげて" else "さがっている"
        self.assertEqual(game.flag(window, "赤" if colour == "赤" else "白").description, want)

        # The other flag than the one called is never asked to move.
        other = {"赤": "F5", "白": "F1"}[label1.name]
        game.keys(other)
        poll("Ｍｉｓｓ!", lambda: showing(label2) and label2.name == "Ｍｉｓｓ!")
        self.assertTrue(showing(game.find(window, "push button", "－－－－＞")))

    def test_raised_red_flag_on_screen(self):
        game, window = self.ready()
        game.click(game.find(window, "push button", "－－－－＞"))
        red_button = game.find(window, "push button", "赤 (F1)")
        poll("flag input", lambda: red_button.getState().contains(pyatspi.STATE_SENSITIVE))
        game.keys("F1")
        flag = game.flag(window, "赤")
        poll("the red flag raised", lambda: flag.description == "あがっている")
        self.assertTrue(flag.getState().contains(pyatspi.STATE_CHECKED))
        x, y = centre(flag)
        # Raised, the flag stands 39 pixels above its lowered place.
        self.assertEqual(pixel(x, y), RED)
        self.assertEqual(pixel(x, y + 39), BACKGROUND)

    def test_quit_item_ends_with_status_0(self):
        game, window = self.ready()
        game.menu(window, "g", "q")
        self.assertEqual(game.exit_status(), 0)

    def test_window_closed_during_a_wait_ends_with_status_0(self):
        game, window = self.ready()
        game.click(game.find(window, "push button", "－－－－＞"))
        game.wait_label1(window, "the stage number", lambda t: t == "レベル1")
        game.close_window("Hyper Jorv")
        self.assertEqual(game.exit_status(), 0)


if __name__ == "__main__":
    unittest.main()
