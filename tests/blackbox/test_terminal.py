"""The terminal front end as a person meets it: the program runs in a shell
inside tmux, keys are typed with send-keys and the screen is read with
capture-pane."""
import os
import re
import shlex
import subprocess
import time

import pavsdi

PROMPT = "PavSdi> "
ANSWER = "(o)ui, (n)on, Échap = annuler ? "


class Terminal(pavsdi.RootTest):
    def setUp(self):
        super().setUp()
        # Two measures, so that stepping has somewhere to go.
        self.write("prv.tab", b"o3 c d e f | g a b >c\r\n")
        self.socket = "pavsdi-test-%d" % os.getpid()
        env = dict(os.environ, LANG="C.UTF-8", TERM="xterm")
        env.pop("TMUX", None)
        subprocess.run(["tmux", "-L", self.socket, "-f", "/dev/null", "new-session", "-d", "-s", "t",
                        "-x", "100", "-y", "50", "bash --norc --noprofile"], check=True, env=env)
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

    def screen(self):
        """Everything the terminal has shown, its history included."""
        done = subprocess.run(["tmux", "-L", self.socket, "capture-pane", "-p", "-J", "-S", "-", "-t", "t"],
                              capture_output=True, check=True)
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
        self.shell("env -u DISPLAY -u WAYLAND_DISPLAY -u PAVSDI_UI PAVSDI_ROOT=%s PAVSDI_AUDIO=none %s;"
                   " echo statut=$?" % (shlex.quote(self.root), shlex.quote(os.path.join(pavsdi.BUILD, "pavsdi"))))
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

    def test_a_session_by_names_and_single_keys(self):
        screen = self.start()
        self.assertIn("PavSdi — tapez aide pour la liste des commandes", screen)
        # No clipboard without a display: said once, and nothing contradicts it.
        self.assertEqual(1, screen.count("presse papier inaccessible : la tablature courante n'y a pas été mise"))
        self.assertNotIn("clipsend", screen)
        self.assertNotIn("\t", screen)
        for protocol in ("INFO", "ASK", "CUE", "RUN", "\\\\"):
            self.assertNotIn(protocol, screen)

        out = self.command("aide", "dans la fenêtre seulement")
        self.assertIn("gamme (F2, 503) : choisit une gamme et la joue", out)
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
        self.assertIn("mesure 1 : jouer depuis la note 1 jusqu'a la note 4\n"
                      "oui=suivant non=précédent annuler=fin\n" + ANSWER, out)
        out = self.answer("o", "mesure 2 : jouer depuis la note 5")
        out = self.answer("n", "mesure 1 : jouer depuis")
        self.assertTrue(out.startswith("non\n"), out)
        out = self.answer("Enter", "mesure 2 : jouer depuis")
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


if __name__ == "__main__":
    pavsdi.main()
