"""The game in a Wayland session as GNOME runs it: mutter as the compositor (headless) with XWayland, and the
game started with no platform chosen, as its desktop entry starts it. It runs as an X client of XWayland, so the
compositor's window manager places its windows where the game asks and frames them as it asks."""

import glob, os, re, subprocess, tempfile, unittest

import pyatspi
from e2e import Game, poll


def wayland_session():  # starts mutter; the environment then holds the session's displays, as a desktop's would
    log = tempfile.NamedTemporaryFile(mode="w+")
    mutter = subprocess.Popen(["mutter", "--wayland", "--headless", "--virtual-monitor", "1024x768",
                               "--wayland-display", "wayland-jorv"], stdout=log, stderr=log)
    x = poll(lambda: f"mutter to start XWayland: it says\n{open(log.name).read()}",
             lambda: re.search(r"X11 display (:\d+)", open(log.name).read()), timeout=60)
    auth = poll("XWayland's authority file", lambda: glob.glob(os.environ["XDG_RUNTIME_DIR"] + "/.mutter-Xwayland*"))
    os.environ.update(WAYLAND_DISPLAY="wayland-jorv", XDG_SESSION_TYPE="wayland", DISPLAY=x[1], XAUTHORITY=auth[0])
    return lambda: (mutter.kill(), mutter.wait(), log.close())


class WaylandSession(unittest.TestCase):
    def test_the_game_window_takes_the_title_screens_place_with_neither_minimise_nor_maximise(self):
        self.addCleanup(wayland_session())
        self.addCleanup((game := Game(rate=1, managed=True)).close)

        def offered(name):  # the window manager's verdict: may the player minimise, maximise the window?
            actions = game.prop(game.x.create_resource_object("window", game.x_window(name)[0]),
                                "_NET_WM_ALLOWED_ACTIONS")
            return [game.x.intern_atom(f"_NET_WM_ACTION_{a}") in actions for a in ("MINIMIZE", "MAXIMIZE_HORZ")]

        title = game.window("Hyper Jorv")
        title_id, title_client, title_frame = game.x_window("Hyper Jorv")
        # The viewer, which may be minimised and maximised, shows that the window manager offers both.
        game.click(game.find(title, pyatspi.ROLE_PUSH_BUTTON, "☆Show Help"))
        game.window("ルールの説明")
        self.assertEqual([offered("Hyper Jorv"), offered("ルールの説明")], [[False, False], [True, True]])
        game.close_window("ルールの説明")  # which may stand over the title screen's choices
        poll("the viewer to close", lambda: not game.windows("ルールの説明"))

        game.start(title)
        game.game_window()
        window_id, client, frame = game.x_window("Hyper Jorv")
        self.assertNotEqual(window_id, title_id)
        self.assertEqual((frame[:2], client[:2], offered("Hyper Jorv")), (title_frame[:2], title_client[:2], [False, False]),
                         "the game window's frame and client area against the title screen's, and its buttons")
