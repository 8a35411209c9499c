"""The real game on run.sh's X display, played through the X server (xdotool) and read through AT-SPI and X;
its flags also heard as a screen reader hears them, through AT-SPI's events."""

import atexit, collections, contextlib, functools, os, re, subprocess, tempfile, time, unittest

import pyatspi
from gi.repository import Atspi, GLib
from Xlib import X, display, protocol

RULES_DIR = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))  # where the game finds its rules
Atspi.set_timeout(300, 5000)  # a query to a program that is not pumping waits this long: keep it short, and poll


def poll(what, probe, timeout=30.0, interval=0.02):  # probe()'s first true value; what (or what()) names it
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        with contextlib.suppress(Exception):  # a query that timed out or met a vanished object
            if value := probe():
                return value
        time.sleep(interval)
    raise AssertionError(f"timed out after {timeout} s waiting for {what() if callable(what) else what}")


def showing(acc): return acc.getState().contains(pyatspi.STATE_SHOWING)
def descendants(acc, role): return pyatspi.findAllDescendants(acc, lambda a: a.getRole() == role)
def xdotool(*args): subprocess.run(["xdotool", *map(str, args)], check=True)
def extents(acc): return tuple(acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS))  # x, y, width, height


@functools.cache
def window_manager():
    # openbox frames, places and focuses the windows, as on a player's desktop. A window mapped while it is
    # starting may never be managed, so each probe not framed in a moment gives way to a new one.
    log = tempfile.TemporaryFile()
    atexit.register(subprocess.Popen(["openbox", "--sm-disable"], stdout=log, stderr=log).kill)
    d = display.Display()
    for _ in range(60):
        probe = d.screen().root.create_window(0, 0, 10, 10, 0, d.screen().root_depth)
        probe.map()
        d.sync()
        time.sleep(0.5)
        if probe.query_tree().parent != d.screen().root:
            return d.close()  # which destroys the probe
        probe.destroy()
    log.seek(0)
    raise AssertionError(f"openbox frames no window:\n{log.read().decode()}")


class Game:  # one run of the program, on a clock that goes rate times faster (libfaketime)
    def __init__(self, rate=5, managed=False):  # managed: the display has a window manager of its own
        if not managed:
            window_manager()
        # A sanitizer build wants its runtime first; the faster clock comes first instead, which they tolerate.
        env = dict(os.environ, ASAN_OPTIONS=os.environ.get("ASAN_OPTIONS", "") + ":verify_asan_link_order=0")
        if rate > 1:
            env.update(LD_PRELOAD="/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1", FAKETIME=f"+0 x{rate}")
        self.rate, self.x = rate, display.Display()
        self.proc = subprocess.Popen([os.environ["JORV_GAME"]], cwd=RULES_DIR, env=env)
        try:
            self.app = poll("the program on the accessibility bus", lambda: next(
                a for a in filter(None, pyatspi.Registry.getDesktop(0)) if a.get_process_id() == self.proc.pid), 20)
        except AssertionError:
            self.close()
            raise
        self.app.set_cache_mask(Atspi.Cache.NONE)  # names change all the time: read them fresh on every query

    def close(self):
        self.proc.kill()
        self.proc.wait()
        self.x.close()

    def windows(self, name, role=None):
        return [w for w in filter(None, self.app) if w.name == name and showing(w) and role in (None, w.getRole())]

    def window(self, name, role=None): return poll(name, lambda: self.windows(name, role))[0]

    def find(self, root, role, name=None):
        return poll(f"{role} {name}", lambda: pyatspi.findDescendant(
            root, lambda a: a.getRole() == role and name in (None, a.name)))

    def game_window(self):  # and its Label1 and Label2, the lowest labels of its stacking
        window = self.window("Hyper Jorv", role=pyatspi.ROLE_FRAME)
        self.label1, self.label2 = [c for c in self.find(window, pyatspi.ROLE_FILLER) if c.getRole() == pyatspi.ROLE_LABEL][:2]
        return window

    def wait_label1(self, pattern, timeout=60.0):
        return poll(lambda: f"Label1 to show {pattern}: it shows {self.label1.name!r}, Label2 {self.label2.name!r}",
                    lambda: re.fullmatch(pattern, self.label1.name) and self.label1.name, timeout)

    def start(self, title):  # clicks ☆Game Start; returns the count it measures (Label3 shows it x 1.5), and per second
        labels = [c for c in title if c.getRole() == pyatspi.ROLE_LABEL]
        began = self.click(self.find(title, pyatspi.ROLE_PUSH_BUTTON, "☆Game Start"))
        count = int(poll("the count", lambda: [c.name for c in labels if c.name.isdigit()], interval=0.002)[0])
        return count, count / 1.5 / ((time.monotonic() - began) * self.rate)

    def announced(self, heard):  # counts and forgets the (name, event, detail) of this program's flags in heard's
        # (pid, ...), their announcements ("said") among them
        self.app.get_child_count()  # answered after every event the program sent before
        while GLib.MainContext.default().iteration(False):
            pass
        flags = collections.Counter(e[1:] for e in heard if e[0] == self.proc.pid and "の旗" in e[1])
        heard.clear()
        return flags

    def prop(self, window, name): return window.get_full_property(self.x.intern_atom(name), X.AnyPropertyType).value

    def x_windows(self):  # the mapped windows: {title: (id, client, frame)}, each an (x, y, width, height)
        root, found = self.x.screen().root, {}
        for id in self.prop(root, "_NET_CLIENT_LIST"):
            w = self.x.create_resource_object("window", id)
            if w.get_attributes().map_state == X.IsViewable:
                g, at = w.get_geometry(), w.translate_coords(root, 0, 0)
                left, right, top, bottom = self.prop(w, "_NET_FRAME_EXTENTS")
                found[self.prop(w, "_NET_WM_NAME").decode()] = (id, (-at.x, -at.y, g.width, g.height), (
                    -at.x - left, -at.y - top, g.width + left + right, g.height + top + bottom))
        return found

    def x_window(self, name): return poll(f"the X window {name}", lambda: self.x_windows().get(name))

    def asks(self, name):  # whether a window asks the window manager for a minimise and a maximise button
        hints = self.prop(self.x.create_resource_object("window", self.x_window(name)[0]), "_MOTIF_WM_HINTS")
        return bool(hints[2] & 0x20 or hints[1] & 0x08), bool(hints[2] & 0x40 or hints[1] & 0x10)

    def pixel(self, x, y): return tuple(self.x.screen().root.get_image(x, y, 1, 1, X.ZPixmap, 0xFFFFFFFF).data[2::-1])

    def click(self, acc, times=1):  # returns the time of the (first) click
        # Qt learns where the window manager put a window a little after the fact: first it has acc's where X has it.
        top = pyatspi.findAncestor(acc, lambda a: a.parent.getRole() == pyatspi.ROLE_APPLICATION)
        poll(lambda: f"{top.name} placed: at {extents(top)}; X has {self.x_windows()}",
             lambda: extents(top) in [client for _, client, _ in self.x_windows().values()])
        x, y, width, height = extents(acc)
        began = time.monotonic()
        # (--sync waits for ever on a still pointer)
        xdotool("mousemove", x + width // 2, y + height // 2, "click", "--repeat", times, 1)
        return began

    def send(self, *args, window="Hyper Jorv"): xdotool("windowactivate", "--sync", self.x_window(window)[0], *args)

    def menu(self, window, menu_key, item_key):
        self.send("key", f"alt+{menu_key}")
        poll("the menu to open", lambda: any(showing(m) for m in descendants(window, pyatspi.ROLE_POPUP_MENU)))
        xdotool("key", item_key)

    def level_select(self, window, level):  # double-clicks panel 2 (the gauge covers panel 1), gives the code, types level
        self.click(self.find(window, pyatspi.ROLE_STATUS_BAR)[1], times=2)
        self.find(self.window("Debug"), pyatspi.ROLE_LABEL, "パスワードを入力して下さい。")
        self.send("type", "MPW%7140", window="Debug")
        xdotool("key", "Return")
        poll("the level box", lambda: [label for box in self.windows("Debug") for label in descendants(box, pyatspi.ROLE_LABEL)
                                       if label.name == "レベルを入力して下さい。"])
        self.send("type", level, window="Debug")

    def close_window(self, name):  # as the window manager does for the window's close box
        d = display.Display()
        target = d.create_resource_object("window", self.x_window(name)[0])
        target.send_event(protocol.event.ClientMessage(window=target, client_type=d.intern_atom("WM_PROTOCOLS"),
                          data=(32, [d.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0])))
        d.sync()  # before hanging up: on a busy server the requests of a client that has hung up may go unread
        d.close()


class EndToEnd(unittest.TestCase):
    maxDiff = None

    def listen(self):  # what the flags announce from now on, heard as a screen reader hears it; each listener
        # registered makes Qt hand every key to the registry before the game has it. A notification's appearance is
        # kept as "said": screen readers speak its name.
        heard, kinds = [], ["object:state-changed:checked", "object:property-change:accessible-description",
                            "object:state-changed:showing"]
        def hear(e):
            kind = "said" if e.source.getRole() == pyatspi.ROLE_NOTIFICATION else e.type.rsplit(":", 1)[1]
            if kind != "showing":
                heard.append((e.source.get_process_id(), e.source.name, kind, e.detail1))
        listener = Atspi.EventListener.new(hear)
        for kind in kinds:
            listener.register(kind)
            self.addCleanup(listener.deregister, kind)
        return heard

    def assertNear(self, a, b, what):
        self.assertTrue(all(abs(p - q) <= 1 for p, q in zip(a, b)), f"{what}: {a} against {b}")

    def test_windows_on_the_real_clock_then_stage_1_on_a_faster_one(self):
        """A wait is a count of pump calls, each a tick of the clock: both runs measure about as many a second
        of their clock, and stage 1's number stands for 3 x the measured count of (faster) ticks."""
        self.addCleanup((game := Game(rate=1)).close)
        title = game.window("Hyper Jorv")
        self.assertEqual([c.name for c in descendants(title, pyatspi.ROLE_LABEL) if showing(c)],
                         ["Hyper Jorv", "Produced By QLM", "Version 1.2"])
        choices = descendants(title, pyatspi.ROLE_PUSH_BUTTON)
        self.assertEqual([c.name for c in choices], ["☆Game Start", "☆Show Help", "☆End This Game"])

        # The viewer's text box follows the window's outer size, frame included.
        game.click(choices[1])
        viewer = game.window("ルールの説明")
        viewer_id, _, (_, _, width, height) = game.x_window("ルールの説明")
        self.assertNear(extents(game.find(viewer, pyatspi.ROLE_TEXT))[2:], (width - 33, height - 100), "the text box")
        # The viewer can be minimised and maximised; the title screen, like the game window, neither.
        self.assertEqual([game.asks("ルールの説明"), game.asks("Hyper Jorv")], [(True, True), (False, False)])
        xdotool("windowminimize", "--sync", viewer_id)

        # The game window takes the title screen's place, frame on frame.
        title_frame = game.x_window("Hyper Jorv")[2]
        _, real = game.start(title)
        window = game.game_window()
        self.assertEqual(len(game.windows("Hyper Jorv")), 1)
        self.assertNear(game.x_window("Hyper Jorv")[2][:2], title_frame[:2], "the game window's frame")
        self.assertEqual((game.label1.name, showing(game.label2), game.asks("Hyper Jorv")),
                         ("準備はできましたか？", False, (False, False)))
        self.assertRegex(" | ".join(c.name for c in game.find(window, pyatspi.ROLE_STATUS_BAR)),
                         r"^レベル1：まずは小手調べ \| 残りミス：10 \| \d{1,2}:\d\d$")

        # The minimised viewer comes back, active, and Alt+C closes it at once.
        game.menu(window, "h", "r")
        poll("the viewer active", lambda: game.prop(game.x.screen().root, "_NET_ACTIVE_WINDOW")[0]
             == game.x_windows()["ルールの説明"][0])
        self.assertEqual(len(game.windows("ルールの説明")), 1)
        game.send("key", "alt+c", window="ルールの説明")
        poll("the viewer to close", lambda: not game.windows("ルールの説明"))

        game.menu(window, "h", "a")
        box = game.window("バージョン情報")
        self.assertIn("Hyper Jorv\nバージョン 1.2\nProduced By QLM",
                      [c.name.replace("\r", "") for c in descendants(box, pyatspi.ROLE_LABEL)])
        game.click(game.find(box, pyatspi.ROLE_PUSH_BUTTON, "OK"))
        poll("the box to close", lambda: not game.windows("バージョン情報"))

        # Before play the flag keys move nothing.
        game.send("key", "F1", "F2", "F3", "F4", "F5")
        time.sleep(0.5)
        flags = [game.find(window, pyatspi.ROLE_IMAGE, f"{colour}の旗").description for colour in ["赤", "黄色", "黒", "緑", "白"]]
        self.assertEqual((flags, game.label1.name), (["さがっている"] * 5, "準備はできましたか？"))
        game.menu(window, "g", "q")
        self.assertEqual(game.proc.wait(20), 0)

        heard = self.listen()
        self.addCleanup((game := Game()).close)
        speed_count, faster = game.start(game.window("Hyper Jorv"))
        self.assertTrue(0.5 < faster / real < 2, f"pump calls a second: {faster:.0f} against {real:.0f}")
        window = game.game_window()
        button = game.find(window, pyatspi.ROLE_PUSH_BUTTON, "－－－－＞")
        game.click(button)
        # Space and Enter press nothing while the progress button is hidden: stage 1 comes once, and on time.
        game.wait_label1("それでは、開始します！")
        self.assertFalse(showing(button))
        game.send("key", "space", "Return", "KP_Enter")
        game.wait_label1("レベル1")
        shown = time.monotonic()
        game.send("key", "space", "Return", "Tab", "space")
        game.wait_label1("まずは小手調べ")
        seconds, expected = time.monotonic() - shown, 3 * speed_count / 1000 / game.rate
        print(f"  pump calls a second: {real:.0f} real, {faster:.0f} at {game.rate} times;"
              f" 'レベル1' stood {seconds:.2f} s for {expected:.2f} s", end=" ")
        self.assertTrue(0.7 < seconds / expected < 1.5, f"{seconds:.2f} s for {expected:.2f} s")

        # Stage 1 calls red or white; each さげて of a lowered flag is answered by doing nothing. The first
        # あげて's key is held down (the game window is active from the keys above), X repeating it: one toggle.
        while (command := game.wait_label1("[赤白](あげて|さげて)")).endswith("さげて"):
            game.wait_label1(".")
        keys = {"赤": "F1", "白": "F5"}
        flag = game.find(window, pyatspi.ROLE_IMAGE, f"{command[0]}の旗")
        game.announced(heard)
        xdotool("keydown", keys[command[0]])
        time.sleep(1.5)
        xdotool("keyup", keys[command[0]])
        self.assertEqual(game.announced(heard), {(f"{command[0]}の旗", "checked", 1): 1,
                                                 (f"{command[0]}の旗", "accessible-description", 0): 1,
                                                 (f"{command[0]}の旗 あがっている", "said", 1): 1})
        if command[0] == "赤":  # raised, the red flag stands 39 pixels above its lowered place
            x, y, width, height = extents(flag)
            self.assertEqual([game.pixel(x + width // 2, y + height // 2 + dy) for dy in (0, 39)],
                             [(255, 0, 0), (192, 192, 255)])
        self.assertFalse(showing(game.label2))

        # A flag that the standing command does not name is never asked to move.
        xdotool("key", {"赤": "F5", "白": "F1"}[game.wait_label1("[赤白].*")[0]])
        poll("Ｍｉｓｓ!", lambda: showing(game.label2) and game.label2.name == "Ｍｉｓｓ!")

        # Closed while a message stands, the program ends.
        game.click(game.find(window, pyatspi.ROLE_PUSH_BUTTON, "－－－－＞"))
        game.wait_label1("ミスはあと9回です。")
        game.close_window("Hyper Jorv")
        self.assertEqual(game.proc.wait(20), 0)

    def test_a_flag_announces_each_raise_and_lowering_once_and_nothing_as_it_slides(self):
        """Heard on a clock ten times faster: red and white raised by their keys, a miss, and from it the level
        select's ending, which lowers the white flag and slides it sideways."""
        heard = self.listen()
        self.addCleanup((game := Game(rate=10)).close)
        game.start(game.window("Hyper Jorv"))
        window = game.game_window()
        game.click(game.find(window, pyatspi.ROLE_PUSH_BUTTON, "－－－－＞"))
        flags = [game.find(window, pyatspi.ROLE_IMAGE, f"{colour}の旗") for colour in ["赤", "白"]]
        # Both up as soon as the flag keys act: no answer to the first command has both up.
        button = game.find(window, pyatspi.ROLE_PUSH_BUTTON, "赤 (F1)")
        poll("the flag keys to act", lambda: button.getState().contains(pyatspi.STATE_ENABLED))
        game.announced(heard)
        game.send("key", "F1", "F5")
        poll("Ｍｉｓｓ!", lambda: showing(game.label2) and game.label2.name == "Ｍｉｓｓ!")
        poll("Ｍｉｓｓ! said", lambda: game.announced([]) == {} and (game.proc.pid, "Ｍｉｓｓ!", "said", 1) in heard)
        self.assertEqual(([flag.description for flag in flags], game.announced(heard)), (["あがっている"] * 2, {
            ("赤の旗", "checked", 1): 1, ("赤の旗", "accessible-description", 0): 1, ("赤の旗 あがっている", "said", 1): 1,
            ("白の旗", "checked", 1): 1, ("白の旗", "accessible-description", 0): 1, ("白の旗 あがっている", "said", 1): 1}))

        game.level_select(window, "13")
        xdotool("key", "Return")
        poll("ALL Clear!", lambda: showing(game.label2) and game.label2.name == "ALL Clear!")
        # The white flag comes down, then slides 1680 twips over to the black flag's place.
        x = extents(flags[1])[0]
        poll(lambda: f"the white flag at {x - 112}: it is at {extents(flags[1])}",
             lambda: extents(flags[1])[0] <= x - 112)
        self.assertEqual((flags[1].description, game.announced(heard)), ("さがっている", {
            ("白の旗", "checked", 0): 1, ("白の旗", "accessible-description", 0): 1}))
        game.close_window("Hyper Jorv")
        self.assertEqual(game.proc.wait(20), 0)
