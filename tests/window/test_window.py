"""The real window under a virtual display, driven by its test mode
(PAVSDI_TEST_SCRIPT): menus, keyboard, file commands, the change question.
Screenshots are kept under <build>/window-artefacts. Exits 77 (skipped) when
no virtual display can be run."""
import os
import random
import shutil
import signal
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "../blackbox"))
import pavsdi  # noqa: E402

ARTEFACTS = os.path.join(pavsdi.BUILD, "window-artefacts")

MENUS = [
    ("&Tabla", [(24331, "&Nouveau"), (24332, "&Ouvrir..."), None, (24333, "&Sauver"),
                (24334, "Enregistrer sous..."), None, (24340, "Print Pre&view..."),
                (24337, "&Print..."), (24338, "P&rint Setup..."), None, (24310, "E&xit\\tAlt+F4")]),
    ("&Edit", [(24319, "Edit &note"), (24320, "Edit &rythme"), (24321, "&Undo\\tAlt+BkSp"), None,
               (24322, "&Couper\\tShift+Del"), (24323, "&Copier\\tCtrl+Ins"),
               (24324, "&Coller\\tShift+Ins"), None, (24326, "Clear &All\\tCtrl+Del"),
               (24325, "&Delete\\tDel")]),
    ("&Rechercher", [(24351, "&Chercher..."), (24352, "&Remplacer..."), (24353, "&Suivant")]),
    ("&Init", [(400, "&Défaut\\tCTRL+F1"), (401, "&MidiInit\\tALT+F1"), (402, "&Tempo\\tF12"),
               (403, "&Instrument\\tALT+F9"), (404, "&Volume"), (405, "&Voix\\tALT+F5"),
               (406, "Transp&o\\tALT+F7"), (407, "&Banque\\tALT+F8")]),
    ("&Harm", [(500, "&Jouer Gamme\\tF7"), (506, "Jouer A&ccord\\tF8"), (501, "&Ton\\tALT+F10"),
               (502, "&Degré\\tALT+F11"), (503, "&Gamme\\tF2"), (504, "&Accord\\tF3"),
               (510, "&Cadence\\tF4"), (508, "Ren&verser"), (507, "Répét&ition\\tALT+F12"),
               (505, "&Rythme\\tF11"), (509, "&Presse-papier")]),
    ("&Outils", [(600, "Jouer&Tout\\tF5"), (611, "Jouer&PressePapier\\tF6"), (601, "&JouerMesure"),
                 (603, "&Précédent"), (602, "&Suivant"), (604, "&Armature"), (605, "&Conseil"),
                 (606, "&Doigté"), (607, "&Harmonie"), (608, "&Mesure"), (609, "&Nuance"),
                 (610, "&Parole")]),
    ("&Pratique", [(700, "&Vérifier\\tCTRL+F7"), (701, "&Boucle\\tF9"),
                   (702, "&Réglages de la boucle\\tCTRL+F9"), None, (703, "&Décompte"),
                   (704, "&Métronome")]),
    ("&Aide", [(2009, "&A propos..."), (2010, "&Usage"), (2011, "&Tutoriel\\tF1")]),
]
GRAYED = {24333, 24334, 24340, 24337, 24338, 24321, 24322, 24323, 24324, 24326, 24325, 24351,
          24352, 24353}
# The toolkit spells the backspace key "Back"; it shows it in its own way.
TOOLKIT_LABELS = {24321: "&Undo\\tAlt+Back"}
TOOLBAR = [24331, 24332, 24333, 0, 24322, 24323, 24324, 0, 24321, 0, 24351, 24353, 0, 24337, 24340]


def xvfb_available():
    return shutil.which("xvfb-run") is not None and shutil.which("Xvfb") is not None


class WindowTest(pavsdi.RootTest):
    def run_window(self, steps, timeout=60, prelude=None, args=(), **extra):
        """Runs the window on the steps; returns (log lines, dumps by name).
        A prelude is shell run on the virtual display first; the program then
        runs without a search path."""
        script = os.path.join(self.root, "script")
        log = os.path.join(self.root, "log")
        with open(script, "w", encoding="utf-8") as f:
            f.write("wait 300\n" + "\n".join(steps) + "\nanswer 7\nquit\n")
        env = self.env(PAVSDI_TEST_SCRIPT=script, PAVSDI_TEST_LOG=log, NO_AT_BRIDGE="1",
                       XDG_DATA_HOME=os.path.join(self.root, "xdg-data"),
                       XDG_CONFIG_HOME=os.path.join(self.root, "xdg-config"))
        env.update(extra)
        env.pop("PAVSDI_UI")
        command = [os.path.join(pavsdi.BUILD, "pavsdi"), *args]
        if prelude:
            command = ["sh", "-c", prelude + '; PATH=/nonexistent exec "$0" "$@"'] + command
        # A random first display number keeps concurrent runs apart.
        display = str(random.randint(200, 20000))
        # Its own session, so that a run that hangs goes with its display.
        child = subprocess.Popen(["xvfb-run", "-a", "-n", display, "-s", "-screen 0 1024x768x24"] + command,
                                 env=env, cwd=self.root, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                 start_new_session=True)
        try:
            _, err = child.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(child.pid, signal.SIGKILL)
            child.communicate()
            self.fail("the window did not end within %d s" % timeout)
        self.stderr = err.decode("utf-8", "replace")
        self.assertEqual(0, child.returncode, self.stderr)
        with open(log, encoding="utf-8") as f:
            lines = [l.rstrip("\n") for l in f]
        return [l for l in lines if not l.startswith("STEP\t")]

    def dump(self, name):
        """Fields of a dump: MENU rows as a list, the others by key."""
        rows = {"MENU": [], "TOOL": [], "ACCEL": []}
        with open(os.path.join(self.root, name), encoding="utf-8") as f:
            for line in f:
                fields = line.rstrip("\n").split("\t")
                if fields[0] in rows:
                    rows[fields[0]].append(fields[1:])
                else:
                    rows[fields[0]] = fields[1] if len(fields) > 1 else ""
        return rows

    def host(self, name, data=None, encoding="cp1252"):
        path = os.path.join(self.root, name)
        if data is not None:
            with open(path, "wb") as f:
                f.write(data.encode(encoding))
        return path

    def read(self, path):
        with open(path, "rb") as f:
            return f.read()

    def recent(self):
        path = os.path.join(self.root, "PavSdi.ini")
        if not os.path.exists(path):
            return []
        with open(path, encoding="cp1252") as f:
            return [l.strip().split("=", 1)[1] for l in f if l.startswith("File")]

    def test_start_menus_toolbar_and_status_bar(self):
        os.makedirs(ARTEFACTS, exist_ok=True)
        shot = os.path.join(ARTEFACTS, "main-window.png")
        log = self.run_window(["dump start", "screenshot " + shot])
        ready = log.index("READY")
        self.assertEqual(["CUE\t\\\\orfeon\\\\lisez.wav",
                          "BOX\tINFO\tPavane environnement midi\t"
                          "la tablature courante est dans le presse papier\t1",
                          "RUN\t\\\\orfeon\\\\clipsend.exe\t3"], log[:ready])
        self.assertTrue(os.path.getsize(shot) > 0)
        d = self.dump("start")
        self.assertEqual("Pavane environnement midi", d["TITLE"])
        shown = [(m[0], int(m[1]), m[2], m[3] == "1") for m in d["MENU"]]
        expected = []
        for popup, items in MENUS:
            for item in items:
                if item is None:
                    expected.append((popup, 0, "-", False))
                else:
                    expected.append((popup, item[0], TOOLKIT_LABELS.get(item[0], item[1]),
                                     item[0] not in GRAYED))
        self.assertEqual(expected, shown)
        hints = {int(m[1]): m[4] for m in d["MENU"] if m[1] != "0"}
        self.assertEqual("Quits PavSdi and prompts to save the documents", hints[24310])
        self.assertEqual("Finds the next match", hints[24353])
        self.assertEqual("", hints[503])
        self.assertEqual(TOOLBAR, [int(t[0]) for t in d["TOOL"]])
        accelerators = {int(a[0]): a[1] for a in d["ACCEL"]}
        self.assertEqual("F2", accelerators[503])
        self.assertEqual("Alt+Backspace", accelerators[24321])
        self.assertEqual("Ctrl+F1", accelerators[400])
        self.assertEqual("Ctrl+F7", accelerators[700])
        self.assertEqual(27, len(accelerators))
        self.assertEqual("4", d["STATUSFIELDS"])
        self.assertEqual("1", d["ICON"])

    def test_ctrl_f7_checks_the_tablature_in_one_box(self):
        self.write("lexiton.ini", b"fictab=\\orfeon\\faute.tab\r\n")
        self.write("faute.tab", b"c d e f | g a zz b c\r\n")
        log = self.run_window(["key ctrl+F7", "wait 500"])
        self.assertEqual(["CMD\t700"], [l for l in log if l.startswith("CMD")])
        boxes = [l for l in log if l.startswith("BOX\tINFO\tvérification")]
        self.assertEqual(["BOX\tINFO\tvérification de la tablature\t"
                          "1 problème\\nmesure 2, ligne 1, colonne 15 : « zz » ignoré\t1"], boxes)

    def test_f2_through_the_keyboard_reaches_the_scale_command_once(self):
        log = self.run_window(["answer 2", "key F2", "wait 500"])
        commands = [l for l in log if l.startswith("CMD")]
        self.assertEqual(["CMD\t503"], commands)
        after = log[log.index("CMD\t503") + 1:]
        questions = [l for l in after if l.startswith("BOX\tASK")]
        # The first scale kind is offered and the hook's Cancel ends the command.
        self.assertEqual(1, len(questions), after)
        self.assertIn("gamme majeure", questions[0])
        self.assertTrue(questions[0].endswith("\t2"), questions[0])

    def test_open_makes_a_tablature_current_and_lists_it(self):
        piece = self.host("piece.tab", "c d e\r\n|f g\r\n")
        log = self.run_window(["file " + piece, "command 24332", "wait 300", "dump after"])
        d = self.dump("after")
        self.assertEqual("c d e\\n|f g\\n", d["EDITOR"])
        self.assertEqual(piece, d["TABFILE"])
        self.assertEqual(b"c d e\r\n|f g\r\n", self.read(os.path.join(self.orfeon, "prv.tab")))
        self.assertIn("BOX\tINFO\t%s\ttablature\t1" % piece, log)
        self.assertIn("CUE\t\\\\orfeon\\\\fichier.wav", log)
        self.assertEqual([piece], self.recent())
        self.assertIn("&1 " + piece, [m[2] for m in d["MENU"] if m[0] == "&Tabla"])

    def test_dropped_tablature_is_not_made_current_but_a_recent_one_is(self):
        dropped = self.host("dropped.tab", "a b\r\n")
        later = self.host("later.tab", "g\r\n")
        with open(os.path.join(self.root, "PavSdi.ini"), "w") as f:
            f.write("[Recent File List]\nFile1=%s\n" % later)
        self.run_window(["drop " + dropped, "wait 300", "dump dropped", "recent 1", "wait 300",
                         "dump recent"])
        d = self.dump("dropped")
        self.assertEqual("a b\\n", d["EDITOR"])
        # The current tablature stays the one of the start.
        self.assertEqual("\\\\orfeon\\\\prv.tab", d["TABFILE"])
        r = self.dump("recent")
        self.assertEqual("g\\n", r["EDITOR"])
        self.assertEqual(later, r["TABFILE"])
        self.assertEqual([later, dropped], self.recent())

    def test_dropped_file_whose_name_the_program_cannot_write_is_refused(self):
        dropped = self.host("\u97f3.tab", "a b\r\n")
        log = self.run_window(["drop " + dropped, "wait 300", "dump dropped"])
        self.assertTrue(any(l.startswith("BOX\tINFO\tce nom contient des caract") for l in log), log)
        self.assertEqual("", self.dump("dropped")["EDITOR"], "no other file was opened")

    def test_binary_file_is_refused_by_open_and_drop(self):
        binary = self.host("image.tab", "\x89PNG\r\n\x1a\n\x00\x00 c d e", encoding="latin-1")
        before = self.read(os.path.join(self.orfeon, "prv.tab"))
        log = self.run_window(["file " + binary, "command 24332", "wait 300", "drop " + binary, "wait 300",
                               "dump after"])
        refusal = "BOX\tINFO\timpossible d'ouvrir en lecture\t%s\\nce n'est pas un fichier texte" % binary
        self.assertEqual(2, sum(1 for l in log if l.startswith(refusal)), log)
        d = self.dump("after")
        self.assertEqual("", d["EDITOR"])
        self.assertEqual("\\\\orfeon\\\\prv.tab", d["TABFILE"])
        self.assertEqual(before, self.read(os.path.join(self.orfeon, "prv.tab")))

    def test_save_as_rereads_the_current_tablature_and_keeps_the_encoding(self):
        piece = self.host("pièce.tab", "récit\r\n")
        copy = os.path.join(self.root, "copie")
        self.run_window(["file " + piece, "command 24332", "wait 300", "key ctrl+End", "type zz",
                         "wait 300", "file " + copy, "command 24334", "wait 300", "dump saved"])
        d = self.dump("saved")
        self.assertEqual(copy + ".txt", d["FILENAME"])
        self.assertEqual("0", d["MODIFIED"])
        self.assertEqual("récit\\n", d["TABTEXT"])
        self.assertEqual(piece, d["TABFILE"])
        self.assertEqual("récit\r\nzz".encode("cp1252"), self.read(copy + ".txt"))
        self.assertEqual([copy + ".txt", piece], self.recent())

    def test_failed_save_and_oversized_open_are_said(self):
        # Saving onto a link someone planted fails and says so; the file the
        # link names stays as it was. A file over 1 Mo is not opened.
        outside = self.host("outside.txt", "not ours")
        link = os.path.join(self.root, "lien.txt")
        os.symlink(outside, link)
        big = self.host("grand.txt", "x" * ((1 << 20) + 1))
        log = self.run_window(["type abc", "wait 300", "file " + link, "command 24334", "wait 300",
                               "dump after", "answer 7", "file " + big, "command 24332", "wait 300",
                               "dump big"])
        self.assertIn("BOX\tINFO\timpossible d'écrire\t%s\\naccès refusé\t1" % link, log)
        self.assertEqual("1", self.dump("after")["MODIFIED"])
        self.assertEqual(b"not ours", self.read(outside))
        self.assertTrue(os.path.islink(link))
        self.assertIn("BOX\tINFO\timpossible d'ouvrir en lecture\t%s\\nle fichier dépasse 1 Mo\t1" % big, log)
        self.assertEqual("abc", self.dump("big")["EDITOR"])

    def test_change_question_before_discarding(self):
        os.makedirs(ARTEFACTS, exist_ok=True)
        shot = os.path.join(ARTEFACTS, "question-box.png")
        log = self.run_window(["type abc", "wait 300", "answer show", "command 24331", "waitbox",
                               "wait 300", "screenshot " + shot, "key Escape", "wait 300",
                               "dump kept", "answer 7", "command 24331", "wait 300", "dump new"])
        question = ("BOX\tASK\tPavane environnement midi\tLe texte du fichier Document a changé."
                    "\\n\\nVoulez-vous sauvegarder les modifications?\t")
        self.assertIn(question + "2", log, "Escape answers Cancel")
        self.assertIn(question + "7", log)
        self.assertEqual("abc", self.dump("kept")["EDITOR"])
        self.assertEqual("", self.dump("new")["EDITOR"])
        self.assertTrue(os.path.getsize(shot) > 0)

    def test_clipboard_text_of_another_program(self):
        xclip = shutil.which("xclip")
        if not xclip:
            self.skipTest("xclip is not installed")
        # Put there in UTF-8 by another program; the window reads it itself,
        # with no clipboard tool within reach.
        offer = "printf 'r\\303\\251 mi' | %s -selection clipboard -i >/dev/null 2>&1" % xclip
        log = self.run_window(["answer 2", "command 611", "wait 500"], prelude=offer)
        self.assertIn("BOX\tASK\toui=jouer presse papier non=jouer et sauvegarder escape = quitter"
                      "\tré mi\\n\t2", log)


if __name__ == "__main__":
    if not xvfb_available():
        print("xvfb-run is not installed: window tests skipped")
        sys.exit(77)
    pavsdi.main()
