"""The terminal front end as a person meets it: the program runs in a shell
inside tmux, keys are typed with send-keys and the screen is read with
capture-pane."""
import array
import os
import re
import shlex
import shutil
import subprocess
import tempfile
import time

import pavsdi

PROMPT = "PavSdi> "
ANSWER = "(o)ui, (n)on, Échap = annuler ? "


class TerminalTest(pavsdi.RootTest):
    """The program in a shell in tmux, at `columns` columns."""
    columns = 100
    # How the program plays (variables of its command line).
    sound = "PAVSDI_AUDIO=none"

    def setUp(self):
        super().setUp()
        # Two measures, so that stepping has somewhere to go.
        self.write("prv.tab", b"o3 c d e f | g a b >c\r\n")
        self.socket = "pavsdi-test-%d" % os.getpid()
        env = dict(os.environ, LANG="C.UTF-8", TERM="xterm")
        env.pop("TMUX", None)
        subprocess.run(["tmux", "-L", self.socket, "-f", "/dev/null", "new-session", "-d", "-s", "t",
                        "-x", str(self.columns), "-y", "50", "bash --norc --noprofile"], check=True, env=env)
        self.shell("PS1='$ '; cd %s; stty -g > stty-before" % shlex.quote(self.root))
        self.wait_for("$ ")

    def tearDown(self):
        subprocess.run(["tmux", "-L", self.socket, "kill-server"], capture_output=True)
        super().tearDown()

    def keys(self, *keys):
        subprocess.run(["tmux", "-L", self.socket, "send-keys", "-t", "t", *keys], check=True)

    def type(self, text):
        self.keys("-l", text)

    def shell(self, line):
        self.type(line)
        self.keys("Enter")

    def screen(self, joined=True):
        """Everything the terminal has shown, its history included; lines
        that the terminal itself wrapped are joined unless asked not to."""
        done = subprocess.run(["tmux", "-L", self.socket, "capture-pane", "-p", *(["-J"] if joined else ["-N"]),
                               "-S", "-", "-t", "t"], capture_output=True, check=True)
        return done.stdout.decode("utf-8")

    def wait_for(self, text, after=0, count=1):
        """Waits until `text` has appeared `count` times on the screen past
        position `after`; returns the screen."""
        deadline = time.monotonic() + 30
        while True:
            screen = self.screen()
            if screen[after:].count(text) >= count:
                return screen
            if time.monotonic() > deadline:
                self.fail("%r never appeared; the screen:\n%s" % (text, screen))
            time.sleep(0.1)

    def start(self):
        mark = len(self.screen().rstrip())
        self.shell("env -u DISPLAY -u WAYLAND_DISPLAY -u PAVSDI_UI PAVSDI_ROOT=%s %s %s;"
                   " echo statut=$?" % (shlex.quote(self.root), self.sound,
                                        shlex.quote(os.path.join(pavsdi.BUILD, "pavsdi"))))
        return self.wait_for(PROMPT, after=mark)[mark:]

    def command(self, line, expect):
        """Types a command line; returns the screen from it on once `expect`
        has appeared."""
        mark = len(self.screen().rstrip())
        self.shell(line)
        return self.wait_for(expect, after=mark)[mark:]

    def answer(self, key, expect):
        """Answers the waiting question with one key, without Enter."""
        mark = len(self.screen().rstrip())
        self.keys(key)
        return self.wait_for(expect, after=mark)[mark:].lstrip(" ")

    def assert_terminal_as_before(self):
        self.command("stty -g > stty-after; echo stty-$((1 + 1))", "stty-2\n")
        with open(os.path.join(self.root, "stty-before")) as before, \
                open(os.path.join(self.root, "stty-after")) as after:
            self.assertEqual(before.read(), after.read(), "the terminal's settings were not put back")



class Terminal(TerminalTest):
    def test_a_session_by_names_and_single_keys(self):
        screen = self.start()
        self.assertIn("PavSdi — tapez aide pour la liste des commandes", screen)
        # No clipboard without a display: said once, and nothing contradicts it.
        self.assertEqual(1, screen.count("presse papier inaccessible : la tablature courante n'y a pas été mise"))
        self.assertNotIn("clipsend", screen)
        self.assertNotIn("\t", screen)
        for protocol in ("INFO", "ASK", "CUE", "RUN", "\\\\"):
            self.assertNotIn(protocol, screen)

        out = self.command("aide harm", PROMPT)
        self.assertIn("gamme (F2, 503) : choisit une gamme et la joue", out)
        out = self.command("aide tabla", PROMPT)
        self.assertIn("ouvrir CHEMIN (Ctrl+O, 24332) : fait d'un fichier .tab la tablature courante", out)
        out = self.command("aide tempo", PROMPT)
        self.assertIn("tempo : règle le tempo\nmenu Init, touche F12, numéro 402", out)

        # The scale drill: the first kind is taken with one key.
        out = self.command("gamme", ANSWER)
        self.assertIn("oui=saisie non=suivant annuler=quitter", out)
        out = self.answer("o", PROMPT)
        self.assertTrue(out.startswith("oui\n"), out)
        with open(os.path.join(self.orfeon, "prvinfo.tab"), "rb") as f:
            scale = f.read().decode("cp1252").strip()
        self.assertTrue(scale, "the chosen scale is the current information")

        # Measure by measure: yes plays the first and asks the second, no
        # plays it and goes back, Escape ends; Enter is the default (yes).
        out = self.command("mesure", ANSWER)
        self.assertIn("mesure 1 : notes 1 à 4\n"
                      "oui=suivant non=précédent annuler=fin\n" + ANSWER, out)
        out = self.answer("o", "mesure 2 : notes 5 à 8")
        out = self.answer("n", "mesure 1 : notes")
        self.assertTrue(out.startswith("non\n"), out)
        out = self.answer("Enter", "mesure 2 : notes")
        self.assertTrue(out.startswith("oui\n"), out)
        out = self.answer("Escape", PROMPT)
        self.assertTrue(out.startswith("annuler\n"), out)
        self.command("suivant", PROMPT)

        out = self.command("gamne", PROMPT)
        self.assertIn("« gamne » : commande inconnue, la plus proche est gamme (tapez aide)", out)
        out = self.command("jouer", PROMPT)
        self.assertIn("« jouer » est le début de jouer-gamme", out)

        self.command("quitter", "statut=0")
        self.assert_terminal_as_before()

    def test_ctrl_c_at_a_question_and_at_the_prompt_gives_the_terminal_back(self):
        self.start()
        self.command("tempo", ANSWER)
        mark = len(self.screen().rstrip())
        self.keys("C-c")
        self.wait_for("statut=130", after=mark)
        self.assert_terminal_as_before()
        # What is typed shows again, and a line runs on Enter.
        out = self.command("echo de-$((1 + 1))", "de-2\n")
        self.assertIn("echo de-$((1 + 1))\nde-2\n", out)

        self.start()
        mark = len(self.screen().rstrip())
        self.keys("C-c")
        self.wait_for("statut=130", after=mark)
        self.assert_terminal_as_before()


class NarrowTerminal(TerminalTest):
    """A 40-cell braille line."""
    columns = 40

    def test_lines_break_between_words_and_aide_goes_menu_by_menu(self):
        self.write("prv.tab", b"o4 4c d e f | g a zz b | c d e\r\n")
        self.start()
        out = self.command("aide", PROMPT).split("\n")
        overview = out[1:out.index(PROMPT)]
        self.assertEqual(["Tabla : ouvrir une tablature, quitter", "Edit : motifs pris du presse-papier",
                          "Rechercher : dans la fenêtre seulement", "Init : tempo, instrument, volume, voix",
                          "Harm : gammes, accords, cadences", "Outils : jouer, mesures, lecture guidée",
                          "Pratique : vérifier, boucle, métronome", "Aide : version, usage, tutoriel",
                          "aide MENU : ses commandes (aide harm)", "aide NOM : une commande (aide gamme)"], overview)
        out = self.command("aide outils", PROMPT)
        self.assertIn("menu Outils\njouer-tout (F5, 600) : joue toute la\ntablature\n", out)
        out = self.command("verifier", PROMPT)
        self.assertIn("3 problèmes\n« zz » ignoré — mesure 2, ligne 1,\ncolonne 19\n", out)
        out = self.command("mesure", ANSWER)
        self.assertIn("mesure 1 : notes 1 à 4\noui=suivant non=précédent annuler=fin\n", out)
        self.answer("Escape", PROMPT)
        self.command("quitter", "statut=0")
        # From the program's first line on, no line was too wide for the
        # terminal: none was wrapped by it, so no word was cut.
        first = "PavSdi — tapez aide"
        joined, unjoined = self.screen(), self.screen(joined=False)
        self.assertEqual(joined[joined.index(first):], unjoined[unjoined.index(first):])
        self.assertIn("PavSdi — tapez aide pour la liste des\ncommandes\n", joined)


RATE = 44100
LOUD = 1000  # about -30 dBFS: a note sounds


class PlayingTerminal(TerminalTest):
    """Music that takes time: device 0, the built-in synthesizer, plays into
    a PulseAudio null sink whose monitor is recorded, to hear when it stops."""
    device = "0"

    def setUp(self):
        self.runtime = tempfile.mkdtemp(prefix="pavsdi-pulse-")
        self.pulse = subprocess.Popen(["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                                       "--disallow-exit", "-L", "module-null-sink",
                                       "-L", "module-native-protocol-unix"],
                                      env=dict(os.environ, XDG_RUNTIME_DIR=self.runtime),
                                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 30
        while not os.path.exists(os.path.join(self.runtime, "pulse", "native")):
            self.assertLess(time.monotonic(), deadline, "PulseAudio did not start")
            time.sleep(0.05)
        self.sound = "XDG_RUNTIME_DIR=%s PAVSDI_AUDIO=pulseaudio" % shlex.quote(self.runtime)
        super().setUp()
        self.recording = open(os.path.join(self.root, "sink.raw"), "w+b")
        self.recorder = subprocess.Popen(["parec", "-d", "null.monitor", "--raw", "--format=s16le",
                                          "--channels=2", "--rate=%d" % RATE, "--latency-msec=20"],
                                         stdout=self.recording, env=dict(os.environ, XDG_RUNTIME_DIR=self.runtime))
        self.recording_started = time.monotonic()

    def tearDown(self):
        self.recorder.terminate()
        self.recorder.wait(timeout=10)
        self.recording.close()
        super().tearDown()
        self.pulse.terminate()
        self.pulse.wait(timeout=10)
        shutil.rmtree(self.runtime, ignore_errors=True)

    def now(self):
        return time.monotonic() - self.recording_started

    def levels(self, start):
        """The loudest sample of every 10 ms recorded since `start` seconds."""
        self.recording.seek(int(start * RATE) * 4)
        samples = array.array("h")
        data = self.recording.read()
        samples.frombytes(data[:len(data) // 4 * 4])
        step = RATE // 100 * 2
        return [max(map(abs, samples[i:i + step])) for i in range(0, len(samples), step)]

    def play(self, expect, *keys):
        """Types keys that start music; returns the screen from them on,
        once `expect` is there and the music sounds."""
        self.music_from = self.now() + 0.3  # after the previous command's cue
        mark = len(self.screen().rstrip())
        self.keys(*keys)
        out = self.wait_for(expect, after=mark)[mark:]
        deadline = time.monotonic() + 30
        while max(self.levels(max(self.music_from, self.now() - 0.3)), default=0) < LOUD:
            self.assertLess(time.monotonic(), deadline, "nothing sounds")
            time.sleep(0.05)
        return out

    def stop_with(self, key, expect):
        """Presses `key` as soon as the music sounds; returns the screen from
        it on once `expect` is there, after checking that the music stopped:
        it sounded for far less than its note of four seconds, and no note
        sounds at the end."""
        mark = len(self.screen().rstrip())
        self.keys(key)
        out = self.wait_for(expect, after=mark)[mark:]
        time.sleep(1.5)
        levels = self.levels(self.music_from)
        self.assertLess(sum(level > LOUD for level in levels), 250, "the music went on after %s" % key)
        self.assertLess(max(levels[-50:]), LOUD, "the music goes on after %s" % key)
        return out

    def test_escape_stops_the_music_and_gives_the_prompt_back(self):
        # Whole notes at tempo 60: four seconds each.
        self.write("prv.tab", b"t60 o4 1c d e f | g a b >c\r\n")
        self.start()
        self.play("suivant\n", "suivant", "Enter")
        out = self.stop_with("Escape", PROMPT)
        self.assertNotIn("^[", out)
        # The companion player of jouer-tout is waited for, and stopped too.
        out = self.play("Échap arrête la lecture", "jouer-tout", "Enter")
        self.assertIn("jouer-tout\nsonplay joue toute la tablature\nÉchap arrête la lecture\n", out)
        out = self.stop_with("Escape", PROMPT)
        self.assertEqual("lecture arrêtée\n" + PROMPT, out.strip("\n"))

    def test_keys_typed_while_playing_answer_nothing_and_ctrl_c_stops_too(self):
        # Two measures of a whole note, four seconds each.
        self.write("prv.tab", b"t60 o4 1c | 1e\r\n")
        self.start()
        self.command("mesure", ANSWER)
        self.play("oui\n", "o")
        mark = len(self.screen().rstrip())
        self.keys("n", "o", "Enter", "n")
        self.wait_for("mesure 2 : note 2", after=mark)
        time.sleep(1)
        self.assertTrue(self.screen().rstrip().endswith(ANSWER.rstrip()), "a typed key answered")
        out = self.answer("Escape", PROMPT)
        self.assertEqual("annuler\n" + PROMPT, out.rstrip("\n"))
        # Ctrl+C stops an endless loop and gives the prompt back; at the
        # prompt it ends the program as before.
        self.play("boucle\n", "boucle", "Enter")
        out = self.stop_with("C-c", PROMPT)
        self.assertNotIn("statut", out)
        mark = len(self.screen().rstrip())
        self.keys("C-c")
        self.wait_for("statut=130", after=mark)
        self.assert_terminal_as_before()


if __name__ == "__main__":
    pavsdi.main()
