"""pavsdiw.exe, the native window, under wine on a virtual display with a
window manager: keys are pressed with xdotool as a person presses them, and
window_probe.exe, run in the same wine prefix, reads the windows' classes,
texts and focus (wine gives no accessible names to read instead)."""
import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "blackbox"))
import pavsdi  # noqa: E402

PROBE = os.path.join(pavsdi.BUILD, "tests", "window_probe.exe")
PROGRAM = os.path.join(pavsdi.BUILD, "pavsdiw.exe")
# A prefix of their own: the console tests run theirs without a display.
WINE_DIR = os.path.join(pavsdi.BUILD, "wine-window")
FRAME = "Pavane environnement midi"
CHOICE = "oui=saisie non=suivant annuler=quitter"
# wine starts slowly on a loaded machine, the first time above all.
PATIENCE = 180
with open(os.path.join(pavsdi.SOURCE, "CMakeLists.txt")) as cmake:
    VERSION = re.search(r"project\(PavSdi VERSION ([0-9.]+)", cmake.read()).group(1)


class Window:
    def __init__(self, line):
        _, self.type, self.title, self.handle, *state = line.split("\t") + [""]
        self.foreground = "foreground" in state
        self.controls = []

    def texts(self, type_=None):
        return [c["text"] for c in self.controls if type_ is None or c["class"] == type_]

    def focus(self):
        return next((c for c in self.controls if c["focus"]), None)


class NativeWindowTest(pavsdi.RootTest):
    @classmethod
    def setUpClass(cls):
        cls.display = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                                       stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        cls.env_display = ":" + cls.display.stdout.readline().decode().strip()
        # Without a window manager, keys sent to a new box are lost half the time.
        cls.manager = subprocess.Popen(["openbox"], env=dict(os.environ, DISPLAY=cls.env_display),
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(1)

    @classmethod
    def tearDownClass(cls):
        # The wine server and its services end with the display they use.
        server = "/usr/lib/wine/wineserver64" if os.path.exists("/usr/lib/wine/wineserver64") else "wineserver"
        subprocess.run([server, "-k"], env=dict(os.environ, WINEPREFIX=os.path.join(WINE_DIR, "prefix")),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=PATIENCE)
        for child in (cls.manager, cls.display):
            child.terminate()
            child.wait()

    def setUp(self):
        super().setUp()
        self.program = None

    def tearDown(self):
        if self.program and self.program.poll() is None:
            self.program.kill()
            self.program.wait()
        super().tearDown()

    def wine_env(self):
        env = self.env(DISPLAY=self.env_display, PAVSDI_WINE_DIR=WINE_DIR)
        env.pop("PAVSDI_UI")
        return env

    def start(self):
        self.program = subprocess.Popen([pavsdi.WINE, PROGRAM], env=self.wine_env(), cwd=self.root,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def windows(self):
        # Into a file: the wine server that a first run starts keeps its
        # standard output open.
        output = os.path.join(self.root, "probe.txt")
        with open(output, "wb") as out:
            subprocess.run([pavsdi.WINE, PROBE], env=self.wine_env(), stdout=out, stderr=subprocess.DEVNULL,
                           timeout=PATIENCE)
        with open(output, encoding="utf-8") as f:
            out = f.read()
        found = []
        for line in out.splitlines():
            if line.startswith("window\t"):
                found.append(Window(line))
            elif line.startswith("control\t") and found:
                _, type_, number, text, *state = line.split("\t")
                found[-1].controls.append(dict(**{"class": type_}, id=int(number), text=text,
                                               focus="focus" in state, disabled="disabled" in state))
        return found

    def wait_for(self, title=None, text=None, timeout=PATIENCE):
        """The foreground window with this title (and this text among its
        controls' texts)."""
        deadline = time.monotonic() + timeout
        seen = []
        while time.monotonic() < deadline:
            self.assertIsNone(self.program.poll(), "the program ended")
            seen = self.windows()
            for window in seen:
                if window.foreground and (title is None or window.title == title) and \
                        (text is None or text in window.texts()):
                    return window
            time.sleep(0.3)
        self.fail("no window %r %r; seen %r" % (title, text, [(w.title, w.texts()) for w in seen]))

    def key(self, *keys):
        """Presses each key as a person does; a chord's modifier is held
        around its key, so that wine sees them apart under load."""
        env = dict(os.environ, DISPLAY=self.env_display)
        for key in keys:
            *modifiers, last = key.split("+")
            for modifier in modifiers:
                subprocess.run(["xdotool", "keydown", modifier], env=env, check=True)
                time.sleep(0.1)
            subprocess.run(["xdotool", "key", last], env=env, check=True)
            for modifier in reversed(modifiers):
                time.sleep(0.1)
                subprocess.run(["xdotool", "keyup", modifier], env=env, check=True)
            time.sleep(0.15)

    def started(self):
        self.start()
        box = self.wait_for(FRAME, "la tablature courante est dans le presse papier")
        self.assertEqual("OK", box.focus()["text"])
        # Escape closes an information box.
        self.key("Escape")
        frame = self.wait_for(FRAME, "Document")
        # The window manager gives it the keyboard a moment later.
        time.sleep(1)
        return frame

    def assert_question(self, box, text):
        self.assertEqual("#32770", box.type)
        self.assertIn(text, box.texts("Static"))
        self.assertEqual(["&Oui", "&Non", "Annuler"], box.texts("Button"))
        self.assertEqual("&Oui", box.focus()["text"])

    def test_start_up_box_then_tempo_choices_by_their_letters(self):
        frame = self.started()
        # The editor has the focus, named by the label just before it.
        self.assertEqual("Edit", frame.focus()["class"])
        names = [c["class"] for c in frame.controls]
        self.assertEqual("Static", names[names.index("Edit") - 1])
        self.assertIn("ToolbarWindow32", names)
        self.assertIn("msctls_statusbar32", names)

        self.key("F12")
        self.assert_question(self.wait_for("largo"), CHOICE)
        self.key("n")
        self.assert_question(self.wait_for("andante"), CHOICE)
        self.key("o")
        self.wait_for(FRAME, "Document")
        self.key("F12")
        self.wait_for("largo")
        # Escape is Annuler: the choice list is left.
        self.key("Escape")
        self.assertEqual("Edit", self.wait_for(FRAME).focus()["class"])

    def test_guided_reading_boxes_come_in_order(self):
        self.write("prv.tab", b"c|d|e|\r\n")
        self.started()
        self.key("alt+o", "m")
        self.assert_question(self.wait_for("oui non annuler=pas d'indication"), "ajouter la lecture des mesures")
        self.key("o")
        self.wait_for(FRAME)
        # Suivant reads with the reading options chosen: each measure is
        # announced, then its notes' values; Oui goes on.
        self.key("alt+o", "s")
        boxes = []
        handle = None
        deadline = time.monotonic() + PATIENCE
        while time.monotonic() < deadline and len(boxes) < 12:
            box = next((w for w in self.windows() if w.foreground and w.type == "#32770"), None)
            if box is None or box.handle == handle:
                time.sleep(0.3)
                continue
            handle = box.handle
            text = [t for t in box.texts("Static") if t][-1:] or [""]
            boxes.append((box.title, text[0]))
            if text[0] == "mesure 4 ":
                break
            self.key("o")
        self.assertEqual([("c", "mesure 1 "), ("d", "mesure 2 "), ("e", "mesure 3 "), ("", "mesure 4 ")],
                         [b for b in boxes if b[1].startswith("mesure")], boxes)
        self.key("Escape")
        self.wait_for(FRAME)

    def test_about_box_reads_the_version_resource(self):
        self.started()
        self.key("alt+a", "a")
        box = self.wait_for("About PavSdi")
        # The icon's static holds a resource number, not a text.
        self.assertEqual(["PavSdi Version %s" % VERSION, "Pavane SDI Example", "Copyright © Pavane", ""],
                         [t for t in box.texts("Static") if not t.startswith("\uffff")])
        self.assertEqual("OK", box.focus()["text"])
        self.key("Escape")
        self.wait_for(FRAME)

    def test_open_puts_the_file_in_the_editor(self):
        piece = os.path.join(self.root, "piece.tab")
        with open(piece, "wb") as f:
            f.write("o4 4c d é | g\r\nf e\r\n".encode("cp1252"))
        self.started()
        self.key("ctrl+o")
        self.wait_for("Open")
        subprocess.run(["xdotool", "type", "--delay", "60", pavsdi.windows_path(piece)],
                       env=dict(os.environ, DISPLAY=self.env_display), check=True)
        self.key("Return")
        self.wait_for(pavsdi.windows_path(piece), "tablature")
        self.key("Return")
        frame = self.wait_for(FRAME, "piece.tab")
        editor = frame.focus()
        self.assertEqual("Edit", editor["class"])
        self.assertEqual("o4 4c d é | g\\nf e\\n", editor["text"])
        # The file is the current tablature.
        with open(os.path.join(self.orfeon, "prv.tab"), "rb") as f:
            self.assertEqual("o4 4c d é | g\r\nf e\r\n".encode("cp1252"), f.read())

    def test_hints_and_the_change_question_on_closing(self):
        self.started()
        subprocess.run(["xdotool", "type", "abc"], env=dict(os.environ, DISPLAY=self.env_display), check=True)
        # The menu's selected item has its hint in the status bar.
        self.key("alt+t")
        deadline = time.monotonic() + PATIENCE
        while time.monotonic() < deadline:
            frame = next(w for w in self.windows() if w.title == FRAME)
            if "Creates a new window" in frame.texts("msctls_statusbar32"):
                break
            time.sleep(0.3)
        self.assertIn("Creates a new window", frame.texts("msctls_statusbar32"))
        self.key("Escape", "Escape")
        self.wait_for(FRAME, "abc")
        self.key("alt+F4")
        question = "Le texte du fichier Document a changé.\\n\\nVoulez-vous sauvegarder les modifications?"
        self.assert_question(self.wait_for(FRAME, question), question)
        # Annuler keeps the window and its text; Non closes it without saving.
        self.key("Escape")
        self.wait_for(FRAME, "abc")
        self.key("alt+F4")
        self.wait_for(FRAME, question)
        self.key("n")
        self.assertEqual(0, self.program.wait(timeout=PATIENCE))


if __name__ == "__main__":
    pavsdi.main()
