"""The real game on a real X desktop, used as a player uses it.

run.sh provides the display, a window manager (openbox) and the buses. Input
goes through the X server (xdotool), including the keys a player presses by
accident and a key held down; the windows are read through the accessibility
interface that Qt exposes (AT-SPI) and through their X properties.

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


def poll(what, probe, timeout=30.0, interval=0.02):
    """Calls probe until it returns something true; returns that."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            value = probe()
            if value:
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


def extents(acc):
    return acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True)


def pixel(x, y):
    """The colour at (x, y) of the whole screen, from a screenshot."""
    out = subprocess.run(
        ["import", "-silent", "-window", "root", "-crop", f"1x1+{x}+{y}", "-depth", "8", "rgb:-"],
        check=True, capture_output=True,
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
        return next((a for a in pyatspi.Registry.getDesktop(0)
                     if a is not None and a.get_process_id() == self.proc.pid), None)

    def close(self):
        if self.proc.poll() is None:
            self.proc.kill()
        self.proc.wait()

    # Reading through accessibility

    def windows(self, name):
        return [w for w in self.app if w is not None and w.name == name and showing(w)]

    def window(self, name, role=None, timeout=30.0):
        return poll(f"the window {name}", lambda: next(
            (w for w in self.windows(name) if role is None or w.getRoleName() == role), None), timeout)

    def find(self, root, role, name=None, timeout=30.0):
        return poll(f"a {role} {name or ''}", lambda: next(
            (a for a in descendants(root) if a.getRoleName() == role and name in (None, a.name)), None), timeout)

    def labels(self, window):
        """Label1 and Label2 of the game window: the window keeps its labels
        at the bottom of its stacking, Label1 lowest."""
        found = [c for c in self.find(window, "filler") if c.getRoleName() == "label"]
        return found[0], found[1]

    def flag(self, window, colour):
        return self.find(window, "image", f"{colour}の旗")

    def wait_label1(self, window, what, match, timeout=60.0):
        label1, label2 = self.labels(window)
        try:
            return poll(what, lambda: match(label1.name) and label1.name, timeout)
        except AssertionError as e:
            raise AssertionError(f"{e}; Label1 shows {label1.name!r}, Label2 {label2.name!r}") from None

    # Reading through the X server

    def x_windows(self):
        """The program's mapped top-level windows: {title: (client, frame)},
        each an (x, y, width, height) on the screen."""
        d = display.Display()
        try:
            atom = d.intern_atom
            root, found = d.screen().root, {}

            def walk(w):
                for child in w.query_tree().children:
                    yield child
                    yield from walk(child)

            for w in walk(root):
                owner = w.get_full_property(atom("_NET_WM_PID"), X.AnyPropertyType)
                if not owner or owner.value[0] != self.proc.pid or w.get_attributes().map_state != X.IsViewable:
                    continue
                title = w.get_full_property(atom("_NET_WM_NAME"), X.AnyPropertyType).value.decode()
                g, at = w.get_geometry(), w.translate_coords(root, 0, 0)
                ext = w.get_full_property(atom("_NET_FRAME_EXTENTS"), X.AnyPropertyType)
                left, right, top, bottom = ext.value if ext else (0, 0, 0, 0)
                client = (-at.x, -at.y, g.width, g.height)
                found[title] = (w.id, client, (client[0] - left, client[1] - top,
                                               g.width + left + right, g.height + top + bottom))
            return found
        finally:
            d.close()

    def x_window(self, name):
        return poll(f"the X window {name}", lambda: self.x_windows().get(name))

    def active_window(self):
        d = display.Display()
        try:
            active = d.screen().root.get_full_property(d.intern_atom("_NET_ACTIVE_WINDOW"), X.AnyPropertyType)
            return active.value[0] if active else None
        finally:
            d.close()

    # Input

    def placed(self, acc):
        """Waits until Qt's idea of where acc's window stands is where the X
        server has it: Qt learns where the window manager put a window a
        little after the fact."""
        top = acc
        while top.parent is not None and top.parent.getRoleName() != "application":
            top = top.parent

        def agreed():
            b = extents(top)
            return (b.x, b.y, b.width, b.height) in [c for _, c, _ in self.x_windows().values()]

        try:
            poll(f"the window {top.name} placed", agreed)
        except AssertionError as e:
            b = extents(top)
            raise AssertionError(f"{e}: at {(b.x, b.y, b.width, b.height)}; X has {self.x_windows()}") from None

    def click(self, acc, placed=False):
        if not placed:
            self.placed(acc)
        box = extents(acc)
        # (mousemove --sync would wait for ever when the pointer is already there)
        xdotool("mousemove", box.x + box.width // 2, box.y + box.height // 2, "click", 1)

    def keys(self, *keys, window="Hyper Jorv"):
        """Keys to a window, which the window manager makes active first."""
        xdotool("windowactivate", "--sync", self.x_window(window)[0])
        for key in keys:
            xdotool("key", key)

    def menu(self, window, menu_key, item_key):
        """An item of the game window's menus through its access keys."""
        self.keys(f"alt+{menu_key}")
        poll("the menu to open", lambda: any(showing(m) for m in descendants(window) if m.getRoleName() == "popup menu"))
        xdotool("key", item_key)

    def close_window(self, name):
        """What a window manager does when the window's close box is clicked."""
        d = display.Display()
        target = d.create_resource_object("window", self.x_window(name)[0])
        atom = d.intern_atom
        target.send_event(protocol.event.ClientMessage(
            window=target, client_type=atom("WM_PROTOCOLS"),
            data=(32, [atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0])))
        # A round trip before hanging up: the X server drops the requests of
        # a client that has closed its connection before they were read, so
        # a send followed at once by a close can vanish on a busy server.
        d.sync()
        d.close()

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

    def assertNear(self, a, b, what):
        self.assertTrue(all(abs(p - q) <= 1 for p, q in zip(a, b)), f"{what}: {a} against {b}")

    def test_windows_menus_and_help_viewer(self):
        game = self.game()
        title = game.window("Hyper Jorv")
        texts = [c.name for c in descendants(title) if c.getRoleName() == "label" and showing(c)]
        self.assertEqual(texts, ["Hyper Jorv", "Produced By QLM", "Version 1.2",
                                 "☆Game Start", "☆Show Help", "☆End This Game"])

        # The viewer, opened twice, is one; its text box follows the window's
        # outer size, frame included, from the first showing on.
        show_help = game.find(title, "label", "☆Show Help")
        game.click(show_help)
        viewer = game.window("ルールの説明")
        game.click(show_help)
        time.sleep(0.3)
        self.assertEqual(len(game.windows("ルールの説明")), 1)
        viewer_id, _, (_, _, width, height) = game.x_window("ルールの説明")
        text = extents(game.find(viewer, "text"))
        self.assertNear((text.width, text.height), (width - 33, height - 100), "the text box")
        xdotool("windowminimize", "--sync", viewer_id)

        # The game window opens where the title screen stood, frame on frame.
        _, _, title_frame = game.x_window("Hyper Jorv")
        game.click(game.find(title, "label", "☆Game Start"))
        window = game.window("Hyper Jorv", role="frame")
        self.assertEqual(len(game.windows("Hyper Jorv")), 1)  # the title screen is gone
        self.assertNear(game.x_window("Hyper Jorv")[2][:2], title_frame[:2], "the game window's frame")
        label1, label2 = game.labels(window)
        self.assertEqual(label1.name, "準備はできましたか？")
        self.assertFalse(showing(label2))
        panels = [c.name for c in game.find(window, "status bar")]
        self.assertEqual(panels[:2], ["レベル1：まずは小手調べ", "残りミス：10"])
        self.assertRegex(panels[2], r"^\d{1,2}:\d\d$")

        # The minimised viewer comes back, active, and Alt+C closes it at once.
        game.menu(window, "h", "r")
        poll("the viewer shown again", lambda: game.active_window() == game.x_windows().get("ルールの説明", [0])[0])
        self.assertEqual(len(game.windows("ルールの説明")), 1)
        game.keys("alt+c", window="ルールの説明")
        poll("the viewer to close", lambda: not game.windows("ルールの説明"))

        game.menu(window, "h", "a")
        box = game.window("バージョン情報")
        texts = [c.name.replace("\r", "") for c in descendants(box) if c.getRoleName() == "label"]
        self.assertIn("Hyper Jorv\nバージョン 1.2\nProduced By QLM", texts)
        game.click(game.find(box, "push button", "OK"))
        poll("the box to close", lambda: not game.windows("バージョン情報"))

        # Before play the flag keys move nothing.
        game.keys("F1", "F2", "F3", "F4", "F5")
        time.sleep(0.5)
        for colour in ["赤", "黄色", "黒", "緑", "白"]:
            self.assertEqual(game.flag(window, colour).description, "さがっている", colour)
        self.assertEqual(label1.name, "準備はできましたか？")

        game.menu(window, "g", "q")
        self.assertEqual(game.exit_status(), 0)

    def test_play_with_stray_and_held_keys_then_close(self):
        game = self.game()
        game.click(game.find(game.window("Hyper Jorv"), "label", "☆Game Start"))
        window = game.window("Hyper Jorv", role="frame")
        button = game.find(window, "push button", "－－－－＞")
        game.click(button)
        # The keys that press a focused button, while the progress button is
        # hidden, press nothing: stage 1 is introduced once.
        game.wait_label1(window, "the first press", lambda t: t == "それでは、開始します！")
        self.assertFalse(showing(button))
        game.keys("space", "Return", "KP_Enter")
        game.wait_label1(window, "the stage number", lambda t: t == "レベル1")
        game.keys("space", "Return", "Tab", "space")
        game.wait_label1(window, "the stage name", lambda t: t == "まずは小手調べ")

        # Stage 1 calls red or white up or down, each answered as it says. At
        # the first あげて the named flag's key is held down: the flag goes up
        # once and stays up.
        raised = {"赤": False, "白": False}
        game.keys()
        while True:
            command = game.wait_label1(window, "a command", lambda t: re.fullmatch("(赤|白)(あげて|さげて)", t))
            colour, up = command[0], command.endswith("あげて")
            key = {"赤": "F1", "白": "F5"}[colour]
            if up and not raised[colour]:
                break
            if raised[colour] != up:
                xdotool("key", key)
                raised[colour] = up
            game.wait_label1(window, "the next command", lambda t: len(t) == 1)
        flag = game.flag(window, colour)
        xdotool("keydown", key)
        poll("the flag raised", lambda: flag.description == "あがっている")
        held = time.monotonic()
        while time.monotonic() - held < 1.2:
            self.assertEqual(flag.description, "あがっている", "a held key toggles on")
        xdotool("keyup", key)
        if colour == "赤":
            # Raised, the red flag stands 39 pixels above its lowered place.
            box = extents(flag)
            x, y = box.x + box.width // 2, box.y + box.height // 2
            self.assertEqual(pixel(x, y), (255, 0, 0))
            self.assertEqual(pixel(x, y + 39), (192, 192, 255))
        label2 = game.labels(window)[1]
        self.assertFalse(showing(label2))

        # A flag that the standing command does not name is never asked to
        # move.
        named = game.wait_label1(window, "a command", lambda t: t[:1] in ("赤", "白"))[0]
        xdotool("key", {"赤": "F5", "白": "F1"}[named])
        poll("Ｍｉｓｓ!", lambda: showing(label2) and label2.name == "Ｍｉｓｓ!")

        # Closed while a message stands, the program ends.
        game.click(game.find(window, "push button", "－－－－＞"))
        game.wait_label1(window, "the misses left", lambda t: t == "ミスはあと9回です。")
        game.close_window("Hyper Jorv")
        self.assertEqual(game.exit_status(), 0)

    def test_faster_clock_keeps_the_counts(self):
        """The measurement counts pump calls until the clock passes the whole
        second nearest to three seconds on: as many per second of the clock
        on either clock, since a pump call lasts one tick of it. (The time
        taken to see each end of the count counts five times on the faster
        clock, so that figure comes out a little low.) A wait of n calls
        lasts n ticks, so on the faster clock stage 1's number stands for
        3 x speedCount of its ticks."""

        def measured(rate):
            game = self.game(rate)
            title = game.window("Hyper Jorv")
            label3 = [c for c in title if c.getRoleName() == "label"]
            start = game.find(title, "label", "☆Game Start")
            # The count begins with the click, and Label3 shows it, times
            # 1.5, when it ends.
            game.placed(start)
            began = time.monotonic()
            game.click(start, placed=True)
            digits = poll("the count", lambda: [c.name for c in label3 if c.name.isdigit()], interval=0.002)
            seconds = (time.monotonic() - began) * rate
            return game, int(digits[0]), int(digits[0]) / 1.5 / seconds

        game, _, real = measured(1)
        game.close()
        game, speed_count, faster = measured(RATE)
        print(f"  pump calls per second of the clock: {real:.0f} real, {faster:.0f} at {RATE} times", end=" ")
        self.assertTrue(0.5 < faster / real < 2, f"{faster:.0f} against {real:.0f}")

        window = game.window("Hyper Jorv", role="frame")
        game.click(game.find(window, "push button", "－－－－＞"))
        game.wait_label1(window, "the stage number", lambda t: t == "レベル1")
        shown = time.monotonic()
        game.wait_label1(window, "the stage name", lambda t: t == "まずは小手調べ")
        seconds, expected = time.monotonic() - shown, 3 * speed_count / 1000 / RATE
        print(f"  'レベル1' stood {seconds:.2f} s for {expected:.2f} s", end=" ")
        self.assertTrue(0.7 < seconds / expected < 1.5, f"{seconds:.2f} s for {expected:.2f} s")
        game.close()


if __name__ == "__main__":
    unittest.main()
