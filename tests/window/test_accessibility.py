"""The window as a screen reader sees it: under a virtual display with the
accessibility bus, the menus, the editor, the toolkit's search dialog and a
question box are read through AT-SPI, and the question is answered by
pressing its button there. Exits 77 (skipped) only when the virtual display
or the accessibility bus cannot start."""
import os
import random
import shutil
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(__file__), "../blackbox"))
import pavsdi  # noqa: E402
from test_window import MENUS  # noqa: E402

SESSION = "PAVSDI_A11Y_SESSION"
SKIP = 77
QUESTION = "Le texte du fichier Document a changé.\n\nVoulez-vous sauvegarder les modifications?"


def start_session():
    """Runs this file again on a virtual display in a bus session of its own."""
    for tool in ("xvfb-run", "Xvfb", "dbus-run-session", "dbus-send"):
        if not shutil.which(tool):
            print(tool + " is not installed: accessibility test skipped")
            sys.exit(SKIP)
    env = dict(os.environ, **{SESSION: "1"})
    # Other virtual displays may be starting at the same time: a random first
    # number keeps two from taking the same one.
    display = str(random.randint(200, 20000))
    done = subprocess.run(["xvfb-run", "-a", "-n", display, "-s", "-screen 0 1024x768x24",
                           "dbus-run-session", "--",
                           sys.executable, os.path.abspath(__file__)] + sys.argv[1:], env=env)
    sys.exit(done.returncode)


def accessibility_bus_up():
    """Asks the session for the accessibility bus, which starts it."""
    try:
        done = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                               "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                              capture_output=True, timeout=30)
    except subprocess.TimeoutExpired:
        return False
    return done.returncode == 0 and b"unix:" in done.stdout


def french_locale_installed():
    out = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.lower()
    return "fr_fr.utf8" in out.split()


def plain(label):
    """A menu text as read out: no mnemonic, no accelerator."""
    return label.split("\\t")[0].replace("&", "")


class AccessibilityTest(pavsdi.RootTest):
    def wait_for(self, what, find, timeout=30):
        deadline = time.time() + timeout
        while time.time() < deadline:
            found = find()
            if found:
                return found
            time.sleep(0.2)
        self.fail("not seen through AT-SPI: " + what)

    def nodes(self, node, role=None):
        """The node and all below it, of the role when one is given."""
        out = []
        stack = [node]
        while stack:
            n = stack.pop()
            if n is None:
                continue
            if role is None or n.getRole() == role:
                out.append(n)
            stack.extend(reversed([c for c in n]))
        return out

    def window(self, name):
        for app in pyatspi.Registry.getDesktop(0):
            for top in app or []:
                if top is not None and top.name == name:
                    return top
        return None

    def question_box(self):
        for app in pyatspi.Registry.getDesktop(0):
            for top in app or []:
                if top is not None and top.getRole() in (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG):
                    labels = [n.name for n in self.nodes(top, pyatspi.ROLE_LABEL)]
                    if QUESTION in labels:
                        return top
        return None

    def search_dialog(self):
        for app in pyatspi.Registry.getDesktop(0):
            for top in app or []:
                if top is not None and top.getRole() in (pyatspi.ROLE_FRAME, pyatspi.ROLE_DIALOG) and \
                        self.nodes(top, pyatspi.ROLE_CHECK_BOX):
                    return top
        return None

    def press(self, button, done):
        """Presses the button until `done`: a press that comes while the box
        is still being mapped is lost."""
        for _ in range(10):
            button.queryAction().doAction(0)
            deadline = time.time() + 2
            while time.time() < deadline:
                if done():
                    return
                time.sleep(0.1)
        self.fail("the button does not answer")

    def test_menus_editor_and_question_as_a_screen_reader_reads_them(self):
        script = os.path.join(self.root, "script")
        log = os.path.join(self.root, "log")
        dump = os.path.join(self.root, "after")
        # The box may be answered here before the script looks for it: it
        # waits long enough for the box to show, then till none shows.
        with open(script, "w", encoding="utf-8") as f:
            f.write("wait 300\ntype abc\nwait 300\ncommand 24352\nwait 300\nanswer show\n"
                    "command 24331\nwait 2000\nwaitclosed\ndump %s\nanswer 7\nquit\n" % dump)
        env = self.env(PAVSDI_TEST_SCRIPT=script, PAVSDI_TEST_LOG=log)
        env.pop("PAVSDI_UI")
        env.pop("NO_AT_BRIDGE", None)
        # Now and then the toolkit fails to open the fresh display and the
        # program falls back to the console, which ends at once on no input:
        # it is started again then.
        for _ in range(3):
            program = subprocess.Popen([os.path.join(pavsdi.BUILD, "pavsdi")], env=env, cwd=self.root,
                                       stdin=subprocess.DEVNULL)
            frame = self.wait_for("the main window", lambda: self.window("Pavane environnement midi")
                                  or program.poll() is not None)
            if program.poll() is None:
                break
        try:
            self.assertIsNone(program.poll(), "the window did not start")
            bars = self.nodes(frame, pyatspi.ROLE_MENU_BAR)
            self.assertEqual(1, len(bars))
            menus = [m for m in bars[0] if m.getRole() == pyatspi.ROLE_MENU]
            self.assertEqual([plain(popup) for popup, _ in MENUS], [m.name for m in menus])
            for menu, (popup, items) in zip(menus, MENUS):
                self.assertEqual([plain(item[1]) for item in items if item],
                                 [n.name for n in menu if n.getRole() == pyatspi.ROLE_MENU_ITEM],
                                 popup)

            box = self.wait_for("the change question", self.question_box)
            editors = [t for t in self.nodes(frame, pyatspi.ROLE_TEXT)
                       if t.getState().contains(pyatspi.STATE_EDITABLE)]
            self.assertEqual(1, len(editors))
            self.assertEqual("abc", editors[0].queryText().getText(0, -1))
            self.assertEqual("Document", editors[0].name)
            # Read as a message box: its caption, then its text.
            self.assertEqual((pyatspi.ROLE_ALERT, "Pavane environnement midi", QUESTION),
                             (box.getRole(), box.name, box.description))
            buttons = {b.name: b for b in self.nodes(box, pyatspi.ROLE_PUSH_BUTTON)}
            self.assertEqual({"Oui", "Non", "Annuler"}, set(buttons))

            search = self.search_dialog()
            self.assertIsNotNone(search, "the replace dialog")
            if french_locale_installed():
                checks = {c.name for c in self.nodes(search, pyatspi.ROLE_CHECK_BOX)}
                self.assertIn("Respecter la casse", checks)

            self.press(buttons["Annuler"], lambda: self.question_box() is None)
            self.assertEqual(0, program.wait(timeout=60))
        finally:
            if program.poll() is None:
                program.kill()
                program.wait()
        with open(log, encoding="utf-8") as f:
            lines = [l.rstrip("\n") for l in f]
        self.assertIn("BOX\tASK\tPavane environnement midi\t%s\t2" % QUESTION.replace("\n", "\\n"),
                      lines, "Annuler answers Cancel")
        with open(dump, encoding="utf-8") as f:
            self.assertIn("EDITOR\tabc\n", f.readlines())


if __name__ == "__main__":
    if not os.environ.get(SESSION):
        start_session()
    try:
        import pyatspi
    except ImportError:
        print("python3-pyatspi is not installed: accessibility test skipped")
        sys.exit(SKIP)
    if not accessibility_bus_up():
        print("the accessibility bus does not start: accessibility test skipped")
        sys.exit(SKIP)
    pavsdi.main()
