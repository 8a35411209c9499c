"""Closing the game window in the middle of a wait, again and again, while
every core is busy: each close must end the program with status 0. Not part
of the suite; closes.sh runs it and prints the count."""

import os
import unittest

from e2e import Game


class Closes(unittest.TestCase):
    def test_every_close_ends_the_program(self):
        runs, ended = int(os.environ.get("JORV_CLOSES", "50")), 0
        for run in range(1, runs + 1):
            game = Game()
            try:
                title = game.window("Hyper Jorv")
                game.click(game.find(title, "label", "☆Game Start"))
                window = game.window("Hyper Jorv", role="frame")
                game.click(game.find(window, "push button", "－－－－＞"))
                game.wait_label1(window, "the stage number", lambda t: t == "レベル1")
                game.close_window("Hyper Jorv")
                status = game.exit_status()
                ended += status == 0
                print(f"close {run}: status {status}", flush=True)
            except AssertionError as failure:
                print(f"close {run}: {failure}", flush=True)
            finally:
                game.close()
        print(f"{ended} of {runs} closes ended the program with status 0")
        self.assertEqual(ended, runs)
