"""The real game played by keyboard alone under Orca, Debian's screen reader, whose speech-dispatcher writes
every message to a file instead of a voice. What Orca says is read from its own log ("SPEECH OUTPUT"): on a faster
clock messages come closer together than a player ever hears them, and speech-dispatcher drops a message that the
next one overtakes."""

import contextlib, os, re, shutil, signal, subprocess, tempfile, unicodedata, unittest

from e2e import Game, poll, pyatspi, showing, window_manager, xdotool

SPEECHD = """LogLevel 3
LogDir "default"
DefaultVolume 100
SymbolsPreproc "char"
SymbolsPreprocFile "symbols.dic"
SymbolsPreprocFile "orca.dic"
SymbolsPreprocFile "orca-chars.dic"
AddModule "file" "sd_generic" "file.conf"
DefaultModule file
AudioOutputMethod "alsa"
"""
# A whole command of stage 1, as Orca reads it out.
COMMAND = "(notification )?[赤白](あげ|さげ)(て|ないで)[.]?"
# sd_generic quotes $DATA for single quotes; it drops backslashes, so the line is written by a script of ours.
# Orca runs in the C locale, whose language Orca 43 gives as "en" and Orca 48 as "c"; a language without a charset
# here would get Latin-1.
MODULE = """GenericExecuteSynth "{say} '$DATA'"
AddVoice "en" "male1" "default"
DefaultVoice "default"
GenericLanguage "en" "en" "utf-8"
GenericLanguage "c" "c" "utf-8"
"""
# Orca will not start while another Orca of the same user runs anywhere on the machine (the player's own, another
# test's); this one has a display and a bus of its own, so it starts regardless. Its log is written line by line.
ORCA = """import builtins, functools, runpy, sys
builtins.open = functools.partial(lambda open, file, mode="r", *args, **kw: open(file, mode, *args, **(
    dict(kw, buffering=1) if mode == "w" and str(file).endswith(".log") and not args else kw)), builtins.open)
sys.argv[0] = "/usr/bin/orca"
main = runpy.run_path(sys.argv[0], run_name="orca_launcher")["main"]
for name in ("otherOrcas", "other_orcas"):
    main.__globals__[name] = lambda: []
sys.exit(main())"""


class Orca:  # Orca on run.sh's display and bus, with a scratch home; lines() is what it has said
    def __init__(self):
        self.home = tempfile.mkdtemp()
        config = os.path.join(self.home, ".config", "speech-dispatcher")
        os.makedirs(os.path.join(config, "modules"))
        self.spoken, say = os.path.join(self.home, "spoken"), os.path.join(self.home, "say")
        self.debug = os.environ.get("JORV_ORCA_LOG") or os.path.join(self.home, "orca-debug.log")
        # sd_generic starts only with a sound device: .asoundrc gives it a null one.
        for path, text in [(say, f'#!/bin/sh\nprintf "%s\\n" "$1" >> {self.spoken}\n'), (self.spoken, ""), (self.debug, ""),
                           (os.path.join(config, "speechd.conf"), SPEECHD),
                           (os.path.join(config, "modules", "file.conf"), MODULE.format(say=say)),
                           (os.path.join(self.home, ".asoundrc"), "pcm.!default { type null }\n")]:
            with open(path, "w") as f:
                f.write(text)
        os.chmod(say, 0o755)
        env = dict(os.environ, LANG="C.UTF-8", HOME=self.home, XDG_CONFIG_HOME=config.rsplit("/", 1)[0], GSETTINGS_BACKEND="memory",
                   XDG_DATA_HOME=os.path.join(self.home, "data"), XDG_CACHE_HOME=os.path.join(self.home, "cache"))
        self.log = open(os.path.join(self.home, "orca.out"), "w")
        self.proc = subprocess.Popen(["/usr/bin/python3", "-c", ORCA, f"--debug-file={self.debug}"], env=env,
                                     stdout=self.log, stderr=self.log)
        try:
            poll("Orca to say it is on", lambda: self.proc.poll() is None and "Screen reader on." in self.lines(), 60)
        except AssertionError:
            self.log.flush()
            print(open(self.log.name).read()[-3000:])
            self.close()
            raise

    def lines(self):  # what Orca has said, by its log
        with open(self.debug, encoding="utf-8", errors="replace") as f:
            return re.findall(r"SPEECH OUTPUT: '(.*)'\s*\{", f.read())

    def close(self):
        self.proc.terminate()
        try:
            self.proc.wait(10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
        pid = os.path.join(os.environ["XDG_RUNTIME_DIR"], "speech-dispatcher", "pid", "speech-dispatcher.pid")
        with contextlib.suppress(OSError, ValueError):
            os.kill(int(open(pid).read()), signal.SIGTERM)
        self.log.close()
        if os.environ.get("JORV_ORCA_KEEP"):
            shutil.copy(self.spoken, os.environ["JORV_ORCA_KEEP"])
        shutil.rmtree(self.home, ignore_errors=True)


class ScreenReader(unittest.TestCase):
    maxDiff = None

    @classmethod
    def setUpClass(cls):
        window_manager()
        cls.orca = Orca()

    @classmethod
    def tearDownClass(cls):
        cls.orca.close()

    def hear(self, said, mark, timeout=30):  # the lines said after mark lines that read said (as Orca writes it)
        return poll(lambda: f"Orca to say {said}; it said {self.orca.lines()[mark:]}", lambda: [
            line for line in self.orca.lines()[mark:] if re.fullmatch(f"(notification )?{said}[.]?",
                                                                       unicodedata.normalize("NFKC", line).strip())], timeout)

    def test_a_game_by_keyboard_to_a_miss_and_the_game_over(self):
        """Each choice of the title as the keyboard reaches it; each command whole, never a part of it; both flags
        raised by their keys; the messages of a stage, of a miss and of the game over, on a clock twenty times
        faster. Play goes by what the game shows, and what Orca said is checked after it: Orca may lag."""
        self.addCleanup((game := Game(rate=20)).close)
        game.window("Hyper Jorv")
        mark = len(self.orca.lines())
        for key, choice in [("Tab", "☆Game Start"), ("Down", "☆Show Help"), ("Up", "☆Game Start")]:
            game.send("key", key)
            self.hear(f"{choice} (push )?button", mark)  # Orca 48 says "button"
            mark = len(self.orca.lines())
        game.send("key", "Return")
        window = game.game_window()
        red = game.find(window, pyatspi.ROLE_PUSH_BUTTON, "赤 (F1)")
        raised = 0
        for misses in range(10, -1, -1):
            mark = len(self.orca.lines())
            game.send("key", "Return")  # the progress button has the focus
            poll("the banner to go", lambda: not showing(game.label2))
            # Both up answers no command of stage 1; a turn may miss before the keys come, unanswered.
            if poll("the flag keys or a miss", lambda: red.getState().contains(pyatspi.STATE_ENABLED) or showing(
                    game.label2)) and not showing(game.label2):
                game.send("key", "F1", "F5")
            poll("Ｍｉｓｓ!", lambda: showing(game.label2))
            for said in ["それでは、開始します!" if misses == 10 else f"ミスはあと{misses}回です。", "レベル1", "まずは小手調べ",
                         "Miss!"]:
                self.hear(said, mark)
            spoken = [unicodedata.normalize("NFKC", line) for line in self.orca.lines()[mark:]]
            commands = [line for line in spoken if re.match("(notification )?[赤白][あさ]", line)]
            self.assertTrue(commands and all(re.fullmatch(COMMAND, line) for line in commands), spoken)
            raised += all(any(re.fullmatch(f"(notification )?{flag}の旗 あがっている[.]?", line) for line in spoken)
                          for flag in "赤白")
        self.assertGreater(raised, 0, "no flag raised by its key was said")
        mark = len(self.orca.lines())
        game.send("key", "Return")
        for said in ["ゲームオーバーです。", "また出直してきて下さい。", "GAME OVER"]:
            self.hear(said, mark)
        self.assertEqual(game.proc.wait(20), 0)
        self.assertNotIn("notification.", self.orca.lines())  # nothing appears empty

    def test_the_ending_from_the_level_select(self):
        """The ending's banner, its farewells and its last words, each once, on a clock five times faster: the
        level is typed, then Return pressed once Orca has caught up with the box, whose banner comes a second after
        (Orca drops events that pile up beyond fifty)."""
        self.addCleanup((game := Game(rate=5)).close)
        game.start(game.window("Hyper Jorv"))
        window = game.game_window()
        mark = len(self.orca.lines())
        game.level_select(window, "13")
        self.hear("1?3", mark)  # Orca has caught up with the box (43 says the key, 48 the text): the ending
        # follows Return at once
        mark = len(self.orca.lines())
        xdotool("key", "Return")
        for said in ["ALL Clear!", "全面終了しました", "お疲れ様でした", "THE END"]:
            self.assertEqual(len(self.hear(said, mark, 90)), 1)
        poll("the last button", lambda: showing(game.find(window, pyatspi.ROLE_PUSH_BUTTON, "お疲れ様でした")))
        game.send("key", "Return")
        self.assertEqual(game.proc.wait(20), 0)
