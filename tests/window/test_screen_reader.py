"""The window heard through the screen reader Orca: under a virtual display
with a window manager and the accessibility bus, the program is driven with
keys as a user drives it (xdotool) and Orca's speech log is read back."""
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "../blackbox"))
import pavsdi  # noqa: E402

SESSION = "PAVSDI_ORCA_SESSION"
ARTEFACTS = os.path.join(pavsdi.BUILD, "window-artefacts")
SPOKEN = re.compile(r"SPEECH OUTPUT: '([^']*)'")


def start_session():
    """Runs this file again on a virtual display in a bus session of its own."""
    env = dict(os.environ, **{SESSION: "1"})
    env.pop("NO_AT_BRIDGE", None)
    display = str(random.randint(200, 20000))
    done = subprocess.run(["xvfb-run", "-a", "-n", display, "-s", "-screen 0 1024x768x24",
                           "dbus-run-session", "--",
                           sys.executable, os.path.abspath(__file__)] + sys.argv[1:], env=env)
    sys.exit(done.returncode)


class ScreenReaderTest(pavsdi.RootTest):
    @classmethod
    def setUpClass(cls):
        # Asking for the accessibility bus starts it.
        subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                        "/org/a11y/bus", "org.a11y.Bus.GetAddress"], check=True,
                       stdout=subprocess.DEVNULL, timeout=30)
        cls.scratch = tempfile.mkdtemp(prefix="pavsdi-orca-")
        cls.speech = os.path.join(cls.scratch, "speech.log")
        # The speech server Orca starts has its socket here, apart from any
        # other session's.
        os.environ["XDG_RUNTIME_DIR"] = cls.scratch
        # Without a window manager new boxes never get the focus.
        cls.manager = subprocess.Popen(["openbox"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        cls.orca = subprocess.Popen(["/usr/bin/python3", os.path.join(os.path.dirname(__file__), "orca_line_by_line.py"),
                                     "--debug-file", cls.speech, "-u", os.path.join(cls.scratch, "prefs")],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.time() + 60
        while time.time() < deadline and not cls.heard_lines():
            time.sleep(0.5)

    @classmethod
    def tearDownClass(cls):
        for child in (cls.orca, cls.manager):
            child.terminate()
            try:
                child.wait(timeout=5)
            except subprocess.TimeoutExpired:
                child.kill()
                child.wait()
        # What Orca said and did is kept to be read.
        os.makedirs(ARTEFACTS, exist_ok=True)
        if os.path.exists(cls.speech):
            shutil.copy(cls.speech, os.path.join(ARTEFACTS, "orca-debug.log"))
        shutil.rmtree(cls.scratch, ignore_errors=True)

    @classmethod
    def heard_lines(cls):
        if not os.path.exists(cls.speech):
            return []
        with open(cls.speech, encoding="utf-8", errors="replace") as f:
            return SPOKEN.findall(f.read())

    def setUp(self):
        super().setUp()
        self.heard_before = len(self.heard_lines())
        self.program = None

    def tearDown(self):
        if self.program and self.program.poll() is None:
            self.program.kill()
            self.program.wait()
        super().tearDown()

    def start(self, *args):
        env = self.env()
        env.pop("PAVSDI_UI")
        # Now and then the toolkit fails to open the fresh display and the
        # program falls back to the console, which ends at once on no input:
        # it is started again then.
        for _ in range(3):
            self.program = subprocess.Popen([os.path.join(pavsdi.BUILD, "pavsdi"), *args], env=env,
                                            cwd=self.root, stdin=subprocess.DEVNULL,
                                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                self.program.wait(timeout=3)
            except subprocess.TimeoutExpired:
                return
        self.fail("the window did not start")

    def hear(self, *words, timeout=60):
        """Waits until Orca has said each of the words, in this order, since
        the last thing heard; returns what it said."""
        deadline = time.time() + timeout
        while True:
            said = self.heard_lines()[self.heard_before:]
            at, found = 0, 0
            for n, line in enumerate(said):
                if found < len(words) and words[found] in line:
                    found += 1
                    at = n + 1
            if found == len(words):
                self.heard_before += at
                return said[:at]
            if time.time() > deadline:
                self.fail("Orca did not say %r; it said %r" % (words[found], said))
            time.sleep(0.3)

    def key(self, name):
        # The reader may speak of a box before the window manager has given
        # it the keyboard.
        time.sleep(1)
        subprocess.run(["xdotool", "key", name], check=True)

    def test_boxes_are_heard_whole_and_answered_by_single_keys(self):
        self.start()
        self.hear("alert Pavane environnement midi", "la tablature courante est dans le presse papier",
                  "OK push button")
        self.key("Escape")
        self.hear("Document")
        self.key("F12")
        self.hear("alert largo", "oui=saisie non=suivant annuler=quitter", "Oui push button")
        self.key("n")
        self.hear("alert andante", "oui=saisie non=suivant annuler=quitter", "Oui push button")
        self.key("a")
        self.hear("Pavane environnement midi frame")
        self.key("alt+F4")
        self.assertEqual(0, self.program.wait(timeout=30))

        # A guided reading: the measure, then the value of its first note.
        self.write("prv.tab", b"c d|e|\r\n")
        self.start("m")
        self.hear("alert c d", "mesure 1", "Oui push button")
        self.key("o")
        self.hear("alert noire", "Oui push button")
        self.key("Escape")
        self.assertEqual(0, self.program.wait(timeout=30))

    def test_then_about_the_check_list_and_a_vain_search_are_heard(self):
        self.write("lexiton.ini", b"fictab=\\orfeon\\faute.tab\r\n")
        self.write("faute.tab", b"c d e f | g a zz b c\r\nyy\r\n")
        self.start()
        self.hear("la tablature courante est dans le presse papier", "OK push button")
        self.key("Escape")
        self.hear("Document")
        self.key("alt+a")
        self.key("a")
        self.hear("About PavSdi", "Pavane SDI Example", "Version", "OK push button")
        self.key("Escape")
        self.hear("Document")
        # Vérifier: the count, then each problem as the arrows reach it.
        self.key("ctrl+F7")
        self.hear("2 problèmes", "« zz » ignoré — mesure 2, ligne 1, colonne 15")
        self.key("Down")
        self.hear("« yy » ignoré — mesure")
        self.key("Up")
        self.hear("« zz » ignoré")
        # Enter opens the tablature at the problem; a search there that
        # finds nothing says so.
        self.key("Return")
        self.hear("faute.tab")
        self.key("alt+r")
        self.key("c")
        self.key("x")
        self.key("Return")
        self.hear("« x » introuvable")
        self.key("Return")
        self.key("Escape")
        self.key("alt+F4")
        self.assertEqual(0, self.program.wait(timeout=30))


if __name__ == "__main__":
    if not os.environ.get(SESSION):
        start_session()
    pavsdi.main()
